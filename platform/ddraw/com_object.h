#pragma once
// The base of every DirectDraw / Direct3D object of the layer: COM reference
// counting, the shared display context, and the call record.
// Internal to the platform layer.

#include <memory>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/ddraw/bit_cast.h"
#include "platform/ddraw/call_watch.h"
#include "platform/ddraw/ddraw_backend.h"

namespace platform {

// What all objects made by one DirectDraw object share. The driver lives as
// long as any of them; the display itself is given back when the DirectDraw
// object goes, and from then on its other objects refuse every call.
struct DisplayContext {
    DisplayContext(std::shared_ptr<Driver> driver, std::shared_ptr<CallWatch> watch);

    std::shared_ptr<Driver> driver;
    std::shared_ptr<CallWatch> watch;  // none: calls go unwatched
    bool open = true;
    bool exclusive = false;  // full-screen exclusive cooperative level
    DisplayMode mode{};      // what the display shows now
    std::weak_ptr<SurfaceStore> primary;
};

// Released objects keep their small shell until the process ends, so a stale
// call finds it dead and gets DDERR_INVALIDOBJECT instead of freed memory.
class ComShell {
public:
    virtual ~ComShell() = default;
};
void keepShell(std::unique_ptr<ComShell> shell);

template <typename Object, typename... Arguments>
Object* createObject(Arguments&&... arguments) {
    auto object = std::make_unique<Object>(std::forward<Arguments>(arguments)...);
    Object* created = object.get();
    keepShell(std::move(object));
    return created;
}

template <typename Value>
uint64_t recordedValue(Value value) {
    if constexpr (std::is_same_v<Value, float>)
        return bitCast<uint32_t>(value);
    else if constexpr (std::is_pointer_v<Value>)
        return reinterpret_cast<uintptr_t>(value);
    else
        return static_cast<uint64_t>(value);
}

template <typename Record>
std::span<const uint8_t> bytesOf(const Record* records, size_t count = 1) {
    if (records == nullptr) return {};
    return {reinterpret_cast<const uint8_t*>(records), sizeof(Record) * count};
}

template <typename Interface>
class ComObject : public Interface, public ComShell {
public:
    ComObject(const char* interfaceName, std::shared_ptr<DisplayContext> context)
        : interfaceName(interfaceName), context(std::move(context)) {}

    ULONG WINAPI AddRef() override { return references == 0 ? 0 : ++references; }

    ULONG WINAPI Release() override {
        if (references == 0) return 0;
        record("Release", {});
        if (--references > 0) return references;
        releaseResources();
        context.reset();
        return 0;
    }

protected:
    // Drops what the object holds once its last reference is gone.
    virtual void releaseResources() = 0;

    // Every method starts here: records the call, then refuses it when the
    // object is dead or its DirectDraw object gone, or when its watch was told
    // to fail it. Returns DD_OK to go on.
    template <typename... Values>
    HRESULT enter(const char* method, std::span<const uint8_t> payload, Values... values) {
        if (references == 0) return DDERR_INVALIDOBJECT;
        record(method, payload, values...);
        if (!context->open) return DDERR_INVALIDOBJECT;
        if (context->watch == nullptr) return DD_OK;
        return context->watch->injectedFailure(method).value_or(DD_OK);
    }

    Driver& driver() const { return *context->driver; }
    bool keepsDrawnVertices() const { return context->watch != nullptr && context->watch->keepsDrawnVertices(); }

    // QueryInterface of an object that answers to its own interface and IUnknown.
    HRESULT queryOwnInterface(REFIID iid, void** object, const IID& own) {
        if (HRESULT refused = enter("QueryInterface", {}); FAILED(refused)) return refused;
        if (object == nullptr) return DDERR_INVALIDPARAMS;
        *object = nullptr;
        if (!(iid == own) && !(iid == IID_IUnknown)) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<Interface*>(this);
        return DD_OK;
    }

    const char* interfaceName;
    std::shared_ptr<DisplayContext> context;
    ULONG references = 1;

private:
    template <typename... Values>
    void record(const char* method, std::span<const uint8_t> payload, Values... values) {
        if (context->watch == nullptr) return;
        context->watch->record(RecordedCall{
            interfaceName, method, {recordedValue(values)...}, std::vector<uint8_t>(payload.begin(), payload.end())});
    }
};

}  // namespace platform
