#pragma once
// What the platform layer provides on systems other than Windows: every Win32,
// DirectDraw and Direct3D entry point the engine may call, with the real
// signatures. The engine reaches this header only through platform/win32.h and
// platform/directx.h; it never sees how the layer is built.

#include "platform/ddraw/directx_types.h"
#include "platform/win32/win32_dialog_types.h"
#include "platform/win32/win32_types.h"
#include "platform/win32/win32_window_types.h"

// ---- Process ---------------------------------------------------------------
// Defined by the engine; the layer's main() calls it with the instance handle
// and the command line (the arguments after the program name, joined by blanks).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

// ---- Kernel ----------------------------------------------------------------
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR pathName);
void WINAPI GetLocalTime(LPSYSTEMTIME systemTime);
// Standard error when KVOR_DEBUG_OUTPUT is set; always the test seam of
// platform/test_seams.h.
void WINAPI OutputDebugStringA(LPCSTR text);

// ---- User ------------------------------------------------------------------
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Modal dialogs from the program's dialog resources, and their controls.
// DialogBoxParamA answers -1 when the dialog cannot be shown (no such resource,
// or no window system to show it on).
INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                               LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA openFileName);

// Window classes and windows. Class names compare without regard to case.
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI UpdateWindow(HWND window);
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);
HCURSOR WINAPI SetCursor(HCURSOR cursor);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HMENU WINAPI LoadMenuA(HINSTANCE instance, LPCSTR name);
HGDIOBJ WINAPI GetStockObject(int object);

// The thread's message queue. Posted messages come first, then the window
// system's input, then WM_QUIT, then WM_PAINT for a visible window whose paint
// region was never validated. GetMessageA waits while a window system can still
// deliver something; with none, an empty queue answers -1 instead of waiting
// forever.
BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT firstMessage, UINT lastMessage);
BOOL WINAPI TranslateMessage(const MSG* message);
LRESULT WINAPI DispatchMessageA(const MSG* message);
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);
// The first window of that class (any case) and title; null matches any. The
// class "Winamp v1.x" with no title finds the music player instead: a handle
// that SendMessageA's WM_COMMAND 40058 (volume up 0.01), 40059 (volume down
// 0.01), 40045 (play) and 40001 (close the player) reach; null when no player
// runs. By default that is a player on the D-Bus session bus through MPRIS
// (KVOR_PLAYER names it); a tool installs its own through platform/player_link.h.
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);

// ---- DirectDraw ------------------------------------------------------------
// Lists the primary display driver (GUID none); see platform/tool_interface.h for the
// other drivers and how a tool puts one in its place.
HRESULT WINAPI DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags);
// guid null: the primary display driver. iid must be IID_IDirectDraw7.
HRESULT WINAPI DirectDrawCreateEx(GUID* guid, LPVOID* object, REFIID iid, IUnknown* outer);
