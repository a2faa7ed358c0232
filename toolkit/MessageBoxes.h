#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace LumoUtility {

// Task-modal message boxes: text first, caption second, with or without an owner window.
void ShowMessage(const std::string& text, const std::string& caption, HWND owner = nullptr);
void ShowError(const std::string& text, const std::string& caption, HWND owner = nullptr);
void ShowInfo(const std::string& text, const std::string& caption, HWND owner);
// True when the user chose Yes.
bool AskYesNo(const std::string& text, const std::string& caption, HWND owner = nullptr);

// Every box goes through one replaceable presenter, so that tests can see what would be
// shown and give the answer instead of blocking on a real box.
struct MessageBoxRequest {
  HWND owner;
  std::string text;
  std::string caption;
  unsigned style;
};
using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// Installs a presenter and returns the previous one; an empty one restores real boxes.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

// The real box: MessageBoxW with the widened text.
int PresentMessageBox(const MessageBoxRequest& request);

}  // namespace LumoUtility
