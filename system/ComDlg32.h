#pragma once
#include <windows.h>
#include <commdlg.h>

#include "system/LazyLibrary.h"

// The common dialogs (comdlg32.dll), loaded on the first call. Same signatures as the
// system's; an export that cannot be found answers as a failed call would.
namespace ComDlg32 {

const LazyLibrary& Library();

BOOL GetSaveFileNameW(LPOPENFILENAMEW dialog);

}  // namespace ComDlg32
