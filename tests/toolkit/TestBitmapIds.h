#pragma once

// Bitmap resources linked into the toolbar tests (made by tests/support/WriteTestBitmaps).
constexpr int kStripBitmapId = 2001;   // 48 x 16: red, green, blue images
constexpr int kMappedBitmapId = 2002;  // 16 x 16: magenta with a red square at 4..11
constexpr int kMaskColour = 0xFF00FF;  // magenta, 0x00BBGGRR
