#include "toolkit/MessageBoxes.h"

#include <utility>

#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

MessageBoxPresenter& CurrentPresenter() {
  static MessageBoxPresenter presenter;
  return presenter;
}

int Present(HWND owner, const std::string& text, const std::string& caption, unsigned style) {
  MessageBoxRequest request{owner, text, caption, MB_TASKMODAL | style};
  const MessageBoxPresenter& presenter = CurrentPresenter();
  return presenter ? presenter(request) : PresentMessageBox(request);
}

}  // namespace

int PresentMessageBox(const MessageBoxRequest& request) {
  return MessageBoxW(request.owner, WidenText(request.text).c_str(),
                     WidenText(request.caption).c_str(), request.style);
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  return std::exchange(CurrentPresenter(), std::move(presenter));
}

void ShowMessage(const std::string& text, const std::string& caption, HWND owner) {
  Present(owner, text, caption, 0);
}

void ShowError(const std::string& text, const std::string& caption, HWND owner) {
  Present(owner, text, caption, MB_ICONERROR);
}

void ShowInfo(const std::string& text, const std::string& caption, HWND owner) {
  Present(owner, text, caption, MB_ICONINFORMATION);
}

bool AskYesNo(const std::string& text, const std::string& caption, HWND owner) {
  return Present(owner, text, caption, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

}  // namespace LumoUtility
