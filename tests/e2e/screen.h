#pragma once
// What is on the screen: pixels read back from the display, compared with icons drawn
// by the driver itself.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vyr::e2e {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;  // 0x00RRGGBB, rows top to bottom

    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y * width + x)]; }
};

// The screen's pixels inside a rectangle in screen coordinates.
Pixels captureScreen(const RECT& area);

// An icon drawn at size x size over a plain background.
Pixels drawIcon(HICON icon, int size, std::uint32_t background);

// Whether the icon, drawn at size x size, shows somewhere in the area: every pixel that
// the icon covers (the same over black and over white) must match exactly.
bool showsIcon(const Pixels& area, HICON icon, int size);

// Number of pixels that differ.
int difference(const Pixels& a, const Pixels& b);

}  // namespace vyr::e2e
