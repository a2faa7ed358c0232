#pragma once
#include <string>

namespace LumoUtility {

// Replaces every occurrence of search (never empty), continuing after each inserted
// replacement, so "'" -> "''" terminates.
std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement);
std::string ReplaceChar(const std::string& text, char from, char to);
std::wstring ReplaceChar(const std::wstring& text, wchar_t from, wchar_t to);
// Every line break (CR LF, CR or LF) as one blank, for text shown on one line.
std::string LineBreaksAsBlanks(const std::string& text);

}  // namespace LumoUtility
