#include "tests/e2e/ScreenCapture.h"

#include <algorithm>
#include <fstream>

#include "tests/e2e/DriverError.h"

namespace e2e {

std::vector<DWORD> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const DWORD*>(bits), pixels.size(), pixels.begin());
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!bitmap) throw DriverError("cannot make a bitmap to read the screen into");
  return pixels;
}

void SaveWindowImage(HWND window, const std::filesystem::path& file) {
  RECT area{};
  if (!GetWindowRect(window, &area)) throw DriverError("no window to take a picture of");
  std::vector<DWORD> pixels = CaptureScreen(area);
  // The screen leaves the fourth byte 0, which some viewers take for full transparency.
  for (DWORD& pixel : pixels) pixel |= 0xFF000000u;
  const LONG width = area.right - area.left;
  const LONG height = area.bottom - area.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  const DWORD dataSize = static_cast<DWORD>(pixels.size() * sizeof(DWORD));
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + dataSize;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels.data()), dataSize);
  if (!out) throw DriverError("cannot write the picture " + file.string());
}

}  // namespace e2e
