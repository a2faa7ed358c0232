// Ends the running program the way its user would: declines the terms when they are
// showing, otherwise closes the main window and confirms "Vuoi realmente uscire?". Waits
// for the program to end and exits with its exit code (3 when no program window was found,
// 4 when it did not end). scripts/run uses it after its screenshot.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kTermsTitle[] = L"Leggimi";
// The main window's title ends with this, whether a vehicle is shown or not.
constexpr wchar_t kMainTitleTail[] =
    L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";
constexpr wchar_t kExitQuestionTitle[] = L"Uscita";
constexpr wchar_t kMessageBoxClass[] = L"#32770";
constexpr DWORD kWaitMs = 20000;

struct Search {
  std::wstring text;
  bool tailOnly;
  DWORD processId;  // 0: any process
  HWND found;
};

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

bool Matches(const Search& search, const std::wstring& text) {
  if (!search.tailOnly) return text == search.text;
  return text.size() >= search.text.size() &&
         text.compare(text.size() - search.text.size(), search.text.size(), search.text) == 0;
}

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search->processId && owner != search->processId) return TRUE;
  if (!IsWindowVisible(window) || !Matches(*search, TextOf(window))) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (!Matches(*search, TextOf(window))) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(const std::wstring& text, bool tailOnly, DWORD processId = 0) {
  Search search{text, tailOnly, processId, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const std::wstring& text) {
  Search search{text, false, 0, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Presses "Yes" on the exit question as soon as it shows, until the program has ended.
bool ConfirmExit(HANDLE process, DWORD processId) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 20) {
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return true;
    HWND box = FindTopLevel(kExitQuestionTitle, false, processId);
    wchar_t className[16] = {};
    if (box && GetClassNameW(box, className, 16) && std::wstring(className) == kMessageBoxClass) {
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
  }
  return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HWND terms = FindTopLevel(kTermsTitle, false);
  HWND main = terms ? nullptr : FindTopLevel(kMainTitleTail, true);
  HWND target = terms ? terms : main;
  if (!target) return 3;
  DWORD processId = 0;
  GetWindowThreadProcessId(target, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return 3;

  if (terms) {
    // Declining ends the program without a question.
    HWND decline = FindChild(terms, L"Non Accetto");
    if (decline) PostMessageW(decline, BM_CLICK, 0, 0);
  } else {
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  DWORD code = 4;
  if (ConfirmExit(process, processId)) GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return static_cast<int>(code);
}
