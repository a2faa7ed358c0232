#pragma once

// The program's resources (app/Resources.rc.in), shared by the forms of the toolkit and
// the screens.
constexpr int kProgramIconId = 1005;       // icon group: 16, 32 and 48 pixels
constexpr int kBackgroundBitmapId = 1006;  // 800 x 575, the main window's picture
constexpr int kToolbarStripId = 1007;      // four 16 x 16 toolbar images
constexpr int kInOrderIconId = 1008;       // 20 x 20 green face on black
constexpr int kDueIconId = 1009;           // 20 x 20 red face on black
