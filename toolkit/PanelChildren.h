#pragma once
#include <windows.h>

#include <string>

#include "toolkit/Child.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/WindowClassRegistration.h"

namespace LumoUtility {

class PanelChildren;

using ScrollCallback = void (*)(PanelChildren* panel, int delta);

// The toolkit's own child window: a rectangle with a window class of its own
// ("PanelChildren" + the id counter), optional border and scroll bars, whose colours also
// serve the standard controls placed on it.
class PanelChildren : public Child {
 public:
  explicit PanelChildren(GUIElement* parentElement);
  ~PanelChildren() override;

  HBRUSH GetBackgroundBrush(HDC dc) override;
  void Create() override;

  void SetBorder(bool show);
  void SetVerticalScrollBar(bool show);
  void SetHorizontalScrollBar(bool show);
  void SetScrollRange(int minimum, int maximum);
  void SetHorizontalExtent(int extent);

  const WindowClassRegistration& ClassRegistration() const { return classRegistration_; }

  std::string tag;
  ScrollCallback onVerticalScroll = nullptr;
  ScrollCallback onHorizontalScroll = nullptr;
  bool border = false;
  bool flatBorder = false;
  bool verticalScrollBar = false;
  bool horizontalScrollBar = false;
  int scrollMin = 0;
  int scrollMax = 100;
  bool tabStop = true;
  OwnedBrush childBrush;
  int childTextColour = kNoColour;
  int childBackColour = kNoColour;

 protected:
  // Window styles from the current settings.
  DWORD PanelStyle() const;
  DWORD PanelExtendedStyle() const;

 private:
  void ApplyStyle();

  WindowClassRegistration classRegistration_;
  int childBrushColour_ = kNoColour;  // colour the cached child brush was made with
};

}  // namespace LumoUtility
