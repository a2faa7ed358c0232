#pragma once
#include <windows.h>

// The two counters a helper program reports through to the test that started it (done,
// then refused): shared memory the test made under the given name, held while this lives.
class ProgressCounters {
 public:
  explicit ProgressCounters(const wchar_t* name)
      : mapping_(OpenFileMappingW(FILE_MAP_WRITE, FALSE, name)) {
    if (mapping_ != nullptr) {
      counters_ = static_cast<volatile LONG*>(
          MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 2 * sizeof(LONG)));
    }
  }
  ~ProgressCounters() {
    if (counters_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(counters_));
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  ProgressCounters(const ProgressCounters&) = delete;
  ProgressCounters& operator=(const ProgressCounters&) = delete;

  bool Open() const { return counters_ != nullptr; }
  void SetDone(LONG count) { InterlockedExchange(counters_, count); }
  void SetRefused(LONG count) { InterlockedExchange(counters_ + 1, count); }

 private:
  HANDLE mapping_;
  volatile LONG* counters_ = nullptr;
};
