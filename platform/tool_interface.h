#pragma once
// What tools and the programs built on the layer may ask of it beyond the Win32
// and DirectDraw entry points: which driver carries DirectDraw, what the null
// driver was given, and the frames the capture driver presents. The engine
// never includes this header: nothing here exists on Windows.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ddraw/render_output.h"
#include "platform/layer.h"

namespace platform {

// ---- Drivers ---------------------------------------------------------------
// Four DirectDraw drivers exist:
//   display   the primary display driver: an SDL2 window with an OpenGL context;
//   enhanced  the same window, the frame drawn at the window's resolution with
//             32-bit colour, 4x multisampling and linear texture filtering
//             (the engine still sees its 640 x 480 x 16 surfaces and formats);
//   capture   the same OpenGL renderer off screen; each Flip hands the frame to
//             the capture sink (below), authentic or enhanced (setCaptureFrame);
//   null      draws nothing; its lists come from its settings (tests set them
//             through platform/test_seams.h) and it records every call made
//             on its objects (below).
// DirectDrawEnumerateExA lists the primary display driver (GUID none) and,
// when that is the display, the enhanced one; DirectDrawCreateEx reaches enhanced, capture and null by their
// GUIDs at any time. GUID none means the primary driver: display unless a tool
// or test says otherwise with setPrimaryDriver, or the program was started
// with the environment variable KVOR_DRIVER set to "capture" or "null" (with
// "capture", KVOR_CAPTURE_DIRECTORY names the PNG directory, by default
// "frames" in the start directory).
enum class DriverKind { display, capture, null, enhanced };
const GUID& captureDriverGuid();
const GUID& nullDriverGuid();
const GUID& enhancedDriverGuid();
void setPrimaryDriver(DriverKind kind);
DriverKind primaryDriver();

// ---- Display window --------------------------------------------------------
// Keys a tool reads itself in the display driver's window, as Win32
// virtual-key codes with whether Shift is held; Escape and typed characters
// still reach the rendering window as WM_CHAR. Called while the window
// system's input is taken, inside GetMessageA. An empty hook stops it.
using KeyHook = std::function<void(int virtualKey, bool shift)>;
void setKeyHook(KeyHook hook);
// The display driver's window title, now and for windows opened later.
void setDisplayTitle(const std::string& title);

// ---- Null driver's record --------------------------------------------------
// One call on an object of the null driver, in call order, including calls
// that fail. Integer arguments as given, floats by their bit pattern, objects
// and windows by address (0 for none). payload holds the bytes a pointer
// argument gave: the description, viewport, matrix or material, the clear
// rectangles, or the vertices followed by the indices of a draw.
struct RecordedCall {
    std::string_view interfaceName;  // "IDirect3DDevice7"
    std::string_view method;         // "SetRenderState"
    std::vector<uint64_t> arguments;
    std::vector<uint8_t> payload;

    std::string text() const;  // "IDirect3DDevice7::SetRenderState(28, 1)"
    template <typename Record>
    std::vector<Record> payloadAs() const {
        std::vector<Record> records(payload.size() / sizeof(Record));
        if (!records.empty()) std::memcpy(records.data(), payload.data(), records.size() * sizeof(Record));
        return records;
    }
};
const std::vector<RecordedCall>& nullDriverCalls();
void clearNullDriverCalls();

// ---- Capture driver --------------------------------------------------------
// One presented frame: 8-bit RGB triples, rows top to bottom, each channel
// widened from the back buffer's RGB565 by replicating its top bits.
struct CapturedFrame {
    uint32_t index;  // frames the same DirectDraw object presented before this one
    uint32_t width;
    uint32_t height;
    std::vector<uint8_t> rgb;
};
// Given by value: a sink that keeps the frame takes it without a copy.
using FrameSink = std::function<void(CapturedFrame frame)>;
// Asked once per frame, in order, at the frame's first drawing call (or at its
// flip when nothing was drawn): whether the frame is kept. A frame refused is
// not drawn at all (the show's own work for it still runs), nor read back.
using FrameChoice = std::function<bool(uint32_t index)>;
using FrameNotice = std::function<void(uint32_t index)>;
// How the capture driver hands its frames over.
struct CaptureSink {
    FrameSink frames;     // the frames kept, in order; none: every frame is drawn and dropped
    FrameChoice wanted;   // none: every frame is kept
    FrameNotice flipped;  // told at every frame's flip, kept or not
    // Each kept frame is read back while the next one is drawn: the sink gets
    // frame n during the flip of frame n + 1, the last one when the DirectDraw
    // object is released.
    bool overlapped = false;
};
// The frame capture drivers made from now on draw: the enhanced one of that
// size, or (none) the authentic 640 x 480 x 16 one.
void setCaptureFrame(std::optional<EnhancedFrame> frame);
void setFrameCapture(CaptureSink capture);
// Every frame the capture driver presents (with a choice, those it wants)
// goes to sink during its flip; with no sink, frames are dropped.
void setCaptureSink(FrameSink sink, FrameChoice wanted = {});
// The file of frame N: "frame-000042.png" for frame 42.
std::string framePngName(uint32_t index);
// Writes each frame as an RGB PNG named framePngName(index) in directory
// (created now). A frame that cannot be written goes to cannotWrite, or
// without one to a line on standard error.
using WriteFailure = std::function<void(const std::filesystem::path& path)>;
FrameSink pngFrameSink(std::filesystem::path directory, WriteFailure cannotWrite = {});

}  // namespace platform
