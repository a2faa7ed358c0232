#include "tools/screenshots/ScreenCapture.h"

#include <cstdint>
#include <fstream>

#include "toolkit/GdiObjects.h"

namespace {

// BMP rows are padded to four bytes; a bottom-up 24-bit DIB has that layout already.
std::uint32_t RowBytes(int width) { return (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u; }

bool WriteBmp(const std::filesystem::path& file, const BITMAPINFOHEADER& header, const void* bits) {
  const std::uint32_t imageBytes =
      RowBytes(header.biWidth) * static_cast<std::uint32_t>(header.biHeight);
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fileHeader.bfSize = fileHeader.bfOffBits + imageBytes;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(static_cast<const char*>(bits), imageBytes);
  return static_cast<bool>(out);
}

}  // namespace

bool CaptureScreenArea(const RECT& area, const std::filesystem::path& bmpFile) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up, the BMP file order
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;

  LumoUtility::WindowDC screen(nullptr);
  LumoUtility::MemoryDC memory(screen.Get());
  void* bits = nullptr;
  LumoUtility::OwnedBitmap picture(
      CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen.Get() || !memory.Get() || !picture || !bits) return false;
  {
    LumoUtility::ObjectSelection selected(memory.Get(), picture.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY)) {
      return false;
    }
  }
  GdiFlush();
  return WriteBmp(bmpFile, info.bmiHeader, bits);
}

RECT ScreenAreaOf(HWND window, HWND alsoThis) {
  RECT area{};
  GetWindowRect(window, &area);
  if (alsoThis) {
    RECT other{};
    GetWindowRect(alsoThis, &other);
    UnionRect(&area, &area, &other);
  }
  return area;
}
