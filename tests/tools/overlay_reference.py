#!/usr/bin/env python3
"""An independent reading of the overlay effects: the corner tables and the
draws of one overlay, printed as kvor-inspect overlay prints them.

usage: overlay_reference.py EFFECT DURATION START [FRAME...]

The arithmetic follows the rules the demo's tables were made with: floats
carried from entry to entry with each step added in double, the C library's
double sine and cosine, products and sums of them in the x87's 80-bit
extended precision, every table value stored as a float. Python has doubles
only, so the extended and single roundings are done here on exact fractions.
"""

import math
import sys
from fractions import Fraction


def rounded(value, bits):
    """value (a Fraction) to the nearest number of `bits` significant bits, ties to even."""
    if value == 0:
        return Fraction(0)
    sign = -1 if value < 0 else 1
    value = abs(value)
    exponent = math.floor(math.log2(value.numerator) - math.log2(value.denominator))
    # log2 of a ratio may be off by one near a power of two: settle it exactly.
    while Fraction(2) ** exponent > value:
        exponent -= 1
    while Fraction(2) ** (exponent + 1) <= value:
        exponent += 1
    scale = Fraction(2) ** (bits - 1 - exponent)
    scaled = value * scale
    whole = math.floor(scaled)
    rest = scaled - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    return sign * Fraction(whole) / scale


def ext(value):
    return rounded(Fraction(value), 64)


def f32(value):
    return float(rounded(Fraction(value), 24))


def exact(value):
    return Fraction(value)


def grey_level(intensity):
    intensity = min(intensity, 1.0)
    if not intensity > 0.0:
        intensity = 0.0
    g = int(intensity * 255.0)
    return g | g << 8 | g << 16


def grey(g):
    return g | g << 8 | g << 16


START_PHASE = f32(-1.57)
WHITE = 0xFFFFFFFF


def quad(x0, y0, x1, y1, x2, y2, x3, y3, colour):
    return [[x0, y0, colour], [x1, y1, colour], [x2, y2, colour], [x3, y3, colour]]


def default_path(duration):
    entries = []
    for j in range(duration):
        dx = ext(exact(0.0125) * exact(math.cos(float(j))))
        dy = ext(exact(0.0125) * exact(math.sin(float(j))))
        low_x, high_x = f32(ext(exact(0.3) + dx)), f32(ext(exact(0.7) + dx))
        low_y, high_y = f32(ext(exact(0.3) + dy)), f32(ext(exact(0.7) + dy))
        entries.append(quad(low_x, low_y, low_x, high_y, high_x, high_y, high_x, low_y, WHITE))
    return entries


def fade_in_out(j, duration):
    if j > duration - 10:
        g = int(f32(exact(f32(duration - j)) * exact(f32(25.6))))
        return grey(max(0, min(255, g)))
    if j < 50:
        return grey(int(j * f32(5.12)))
    return WHITE


def fixed_fading(duration, corners):
    return [quad(*corners, fade_in_out(j, duration)) for j in range(duration)]


def pulsing_quarter(duration, left, top, radius, phase_step):
    entries = []
    p, t = START_PHASE, 0.0
    for _ in range(duration):
        b = f32(ext(ext(exact(math.sin(p)) + 1) * Fraction(1, 2)))
        colour = grey_level(b)
        p = f32(p + phase_step)
        dx = ext(exact(radius) * exact(math.cos(t)))
        dy = ext(exact(radius) * exact(math.sin(t)))
        l, r = f32(ext(exact(left) + dx)), f32(ext(ext(exact(left) + Fraction(1, 2)) + dx))
        u, d = f32(ext(exact(top) + dy)), f32(ext(ext(exact(top) + Fraction(1, 2)) + dy))
        entries.append(quad(l, u, l, d, r, d, r, u, colour))
        t = f32(t + 1.0)
    return entries


def swing_vertical(duration):
    entries = []
    p, t = START_PHASE, 0.0
    for _ in range(duration):
        b = f32(ext(ext(exact(math.sin(p)) * exact(0.3333333333333333)) + exact(0.5)))
        colour = grey_level(b)
        p = f32(p + 0.2)
        h = math.cos(t)
        top, bottom = f32(-h), f32(ext(1 + exact(h)))
        entries.append(quad(0.0, top, 0.0, bottom, 1.0, bottom, 1.0, top, colour))
        t = f32(t + 0.2)
    return entries


def fade_in_bottom(duration):
    return [quad(0.0, 0.5, 0.0, 1.0, 1.0, 1.0, 1.0, 0.5, grey_level(f32(exact(f32(j)) / exact(f32(duration)))))
            for j in range(duration)]


EFFECTS = {
    "defaultPath": default_path,
    "fadePanel": lambda n: fixed_fading(n, (0.0, 0.0, 0.0, f32(0.8), f32(0.8), f32(0.8), f32(0.8), 0.0)),
    "fadeSkewed": lambda n: fixed_fading(n, (0.0, 0.0, f32(0.2), 1.0, 1.0, 1.0, 1.0, f32(0.2))),
    "pulseTopLeft": lambda n: pulsing_quarter(n, 0.0, 0.0, 0.0125, 0.8),
    "pulseBottomRight": lambda n: pulsing_quarter(n, 0.5, 0.5, 0.02, 0.2),
    "swingVertical": swing_vertical,
    "fadeInBottom": fade_in_bottom,
}


def draw(entries, start, frame):
    age = frame - start
    if age < 0 or age >= len(entries):
        return None
    colour = entries[age][0][2]
    return [[f32(exact(640.0) * exact(x)), f32(exact(480.0) * exact(y)), colour] for x, y, _ in entries[age]]


def number(value):
    return "%.9g" % value if isinstance(value, float) else str(value)


def json_of(value):
    if value is None:
        return "null"
    if isinstance(value, list):
        return "[" + ",".join(json_of(item) for item in value) + "]"
    return number(value)


def main(arguments):
    effect, duration, start = arguments[0], int(arguments[1]), int(arguments[2])
    frames = [int(frame) for frame in arguments[3:]]
    entries = EFFECTS[effect](duration) if duration > 0 else []
    draws = ",".join('{"frame":%d,"vertices":%s}' % (frame, json_of(draw(entries, start, frame))) for frame in frames)
    print('{"effect":"%s","duration":%d,"start":%d,"entries":%s,"draws":[%s]}'
          % (effect, duration, start, json_of(entries), draws))


if __name__ == "__main__":
    main(sys.argv[1:])
