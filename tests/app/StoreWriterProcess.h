#pragma once
#include <windows.h>

#include <filesystem>
#include <set>

// Another running copy of the program writing the database: the StoreWriter helper in a
// process of its own, inserting the vehicles of WriterRows with its plate prefix (or the
// RestoreRunner helper, restoring backups over it). Stopped cleanly (through its stop
// file) when the object goes, unless killed before. It reports its progress through
// shared memory: a file would be replaced under a reader's open handle, which Windows
// refuses.
class StoreWriterProcess {
 public:
  StoreWriterProcess(const std::filesystem::path& database, const std::filesystem::path& folder,
                     char platePrefix);
  // The RestoreRunner helper, restoring the backups in the two folders in turn.
  StoreWriterProcess(const std::filesystem::path& database, const std::filesystem::path& folder,
                     const std::filesystem::path& backupFolderA,
                     const std::filesystem::path& backupFolderB);
  ~StoreWriterProcess();
  StoreWriterProcess(const StoreWriterProcess&) = delete;
  StoreWriterProcess& operator=(const StoreWriterProcess&) = delete;

  bool Started() const { return started_; }
  // Vehicles of its prefix committed so far (those it found at start included), as the
  // helper last reported.
  int Committed() const;
  // Saves (or restores) that failed, as the helper last reported.
  int Refused() const;
  // Waits until at least `count` vehicles are committed; false if the helper ended first.
  bool WaitForCommitted(int count) const;
  // The helper's exit code (0 after a clean stop); STILL_ACTIVE if it had to be killed.
  DWORD Stop();
  // Ends the helper at once, wherever it is in a commit (TerminateProcess).
  void Kill();

 private:
  void Start(const std::wstring& program, const std::filesystem::path& database, char platePrefix,
             const std::wstring& extraArguments);
  void Release();

  std::filesystem::path stopFile_;
  HANDLE mapping_ = nullptr;
  volatile LONG* progress_ = nullptr;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  DWORD exitCode_ = STILL_ACTIVE;
};

// Opens the file with the engine (which rolls back a commit cut short), runs its
// validator, and checks that every vehicle is one of the helpers', whole, and present
// once. Returns the numbers found with the given plate prefix.
std::set<int> WriterVehiclesIn(const std::filesystem::path& file, char platePrefix = 'W');

// Every vehicle from 1 to the highest one present (the committed order has no gaps).
void ExpectPrefix(const std::set<int>& numbers, const std::filesystem::path& file);
