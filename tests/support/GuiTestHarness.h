#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Child.h"
#include "toolkit/FormHandlers.h"
#include "toolkit/ToolkitState.h"

// Helpers for tests that drive real toolkit windows under Wine on the test's own thread.

// The module of the test program, as forms want it.
HINSTANCE TestInstance();

// Dispatches this thread's queued messages (a quit message is dropped, so that a test's
// main window may end without stopping later pumps), until the condition holds or the
// time runs out; answers whether the condition held. PumpMessagesFor just waits.
bool PumpMessagesUntil(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::seconds(3));
void PumpMessagesFor(std::chrono::milliseconds duration);

// Clears the toolkit-wide state for one test and puts it back to "nothing" afterwards,
// dropping any quit message the test's forms posted.
class ToolkitStateScope {
 public:
  ToolkitStateScope();
  ~ToolkitStateScope();
  ToolkitStateScope(const ToolkitStateScope&) = delete;
  ToolkitStateScope& operator=(const ToolkitStateScope&) = delete;
};

// Unblocks RunMessageLoop after a time by posting the quit message itself, and tells
// whether it had to: a loop that ended on its own leaves Fired() false.
class LoopDeadline {
 public:
  explicit LoopDeadline(std::chrono::milliseconds timeout);
  ~LoopDeadline();
  LoopDeadline(const LoopDeadline&) = delete;
  LoopDeadline& operator=(const LoopDeadline&) = delete;
  bool Fired() const;

 private:
  UINT_PTR timer_;
};

// A form whose handlers record what reached them; tests set the reactions they need.
class RecordingForm : public LumoUtility::FormHandlers {
 public:
  explicit RecordingForm(bool isToolWindow = false);
  ~RecordingForm() override;

  void BuildControls() override;
  bool OnClosing() override;
  void OnCommand(LumoUtility::GUIElement* element) override;

  std::function<void(RecordingForm&)> buildControls;
  std::function<bool()> closing;
  int buildCount = 0;
  int closingCount = 0;
  std::vector<LumoUtility::GUIElement*> commands;
  // Seen inside BuildControls.
  HWND windowDuringBuild = nullptr;
  bool createdDuringBuild = true;
  bool visibleDuringBuild = true;  // a captioned form is shown once its creation returns
};

// A standard control ("edit", "static", "Button", ...) made the way every toolkit control
// is made, for tests that need a subclassed child window.
class TestControl : public LumoUtility::Child {
 public:
  TestControl(LumoUtility::GUIElement* parentElement, std::wstring windowClassName,
              DWORD controlStyle, const std::string& typeTag = "");
  void Create() override;

  std::wstring className;
  DWORD style;
};

// A 32-bit memory bitmap selected into a memory context, for painting and reading pixels.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height, COLORREF fill);
  ~PixelCanvas();
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  HDC Context() const { return dc_; }
  COLORREF Pixel(int x, int y) const;
  // Pixels in the rectangle whose colour is not the given one.
  int CountNot(COLORREF colour, const RECT& area) const;
  int CountOf(COLORREF colour, const RECT& area) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  int width_;
  int height_;
};

// A device-dependent bitmap of the given size painted with one colour, with an optional
// rectangle in another colour.
HBITMAP MakeSolidBitmap(int width, int height, COLORREF colour, const RECT* inner = nullptr,
                        COLORREF innerColour = 0);

// The text a tooltip control holds for the tool (window, id) ("" when it has none).
std::wstring ToolTipText(HWND tips, HWND window, UINT_PTR id);
