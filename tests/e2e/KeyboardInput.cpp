// Real keyboard input for the program under test: SendInput, which Windows (and Wine)
// deliver to the foreground window's focus, exactly where a user's keys would go.
#include <windows.h>

#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

INPUT Key(WORD virtualKey, WORD character, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = character ? character : static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
  input.ki.dwFlags = flags;
  return input;
}

// Keys whose scan codes need the extended flag to be told from the keypad's.
bool Extended(WORD key) {
  for (int extended : {VK_INSERT, VK_DELETE, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_LEFT, VK_RIGHT,
                       VK_UP, VK_DOWN}) {
    if (key == extended) return true;
  }
  return false;
}

std::string KeyName(WORD key) {
  wchar_t name[64] = {};
  const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, 0)) << 16 | (Extended(key) ? 1 << 24 : 0);
  if (GetKeyNameTextW(scan, name, 64) > 0) return Utf8(name);
  return "key " + std::to_string(key);
}

}  // namespace

HWND UiDriver::Focused() {
  HWND foreground = GetForegroundWindow();
  DWORD owner = 0;
  const DWORD thread = GetWindowThreadProcessId(foreground, &owner);
  if (!foreground || owner != process_.Id()) return nullptr;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void UiDriver::WaitForFocus(HWND control, const std::string& what) {
  HWND focus = nullptr;
  try {
    WaitUntil([&] { return (focus = Focused()) == control; }, Timeout(), "the focus on " + what);
  } catch (const DriverError& error) {
    HWND foreground = GetForegroundWindow();
    throw DriverError(std::string(error.what()) + "; it is on " +
                      (focus ? Describe(focus) + " in " + Describe(GetAncestor(focus, GA_ROOT))
                             : "no window of the program (the foreground is " +
                                   (foreground ? Describe(foreground) : "nothing") + ")"));
  }
}

void UiDriver::SendKeyboardInput(std::vector<INPUT> events, const std::string& what) {
  HWND foreground = GetForegroundWindow();
  DWORD owner = 0;
  GetWindowThreadProcessId(foreground, &owner);
  if (!foreground || owner != process_.Id()) {
    throw DriverError(what + " not sent: the foreground window is " +
                      (foreground ? Describe(foreground) + ", not the program's" : "none"));
  }
  const UINT sent = SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
  if (sent != events.size()) {
    throw DriverError(what + ": SendInput took " + std::to_string(sent) + " of " +
                      std::to_string(events.size()) + " events (error " +
                      std::to_string(GetLastError()) + ")");
  }
  const DWORD idle = WaitForInputIdle(process_.Handle(), static_cast<DWORD>(Timeout().count()));
  if (idle == WAIT_TIMEOUT) throw DriverError("the program stayed busy after " + what);
}

void UiDriver::PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events;
  std::string what;
  for (WORD key : keys) {
    events.push_back(Key(key, 0, Extended(key) ? KEYEVENTF_EXTENDEDKEY : 0));
    what += (what.empty() ? "" : "+") + KeyName(key);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    events.push_back(Key(*key, 0, KEYEVENTF_KEYUP | (Extended(*key) ? KEYEVENTF_EXTENDEDKEY : 0)));
  }
  SendKeyboardInput(std::move(events), "the keys " + what);
}

void UiDriver::TypeText(const std::wstring& text) {
  std::vector<INPUT> events;
  for (wchar_t character : text) {
    events.push_back(Key(0, character, KEYEVENTF_UNICODE));
    events.push_back(Key(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  SendKeyboardInput(std::move(events), "the text \"" + Utf8(text) + "\"");
}

}  // namespace e2e
