#include "toolkit/base/StringReplace.h"

#include <algorithm>

namespace LumoUtility {

std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement) {
  std::string result = text;
  if (search.empty()) return result;
  std::size_t position = 0;
  while ((position = result.find(search, position)) != std::string::npos) {
    result.replace(position, search.size(), replacement);
    position += replacement.size();
  }
  return result;
}

std::string ReplaceChar(const std::string& text, char from, char to) {
  std::string result = text;
  std::replace(result.begin(), result.end(), from, to);
  return result;
}

std::wstring ReplaceChar(const std::wstring& text, wchar_t from, wchar_t to) {
  std::wstring result = text;
  std::replace(result.begin(), result.end(), from, to);
  return result;
}

std::string LineBreaksAsBlanks(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    line.push_back(text[i] == '\r' || text[i] == '\n' ? ' ' : text[i]);
  }
  return line;
}

}  // namespace LumoUtility
