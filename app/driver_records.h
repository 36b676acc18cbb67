#pragma once
// The DirectDraw drivers and their display modes as the launcher enumerates
// them: singly linked lists, each growing at its tail, never freed (deviceGuid
// points into a record for the rest of the process).

#include "platform/directx.h"
#include "platform/win32.h"

class ModeRecord {
public:
    virtual ~ModeRecord() = default;

    ModeRecord* next = nullptr;
    int32_t height = 0;
    int32_t width = 0;
    int32_t bitDepth = 0;
    char label[200] = {};  // "%dx%dx%d " of width, height and bit depth
};

class DriverRecord {
public:
    virtual ~DriverRecord() = default;

    char name[256] = {};
    char description[256] = {};  // shown in the launcher's list
    DriverRecord* next = nullptr;
    ModeRecord* modes = nullptr;
    GUID guidCopy = {};
    GUID* guid = nullptr;  // &guidCopy, or null for the primary display driver
};

// The head of the drivers, in enumeration order.
extern DriverRecord* driverList;

// DirectDrawEnumerateExA's callback; context is &driverList. Logs the driver
// and enumerates its modes. Always continues.
BOOL CALLBACK driverCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context, HMONITOR monitor);
// EnumDisplayModes's callback; context is &record->modes. Skips 8-bit modes.
HRESULT CALLBACK modeCallback(LPDDSURFACEDESC2 mode, LPVOID context);
