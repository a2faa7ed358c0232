#pragma once
#include <windows.h>

#include <filesystem>
#include <vector>

namespace e2e {

// The screen's pixels in the rectangle (screen coordinates), row by row from the top, as
// 0x00RRGGBB values. What is covered by another window reads as that window.
std::vector<DWORD> CaptureScreen(const RECT& area);

// Writes the window as it shows on screen, frame included, to a 32-bit BMP file (for
// screenshots of the program).
void SaveWindowImage(HWND window, const std::filesystem::path& file);

}  // namespace e2e
