#include "app/FilePaths.h"

#include "toolkit/base/StringReplace.h"

namespace {

template <typename String>
String DirectoryPartOf(const String& path) {
  using Char = typename String::value_type;
  String normalized = LumoUtility::ReplaceChar(path, Char('/'), Char('\\'));
  auto separator = normalized.rfind(Char('\\'));
  if (separator == String::npos) separator = normalized.rfind(Char(':'));
  if (separator == String::npos) return String();
  return normalized.substr(0, separator + 1);
}

template <typename String>
String FileNamePartOf(const String& path) {
  return path.substr(DirectoryPartOf(path).size());
}

template <typename String>
String WithTrailingBackslashOf(const String& path) {
  using Char = typename String::value_type;
  if (path.empty() || path.back() == Char('/') || path.back() == Char('\\')) return path;
  return path + Char('\\');
}

}  // namespace

std::string DirectoryPart(const std::string& path) { return DirectoryPartOf(path); }
std::wstring DirectoryPart(const std::wstring& path) { return DirectoryPartOf(path); }
std::string FileNamePart(const std::string& path) { return FileNamePartOf(path); }
std::wstring FileNamePart(const std::wstring& path) { return FileNamePartOf(path); }
std::string WithTrailingBackslash(const std::string& path) { return WithTrailingBackslashOf(path); }
std::wstring WithTrailingBackslash(const std::wstring& path) {
  return WithTrailingBackslashOf(path);
}
