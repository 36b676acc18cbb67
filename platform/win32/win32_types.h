#pragma once
// Win32 base types and constants, with the sizes they have on Windows (DWORD and
// LONG are 32 bits even where long is 64), so records keep their real layouts.

#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define FAR

typedef int32_t HRESULT;
typedef int32_t BOOL;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef DWORD* LPDWORD;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;

// Handles are distinct pointer types, as with STRICT, so the compiler keeps a
// window from being passed where an instance is expected.
#define KVOR_DECLARE_HANDLE(name) \
    struct name##__;              \
    typedef name##__* name
KVOR_DECLARE_HANDLE(HWND);
KVOR_DECLARE_HANDLE(HINSTANCE);
KVOR_DECLARE_HANDLE(HMENU);
KVOR_DECLARE_HANDLE(HICON);
KVOR_DECLARE_HANDLE(HBRUSH);
KVOR_DECLARE_HANDLE(HMONITOR);
#undef KVOR_DECLARE_HANDLE
typedef HICON HCURSOR;
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID* LPGUID;
typedef const IID& REFIID;
typedef const GUID& REFGUID;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;  // 1 to 12
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

constexpr DWORD MAX_PATH = 260;

// MessageBoxA
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr int SW_SHOWDEFAULT = 10;
