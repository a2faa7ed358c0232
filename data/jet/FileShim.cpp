#include "data/jet/FileShim.h"

#include "data/jet/JetError.h"

#include <chrono>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace Jet {
namespace {

// The lock is one byte far beyond any data the engine writes (databases stay well below
// 1 GB): a byte-range lock there never blocks a read of the file's bytes.
constexpr std::uint64_t kLockOffset = 0x7FFFFF00u;

std::function<FaultAction(const std::string&)>& FaultHook() {
  static std::function<FaultAction(const std::string&)> hook;
  return hook;
}

// Returns kProceed or kTear (for writes); throws for kStop.
FaultAction CheckFault(const std::string& step) {
  auto& hook = FaultHook();
  FaultAction action = hook ? hook(step) : FaultAction::kProceed;
  if (action == FaultAction::kStop)
    throw JetError(JetErrorKind::kFileAccess, "injected failure before " + step);
  return action;
}

[[noreturn]] void Torn(const std::string& step) {
  throw JetError(JetErrorKind::kFileAccess, "injected failure half-way through " + step);
}

// The bytes a torn write leaves: the first half, cut at a sector boundary.
std::size_t TornLength(std::size_t length) { return length / 2 / 512 * 512; }

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path) {
  throw JetError(JetErrorKind::kFileAccess, "cannot " + what + " the file " + path.u8string());
}

// Another program may hold a file briefly, as virus scanners and indexers do with a file
// just written or closed: the journal's creation and removal wait that long before failing.
constexpr std::chrono::milliseconds kTransientWait{3000};
constexpr std::chrono::milliseconds kTransientPoll{20};

// Calls `attempt` until it returns true or the wait is over; returns its last answer.
template <typename Attempt>
bool RetryWhileHeld(Attempt attempt) {
  auto deadline = std::chrono::steady_clock::now() + kTransientWait;
  while (!attempt()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kTransientPoll);
  }
  return true;
}

bool Exists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

}  // namespace

void SetFileFaultHook(std::function<FaultAction(const std::string& step)> hook) {
  FaultHook() = std::move(hook);
}

void RemoveDurably(const std::filesystem::path& file) {
  CheckFault("removal of " + file.filename().u8string());
  // On Windows a file another program holds open (sharing delete) stays visible until
  // that program closes it; one held without sharing delete cannot be removed until then.
  bool gone = RetryWhileHeld([&] {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return !Exists(file);
  });
  if (!gone) Fail("remove", file);
  SyncFolder(file.parent_path());
}

#ifdef _WIN32

RawFile::RawFile(const std::filesystem::path& path, Mode mode) : path_(path) {
  DWORD access = mode == Mode::kRead ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
  DWORD creation = mode == Mode::kCreate ? OPEN_ALWAYS : OPEN_EXISTING;
  DWORD error = ERROR_SUCCESS;
  auto open = [&] {
    // Others may read, write and delete: the lock, not the share mode, serializes the
    // program's copies, and every copy reads and writes through handles opened this way.
    handle_ = CreateFileW(path.wstring().c_str(), access,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, creation,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    error = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return handle_ != INVALID_HANDLE_VALUE;
  };
  if (open()) return;
  // A journal being created may still be held by a scanner, or be pending deletion.
  if (mode == Mode::kCreate && (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) &&
      RetryWhileHeld(open)) {
    return;
  }
  // The read-only attribute, a read-only share or medium, or another program's handle
  // that denies writing: the file can at best be read.
  if (mode == Mode::kReadWrite && (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
                                   error == ERROR_SHARING_VIOLATION)) {
    throw JetError(JetErrorKind::kReadOnly,
                   "the file " + path.u8string() + " cannot be opened for writing");
  }
  Fail("open", path);
}

RawFile::~RawFile() {
  if (locked_) Unlock();
  CloseHandle(handle_);
}

std::uint64_t RawFile::Size() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_, &size)) Fail("measure", path_);
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t RawFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const {
  std::size_t done = 0;
  while (done < length) {
    OVERLAPPED at{};
    std::uint64_t where = offset + done;
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(length - done);
    if (!ReadFile(handle_, out + done, want, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      Fail("read", path_);
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

void RawFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length) {
  std::string step = "write of " + std::to_string(length) + " bytes at " + std::to_string(offset) +
                     " in " + path_.filename().u8string();
  bool tear = CheckFault(step) == FaultAction::kTear;
  if (tear) length = TornLength(length);
  std::size_t done = 0;
  while (done < length) {
    OVERLAPPED at{};
    std::uint64_t where = offset + done;
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    DWORD put = 0;
    if (!WriteFile(handle_, data + done, static_cast<DWORD>(length - done), &put, &at) || put == 0)
      Fail("write", path_);
    done += put;
  }
  if (tear) Torn(step);
}

void RawFile::Truncate(std::uint64_t size) {
  CheckFault("truncation of " + path_.filename().u8string());
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_))
    Fail("truncate", path_);
}

void RawFile::Sync() {
  CheckFault("sync of " + path_.filename().u8string());
  if (!FlushFileBuffers(handle_)) Fail("flush", path_);
}

bool RawFile::TryLock(bool exclusive) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(kLockOffset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(kLockOffset >> 32);
  DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  if (!LockFileEx(handle_, flags, 0, 1, 0, &at)) {
    DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return false;
    Fail("lock", path_);
  }
  locked_ = true;
  return true;
}

void RawFile::Unlock() {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(kLockOffset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(kLockOffset >> 32);
  UnlockFileEx(handle_, 0, 1, 0, &at);
  locked_ = false;
}

void SyncFolder(const std::filesystem::path&) {}

#else

RawFile::RawFile(const std::filesystem::path& path, Mode mode) : path_(path) {
  int flags = mode == Mode::kRead ? O_RDONLY : (O_RDWR | (mode == Mode::kCreate ? O_CREAT : 0));
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ >= 0) return;
  if (mode == Mode::kReadWrite && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    throw JetError(JetErrorKind::kReadOnly,
                   "the file " + path.u8string() + " cannot be opened for writing");
  }
  Fail("open", path);
}

RawFile::~RawFile() {
  if (locked_) Unlock();
  ::close(fd_);
}

std::uint64_t RawFile::Size() const {
  struct stat info;
  if (::fstat(fd_, &info) != 0) Fail("measure", path_);
  return static_cast<std::uint64_t>(info.st_size);
}

std::size_t RawFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const {
  std::size_t done = 0;
  while (done < length) {
    ssize_t got = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail("read", path_);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void RawFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length) {
  std::string step = "write of " + std::to_string(length) + " bytes at " + std::to_string(offset) +
                     " in " + path_.filename().u8string();
  bool tear = CheckFault(step) == FaultAction::kTear;
  if (tear) length = TornLength(length);
  std::size_t done = 0;
  while (done < length) {
    ssize_t put = ::pwrite(fd_, data + done, length - done, static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) Fail("write", path_);
    done += static_cast<std::size_t>(put);
  }
  if (tear) Torn(step);
}

void RawFile::Truncate(std::uint64_t size) {
  CheckFault("truncation of " + path_.filename().u8string());
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) Fail("truncate", path_);
}

void RawFile::Sync() {
  CheckFault("sync of " + path_.filename().u8string());
  if (::fsync(fd_) != 0) Fail("flush", path_);
}

bool RawFile::TryLock(bool exclusive) {
  struct flock lock {};
  lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(kLockOffset);
  lock.l_len = 1;
  // Open-file-description locks: owned by this handle, not the process, so two stores in
  // one process exclude each other and closing another handle to the file keeps the lock.
  if (::fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    Fail("lock", path_);
  }
  locked_ = true;
  return true;
}

void RawFile::Unlock() {
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(kLockOffset);
  lock.l_len = 1;
  ::fcntl(fd_, F_OFD_SETLK, &lock);
  locked_ = false;
}

void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

#endif

}  // namespace Jet
