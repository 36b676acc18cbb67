// DirectDraw's entry points: which drivers exist, and making a DirectDraw
// object on one of them.

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/ddraw/direct_draw_object.h"
#include "platform/ddraw/drivers.h"

namespace {

using platform::DriverKind;

constexpr GUID captureGuid = {0x6b766f72, 0x6361, 0x7074, {0x75, 0x72, 0x65, 0x00, 0x00, 0x00, 0x00, 0x01}};
constexpr GUID nullGuid = {0x6b766f72, 0x6e75, 0x6c6c, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};
constexpr GUID enhancedGuid = {0x6b766f72, 0x656e, 0x6863, {0x61, 0x6e, 0x63, 0x65, 0x64, 0x00, 0x00, 0x03}};

std::optional<DriverKind>& chosenPrimary() {
    static std::optional<DriverKind> kind;
    return kind;
}

// The drivers DirectDrawEnumerateExA lists, in this order; a driver joins the
// list with a row. The primary display driver has no GUID (whatever stands in
// for it, see setPrimaryDriver). The capture and null drivers show nothing on
// screen, so the launcher never offers them.
struct ListedDriver {
    const GUID* guid;
    const char* description;
    const char* name;
};

constexpr ListedDriver listedDrivers[] = {
    {nullptr, "Primary Display Driver", "display"},
    {&enhancedGuid, "Enhanced Display Driver", "enhanced"},
};

// DDCREATE_HARDWAREONLY and DDCREATE_EMULATIONONLY are small numbers passed in
// place of a GUID pointer; both mean the primary driver here.
std::optional<DriverKind> kindOf(const GUID* guid) {
    auto value = reinterpret_cast<uintptr_t>(guid);
    if (value <= 2) return platform::primaryDriver();
    if (*guid == captureGuid) return DriverKind::capture;
    if (*guid == nullGuid) return DriverKind::null;
    if (*guid == enhancedGuid) return DriverKind::enhanced;
    return std::nullopt;
}

std::shared_ptr<platform::Driver> makeDriver(DriverKind kind) {
    switch (kind) {
        case DriverKind::capture: return platform::makeCaptureDriver();
        case DriverKind::null: return platform::makeNullDriver();
        case DriverKind::enhanced: return platform::makeEnhancedDisplayDriver();
        default: return platform::makeDisplayDriver();
    }
}

}  // namespace

const GUID& platform::captureDriverGuid() { return captureGuid; }
const GUID& platform::nullDriverGuid() { return nullGuid; }
const GUID& platform::enhancedDriverGuid() { return enhancedGuid; }

void platform::setPrimaryDriver(DriverKind kind) { chosenPrimary() = kind; }

DriverKind platform::environmentDriver() {
    const char* name = std::getenv("KVOR_DRIVER");
    if (name == nullptr) return DriverKind::display;
    std::string_view wanted(name);
    if (wanted == "capture") return DriverKind::capture;
    if (wanted == "null") return DriverKind::null;
    return DriverKind::display;
}

DriverKind platform::primaryDriver() {
    if (!chosenPrimary()) chosenPrimary() = environmentDriver();
    return *chosenPrimary();
}

HRESULT WINAPI DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD) {
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    for (const ListedDriver& driver : listedDrivers) {
        // The enhanced driver draws on the display: listed only where the
        // primary driver is the display, not where a tool put another in its place.
        if (driver.guid == &enhancedGuid && platform::primaryDriver() != DriverKind::display) continue;
        GUID guid = driver.guid != nullptr ? *driver.guid : GUID{};
        char description[256] = {}, name[256] = {};
        std::strncpy(description, driver.description, sizeof description - 1);
        std::strncpy(name, driver.name, sizeof name - 1);
        if (!callback(driver.guid != nullptr ? &guid : nullptr, description, name, context, nullptr)) break;
    }
    return DD_OK;
}

HRESULT WINAPI DirectDrawCreateEx(GUID* guid, LPVOID* object, REFIID iid, IUnknown* outer) {
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (!(iid == IID_IDirectDraw7) || outer != nullptr) return DDERR_INVALIDPARAMS;
    std::optional<DriverKind> kind = kindOf(guid);
    if (!kind) return DDERR_INVALIDDIRECTDRAWGUID;
    std::shared_ptr<platform::Driver> driver = makeDriver(*kind);
    if (driver == nullptr) return DDERR_NODIRECTDRAWHW;
    std::shared_ptr<platform::CallWatch> watch = *kind == DriverKind::null ? platform::makeNullCallWatch() : nullptr;
    *object = static_cast<IDirectDraw7*>(
        platform::createObject<platform::DirectDrawObject>(std::move(driver), std::move(watch)));
    return DD_OK;
}
