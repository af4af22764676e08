#include "ui/win32/pictures.h"

#include <wincodec.h>

#include <algorithm>
#include <cmath>

namespace ftvb::ui::win32 {
namespace {

template <typename Interface>
struct Com {
    Interface* p = nullptr;
    ~Com() {
        if (p != nullptr) p->Release();
    }
    Interface** out() { return &p; }
    Interface* operator->() const { return p; }
};

bool decodePng(const void* bytes, DWORD size, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out())))) {
        return false;
    }
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICBitmapSource> converted;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.p, converted.out()))) {
        return false;
    }
    UINT w = 0;
    UINT h = 0;
    if (FAILED(converted->GetSize(&w, &h)) || w == 0 || h == 0) return false;
    pixels.assign(std::size_t(w) * h, 0);
    if (FAILED(
            converted->CopyPixels(nullptr, w * 4, UINT(pixels.size() * 4), reinterpret_cast<BYTE*>(pixels.data())))) {
        return false;
    }
    width = int(w);
    height = int(h);
    return true;
}

// How much of each source pixel falls into each of `count` new pixels
// across `length` old ones: spans of (first pixel, weights).
struct Span {
    int first;
    std::vector<double> weights;
};

std::vector<Span> spans(int length, int count) {
    std::vector<Span> out(static_cast<std::size_t>(count));
    const double step = double(length) / count;
    for (int i = 0; i < count; ++i) {
        const double from = i * step;
        const double to = from + step;
        Span& span = out[std::size_t(i)];
        span.first = int(std::floor(from));
        for (int p = span.first; p < length && p < to; ++p) {
            const double covered = std::min(to, p + 1.0) - std::max(from, double(p));
            span.weights.push_back(covered / step);
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint32_t> resample(const std::vector<std::uint32_t>& pixels, int width, int height, int newWidth,
                                    int newHeight) {
    const std::vector<Span> across = spans(width, newWidth);
    const std::vector<Span> down = spans(height, newHeight);
    // First across each row, into four channels of doubles, then down.
    std::vector<double> rows(std::size_t(newWidth) * height * 4, 0.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            const Span& span = across[std::size_t(x)];
            double* sum = &rows[(std::size_t(y) * newWidth + x) * 4];
            for (std::size_t k = 0; k < span.weights.size(); ++k) {
                const std::uint32_t pixel = pixels[std::size_t(y) * width + span.first + k];
                for (int c = 0; c < 4; ++c) sum[c] += span.weights[k] * ((pixel >> (8 * c)) & 0xFF);
            }
        }
    }
    std::vector<std::uint32_t> out(std::size_t(newWidth) * newHeight, 0);
    for (int y = 0; y < newHeight; ++y) {
        const Span& span = down[std::size_t(y)];
        for (int x = 0; x < newWidth; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < span.weights.size(); ++k) {
                const double* row = &rows[((span.first + k) * newWidth + x) * 4];
                for (int c = 0; c < 4; ++c) sum[c] += span.weights[k] * row[c];
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                pixel |= std::uint32_t(std::clamp(std::lround(sum[c]), 0L, 255L)) << (8 * c);
            }
            out[std::size_t(y) * newWidth + x] = pixel;
        }
    }
    return out;
}

Picture::Picture(const wchar_t* resource) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, resource, MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || !decodePng(bytes, SizeofResource(module, found), pixels_, width_, height_)) {
        pixels_.clear();
        width_ = height_ = 0;
    }
}

Picture::~Picture() {
    if (scaled_ != nullptr) DeleteObject(scaled_);
}

void Picture::draw(HDC dc, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (pixels_.empty() || width <= 0 || height <= 0) return;
    if (scaled_ == nullptr || width != scaledWidth_ || height != scaledHeight_) {
        if (scaled_ != nullptr) DeleteObject(scaled_);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        scaled_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (scaled_ == nullptr) return;
        const std::vector<std::uint32_t> pixels = resample(pixels_, width_, height_, width, height);
        std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
        scaledWidth_ = width;
        scaledHeight_ = height;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, scaled_);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, area.left, area.top, width, height, memory, 0, 0, width, height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace ftvb::ui::win32
