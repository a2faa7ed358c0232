#pragma once
#include <string>

namespace LumoUtility {

// The program's 8-bit text is Windows-1252 everywhere (window text, SQL, literals).
// WidenText maps every byte to its Unicode character; NarrowText maps back and turns
// any character Windows-1252 cannot hold into "?" (never a NUL or a line break).
std::wstring WidenText(const std::string& text);
std::string NarrowText(const std::wstring& text);
// The same mapping for UTF-16 text held portably (the storage engine's text).
std::u16string WidenToUtf16(const std::string& text);
std::string NarrowUtf16(const std::u16string& text);
// The program's text as UTF-8 bytes, for files other programs read ("€" is E2 82 AC).
std::string ToUtf8(const std::string& text);

}  // namespace LumoUtility
