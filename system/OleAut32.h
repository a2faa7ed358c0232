#pragma once
#include <windows.h>
#include <oleauto.h>

#include "system/LazyLibrary.h"

// OLE automation (oleaut32.dll): strings, variants and error objects, loaded on the first
// call. Same signatures as the system's; an export that cannot be found answers as a
// failed call would.
namespace OleAut32 {

const LazyLibrary& Library();

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANTARG* value);
HRESULT VariantClear(VARIANTARG* value);
HRESULT VariantChangeType(VARIANTARG* destination, VARIANTARG* source, USHORT flags, VARTYPE type);
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

}  // namespace OleAut32
