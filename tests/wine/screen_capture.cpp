#include "screen_capture.h"

#include <fstream>

bool SaveScreenArea(const RECT &area, const std::string &path)
{
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up, as .bmp files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP image = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, image);
    const bool copied = image && BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();

    bool saved = false;
    if (copied) {
        const DWORD rowBytes = (width * 3 + 3) & ~3;
        const DWORD pixelBytes = rowBytes * height;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + pixelBytes;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char *>(&file), sizeof file);
        out.write(reinterpret_cast<const char *>(&header), sizeof header);
        out.write(static_cast<const char *>(bits), pixelBytes);
        saved = out.good();
    }
    SelectObject(memory, previous);
    if (image)
        DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
