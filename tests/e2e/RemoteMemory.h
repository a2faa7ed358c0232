#pragma once
#include <windows.h>

#include <cstddef>

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

}  // namespace e2e
