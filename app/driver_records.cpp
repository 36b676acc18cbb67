#include "app/driver_records.h"

#include <cstdio>
#include <cstring>
#include <deque>

#include "base/log.h"

DriverRecord* driverList = nullptr;

namespace {

// The records' storage: a deque never moves what it holds.
std::deque<DriverRecord>& driverRecords() {
    static std::deque<DriverRecord> records;
    return records;
}

std::deque<ModeRecord>& modeRecords() {
    static std::deque<ModeRecord> records;
    return records;
}

template <typename Record>
void appendAtTail(Record** head, Record* record) {
    while (*head != nullptr) head = &(*head)->next;
    *head = record;
}

// Names longer than the field are cut to fit with their terminator.
template <size_t size>
void copyText(char (&field)[size], const char* text) {
    std::strncpy(field, text != nullptr ? text : "", size - 1);
    field[size - 1] = '\0';
}

void announce(const DriverRecord& record) {
    OutputDebugStringA("Driver Ddraw");
    OutputDebugStringA(record.name);
    OutputDebugStringA(" - ");
    OutputDebugStringA(record.description);
    OutputDebugStringA("\n");
    logWrite(record.name);
    logWrite2(record.description, "\n");
    logFormat("%s", "enumerating video mode :\n");
}

}  // namespace

BOOL CALLBACK driverCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context, HMONITOR) {
    IDirectDraw7* driver = nullptr;
    HRESULT created = DirectDrawCreateEx(guid, reinterpret_cast<LPVOID*>(&driver), IID_IDirectDraw7, nullptr);
    DriverRecord& record = driverRecords().emplace_back();
    copyText(record.name, name);
    copyText(record.description, description);
    if (guid != nullptr) {
        record.guidCopy = *guid;
        record.guid = &record.guidCopy;
    }
    appendAtTail(static_cast<DriverRecord**>(context), &record);
    announce(record);
    if (FAILED(created) || driver == nullptr) return TRUE;
    driver->EnumDisplayModes(0, nullptr, &record.modes, modeCallback);
    driver->Release();
    return TRUE;
}

HRESULT CALLBACK modeCallback(LPDDSURFACEDESC2 mode, LPVOID context) {
    if (mode->ddpfPixelFormat.dwRGBBitCount == 8) return DDENUMRET_OK;
    ModeRecord& record = modeRecords().emplace_back();
    record.height = static_cast<int32_t>(mode->dwHeight);
    record.width = static_cast<int32_t>(mode->dwWidth);
    record.bitDepth = static_cast<int32_t>(mode->ddpfPixelFormat.dwRGBBitCount);
    std::snprintf(record.label, sizeof record.label, "%dx%dx%d ", record.width, record.height, record.bitDepth);
    OutputDebugStringA(record.label);
    OutputDebugStringA("\n");
    appendAtTail(static_cast<ModeRecord**>(context), &record);
    logFormat("%s\n", record.label);
    return DDENUMRET_OK;
}
