#include "toolkit/PanelScrolling.h"

#include "toolkit/PanelChildren.h"

namespace LumoUtility {
namespace {

int RequestedPosition(const SCROLLINFO& info, int bar, int request) {
  const int page = static_cast<int>(info.nPage);
  switch (request) {
    case SB_LINEUP: return info.nPos - 1;
    case SB_LINEDOWN: return info.nPos + 1;
    case SB_PAGEUP: return info.nPos - page;
    case SB_PAGEDOWN: return info.nPos + page;
    case SB_THUMBTRACK: return info.nTrackPos;
    // SB_TOP and SB_BOTTOM share their values with SB_LEFT and SB_RIGHT, which move
    // nothing on the horizontal bar.
    case SB_TOP: return bar == SB_VERT ? info.nMin : info.nPos;
    case SB_BOTTOM: return bar == SB_VERT ? info.nMax : info.nPos;
    default: return info.nPos;  // SB_THUMBPOSITION, SB_ENDSCROLL
  }
}

void MoveTo(PanelChildren& panel, int bar, int oldPosition, int requested) {
  SCROLLINFO position{};
  position.cbSize = sizeof position;
  position.fMask = SIF_POS;
  position.nPos = requested;
  SetScrollInfo(panel.window, bar, &position, TRUE);
  SCROLLINFO after{};
  after.cbSize = sizeof after;
  after.fMask = SIF_POS;
  GetScrollInfo(panel.window, bar, &after);
  const int clamped = after.nPos;
  if (clamped != oldPosition) {
    if (bar == SB_VERT) {
      ScrollWindow(panel.window, 0, oldPosition - clamped, nullptr, nullptr);
    } else {
      ScrollWindow(panel.window, oldPosition - clamped, 0, nullptr, nullptr);
    }
    UpdateWindow(panel.window);
  }
  if (requested != oldPosition) {
    ScrollCallback callback = bar == SB_VERT ? panel.onVerticalScroll : panel.onHorizontalScroll;
    if (callback) callback(&panel, oldPosition - requested);
  }
}

}  // namespace

void ScrollPanelByRequest(PanelChildren& panel, int bar, int request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(panel.window, bar, &info);
  MoveTo(panel, bar, info.nPos, RequestedPosition(info, bar, request));
}

void ScrollPanelByWheel(PanelChildren& panel, int wheelDelta) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(panel.window, SB_VERT, &info);
  const int page = static_cast<int>(info.nPage);
  MoveTo(panel, SB_VERT, info.nPos, wheelDelta > 0 ? info.nPos - page : info.nPos + page);
}

}  // namespace LumoUtility
