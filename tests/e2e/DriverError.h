#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>

namespace e2e {

// What the driver throws when a window, control or item is not there, or a condition did
// not come true in time. The text says what was looked for and what was found instead.
class DriverError : public std::runtime_error {
 public:
  explicit DriverError(const std::string& what) : std::runtime_error(what) {}
};

// UTF-8 for messages (window texts are UTF-16).
std::string Utf8(const std::wstring& text);

}  // namespace e2e
