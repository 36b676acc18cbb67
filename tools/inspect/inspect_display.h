#pragma once
// The display as the demo brings it up (640 x 480 x 16), on the null or the
// capture driver; released at the end of the scope as the demo's teardown does.

#include "platform/directx.h"
#include "render/renderer.h"

class Display {
public:
    explicit Display(const GUID& driver);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    Renderer renderer;
};
