// The window's pictures: the flags and the logo that the Qt window draws in
// code, kept as PNG resources drawn at four times their size at 96 DPI
// (ui/win32/resources, made by ftvb-pictures), and scaled down to the size
// each picture has at the window's DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace ftvb::ui::win32 {

class Picture {
public:
    // The PNG of an RCDATA resource of the program; a picture that cannot
    // be read draws nothing.
    explicit Picture(const wchar_t* resource);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Blends the picture, scaled to the rectangle, over what is there.
    void draw(HDC dc, const RECT& area);

private:
    std::vector<std::uint32_t> pixels_;  // premultiplied BGRA, row by row
    int width_ = 0;
    int height_ = 0;
    HBITMAP scaled_ = nullptr;
    int scaledWidth_ = 0;
    int scaledHeight_ = 0;
};

// Premultiplied BGRA pixels scaled by averaging the area each new pixel
// covers, so that a large drawing shrinks without jagged edges.
std::vector<std::uint32_t> resample(const std::vector<std::uint32_t>& pixels, int width, int height, int newWidth,
                                    int newHeight);

}  // namespace ftvb::ui::win32
