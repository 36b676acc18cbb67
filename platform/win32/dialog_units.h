#pragma once
// Dialog units to pixels, as Windows converts them: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth
// of its height. The average width is that of the 52 letters A-Z a-z, rounded.

namespace platform {

struct DialogUnits {
    int baseWidth;   // pixels
    int baseHeight;  // pixels

    // MulDiv rounds half away from zero.
    int x(int units) const { return scaled(units, baseWidth, 4); }
    int y(int units) const { return scaled(units, baseHeight, 8); }

private:
    static int scaled(int units, int base, int divisor) {
        long product = static_cast<long>(units) * base;
        return static_cast<int>(product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor));
    }
};

// lettersWidth: the width in pixels of "A...Za...z"; height: the font's height.
inline DialogUnits baseUnits(int lettersWidth, int height) { return {(lettersWidth / 26 + 1) / 2, height}; }

}  // namespace platform
