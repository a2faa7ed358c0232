#include "data/WholeFiles.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// How long a rename waits for another program (a virus scanner) that opened the new
// file the moment it was closed.
constexpr std::chrono::milliseconds kScannerWait{3000};
constexpr std::chrono::milliseconds kScannerPoll{20};
// Written in pieces: WriteFile takes a 32-bit length.
constexpr std::size_t kChunk = 1 << 20;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closes now; false when closing failed (the last data may not be written).
  bool Close() {
    bool ok = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD piece = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, piece, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// Only ever the temporary file written and closed here: never a file the program holds open.
bool RenameIntoPlace(const std::wstring& from, const std::wstring& to, bool replace) {
  DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  auto deadline = std::chrono::steady_clock::now() + kScannerWait;
  while (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
    DWORD error = GetLastError();
    bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                error == ERROR_LOCK_VIOLATION;
    if (!held || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kScannerPoll);
  }
  return true;
}

}  // namespace

std::wstring WritingNameOf(const std::wstring& target) { return target + L".tmp"; }

bool WriteWholeFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes,
                    bool replace) {
  if (!replace && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  std::wstring temporary = WritingNameOf(target);
  {
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    if (!file.Close() || !written) {
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!RenameIntoPlace(temporary, target, replace)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}
