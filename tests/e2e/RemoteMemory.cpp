#include "tests/e2e/RemoteMemory.h"

#include <string>

#include "tests/e2e/DriverError.h"

namespace e2e {

RemoteMemory::RemoteMemory(HANDLE process, std::size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(size) {
  if (!address_) {
    throw DriverError("cannot reserve memory in the program's process (error " +
                      std::to_string(GetLastError()) + ")");
  }
}

RemoteMemory::~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

void RemoteMemory::Write(const void* data, std::size_t size, std::size_t offset) {
  SIZE_T written = 0;
  if (offset + size > size_ ||
      !WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) ||
      written != size) {
    throw DriverError("cannot write into the program's process");
  }
}

void RemoteMemory::Read(void* data, std::size_t size, std::size_t offset) const {
  SIZE_T read = 0;
  if (offset + size > size_ ||
      !ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &read) ||
      read != size) {
    throw DriverError("cannot read from the program's process");
  }
}

}  // namespace e2e
