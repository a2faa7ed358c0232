#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// The one place the engine talks to the operating system below the C++ library: writes
// that reach the disk (fsync / FlushFileBuffers), truncation, and the writer lock between
// running copies of the program (fcntl open-file-description locks / LockFileEx). Every
// other engine file stays portable. Errors are reported as JetError.
namespace Jet {

// An open file handle. Not copyable; closes on destruction. Opening an existing file for
// writing where it can only be read throws kReadOnly; a file being created (a journal)
// that another program holds for a moment is waited for.
class RawFile {
 public:
  enum class Mode { kRead, kReadWrite, kCreate };
  RawFile(const std::filesystem::path& path, Mode mode);
  ~RawFile();
  RawFile(const RawFile&) = delete;
  RawFile& operator=(const RawFile&) = delete;

  std::uint64_t Size() const;
  // Reads up to `length` bytes at `offset`; returns how many were read.
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const;
  // Writes all bytes at `offset` (through the fault hook).
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length);
  void Truncate(std::uint64_t size);
  // Asks the system to put every written byte on the disk before returning (through the
  // fault hook).
  void Sync();

  // The byte-range lock of the writer protocol (see Journal.h). Returns false when
  // another handle holds a conflicting lock.
  bool TryLock(bool exclusive);
  void Unlock();

 private:
  std::filesystem::path path_;
#ifdef _WIN32
  void* handle_;
#else
  int fd_;
#endif
  bool locked_ = false;
};

// Makes the creation or removal of a file in `folder` durable (POSIX needs the folder
// itself synced; on Windows the file system journals names and this does nothing).
void SyncFolder(const std::filesystem::path& folder);

// Removes a file and makes the removal durable (through the fault hook). Waits a moment
// for another program that holds the file open; throws when the file is still there.
void RemoveDurably(const std::filesystem::path& file);

// Fault injection for tests: called before every write, sync, truncation and removal the
// engine does on a database or its journal, with a description of the step. kStop: the
// step is not done and the engine throws JetError(kFileAccess), as if the machine had
// stopped there; kTear (writes only): the first half of the bytes, cut at a 512-byte
// sector boundary, is written first, as power lost in the middle of a write may leave
// it. An empty function turns injection off.
enum class FaultAction { kProceed, kStop, kTear };
void SetFileFaultHook(std::function<FaultAction(const std::string& step)> hook);

}  // namespace Jet
