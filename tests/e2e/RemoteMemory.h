#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace e2e {

// A block of memory inside the program's process, for control messages whose argument is
// a pointer (toolbar buttons, tooltip texts, dates, folder paths): the pointer must be
// valid where the control runs. Released when this goes.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, std::size_t size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  LPARAM AddressAt(std::size_t offset) const { return Address() + static_cast<LPARAM>(offset); }
  void Write(const void* data, std::size_t size, std::size_t offset = 0);
  void Read(void* data, std::size_t size, std::size_t offset = 0) const;
  template <class T>
  T Read(std::size_t offset = 0) const {
    T value{};
    Read(&value, sizeof value, offset);
    return value;
  }

 private:
  HANDLE process_;
  void* address_;
  std::size_t size_;
};

// Room in the program's process for a request structure (HDITEMW, LVITEMW, TVITEMW,
// TTTOOLINFOW) and the text the control writes through the structure's text pointer.
template <class Request>
class RemoteTextRequest {
 public:
  static constexpr int kCapacity = 1024;  // characters, the final NUL included

  RemoteTextRequest(HANDLE process, LPWSTR Request::*text)
      : memory_(process, sizeof(Request) + kCapacity * sizeof(wchar_t)), text_(text) {}

  // Writes the request with its text pointer aimed at the room after it, which starts
  // empty; answers the address to send with the message.
  LPARAM Prepare(Request request) {
    request.*text_ = reinterpret_cast<LPWSTR>(memory_.AddressAt(sizeof(Request)));
    memory_.Write(&request, sizeof request);
    const wchar_t empty = 0;
    memory_.Write(&empty, sizeof empty, sizeof request);
    return memory_.Address();
  }

  // What the control wrote, up to its NUL.
  std::wstring Text() const {
    wchar_t text[kCapacity] = {};
    memory_.Read(text, sizeof text, sizeof(Request));
    text[kCapacity - 1] = 0;
    return text;
  }

 private:
  RemoteMemory memory_;
  LPWSTR Request::*text_;
};

}  // namespace e2e
