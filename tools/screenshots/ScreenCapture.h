#pragma once
#include <windows.h>

#include <filesystem>

// Copies a rectangle of the screen, as the user sees it (frames, menus and message
// boxes included), into a 24-bit BMP file. Under Wine the screen is the virtual desktop.
bool CaptureScreenArea(const RECT& area, const std::filesystem::path& bmpFile);

// The window's rectangle on the screen; with a second window, the smallest rectangle
// that holds both (a window and the pop-up that belongs to it).
RECT ScreenAreaOf(HWND window, HWND alsoThis = nullptr);
