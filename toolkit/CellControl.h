#pragma once
#include <windows.h>

#include <string>

#include "toolkit/Drawing.h"
#include "toolkit/PanelChildren.h"

namespace LumoUtility {

// One cell of a grid: a small window of its own that paints its text, an optional "*"
// marker and an optional picture whose pure black pixels are transparent.
class CellControl : public PanelChildren {
 public:
  explicit CellControl(GUIElement* parentElement);

  void SetText(const std::wstring& newText) override;
  void SetText(const std::string& newText) override;
  // The picture is not owned. alignment: kAlignRight, kAlignCentre, anything else left.
  void SetImage(HBITMAP picture, int alignment, int pictureWidth, int pictureHeight);
  void OnPaint() override;

  // Paints the cell's content into a drawing of the given size; WM_PAINT and tests use it.
  void Paint(Drawing& drawing, int cellWidth, int cellHeight);

  HBITMAP image = nullptr;
  int imageAlignment = kAlignRight;
  int imageWidth = 0;
  int imageHeight = 0;
  bool showMarker = false;
  bool bold = false;
  bool underline = false;
  bool italic = false;
  std::string faceName = "Tahoma";
  int fontHeight = 14;
  int textAlignment = kAlignCentre;
  int textColour = 0;

 private:
  void Repaint();
};

}  // namespace LumoUtility
