#pragma once
// The six ways the demo moves and fades its title images. Each rewrites every
// allocated entry of the overlay's four tables, positions and colour.
//
// Their arithmetic is that of the demo as first shipped, so that every table
// comes out to the same bits: the phase p and angle t are floats carried from
// entry to entry, each step added in double; sines and cosines are the C
// library's double functions of the float promoted; products and sums of them
// are taken in long double and stored as floats.

#include <cstdint>

class Overlay;

// Grey g | g << 8 | g << 16 with g = trunc(intensity x 255), the intensity
// clamped to 0..1; alpha byte 0.
uint32_t greyLevel(float intensity);

// A panel over the top-left 80 % of the screen, fading in over 50 frames and
// out over the last nine.
void fadePanel(Overlay& overlay);
// Full screen with slanted top and left edges; the colour of fadePanel.
void fadeSkewed(Overlay& overlay);
// The top-left quarter, circling, flashing about every 7.85 frames.
void pulseTopLeft(Overlay& overlay);
// The bottom-right quarter, circling wider, pulsing about every 31.4 frames.
void pulseBottomRight(Overlay& overlay);
// Full width, centred, its height 1 + 2 cos t screens: it flips upside down.
void swingVertical(Overlay& overlay);
// The bottom half, from black to (duration - 1) / duration of full brightness.
void fadeInBottom(Overlay& overlay);
