#include "screen.h"

namespace vyr::e2e {
namespace {

// A 32-bit top-down DIB section selected into a memory DC, released on destruction.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = ::CreateCompatibleDC(nullptr);
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = ::SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        ::SelectObject(dc_, previous_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Pixels pixels() const {
        ::GdiFlush();
        Pixels out{width_, height_, {}};
        const auto* words = static_cast<const std::uint32_t*>(bits_);
        out.rgb.assign(words, words + static_cast<std::size_t>(width_) * height_);
        for (std::uint32_t& p : out.rgb) p &= 0x00FFFFFF;
        return out;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    void* bits_ = nullptr;
};

COLORREF toColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

Pixels captureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Canvas canvas(width, height);
    const HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas.pixels();
}

Pixels drawIcon(HICON icon, int size, std::uint32_t background) {
    Canvas canvas(size, size);
    const HBRUSH brush = ::CreateSolidBrush(toColorRef(background));
    const RECT all{0, 0, size, size};
    ::FillRect(canvas.dc(), &all, brush);
    ::DeleteObject(brush);
    ::DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.pixels();
}

bool showsIcon(const Pixels& area, HICON icon, int size) {
    const Pixels onBlack = drawIcon(icon, size, 0x000000);
    const Pixels onWhite = drawIcon(icon, size, 0xFFFFFF);
    struct Covered {
        int x, y;
        std::uint32_t rgb;
    };
    std::vector<Covered> covered;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (onBlack.at(x, y) == onWhite.at(x, y)) covered.push_back({x, y, onBlack.at(x, y)});
        }
    }
    if (covered.empty()) return false;
    for (int top = 0; top + size <= area.height; ++top) {
        for (int left = 0; left + size <= area.width; ++left) {
            bool all = true;
            for (const Covered& c : covered) {
                if (area.at(left + c.x, top + c.y) != c.rgb) {
                    all = false;
                    break;
                }
            }
            if (all) return true;
        }
    }
    return false;
}

int difference(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    int count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) count += a.rgb[i] != b.rgb[i];
    return count;
}

}  // namespace vyr::e2e
