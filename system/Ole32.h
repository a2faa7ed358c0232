#pragma once
#include <windows.h>
#include <objbase.h>

#include "system/LazyLibrary.h"

// COM (ole32.dll), loaded on its first call: a start needs none of it. Same signatures as
// the system's; an export that cannot be found answers as a failed call would.
namespace Ole32 {

const LazyLibrary& Library();

HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                         LPVOID* object);
void CoTaskMemFree(LPVOID memory);
HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID classId);
HRESULT OleRun(LPUNKNOWN object);

}  // namespace Ole32
