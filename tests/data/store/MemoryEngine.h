#pragma once
#include <memory>
#include <string>
#include <vector>

#include "data/DbEngine.h"
#include "tests/data/sql/MemoryTableStore.h"

// An engine over an in-memory store that also keeps every statement it was sent.
class MemoryEngine : public DbEngine {
 public:
  explicit MemoryEngine(MemoryTableStore* store, std::vector<std::string>* log = nullptr,
                        std::string startupError = "")
      : store_(store), log_(log), startupError_(std::move(startupError)) {}
  std::string StartupError() const override { return startupError_; }
  std::unique_ptr<DbSession> Open(const std::wstring& connectionString) override;

 private:
  MemoryTableStore* store_;
  std::vector<std::string>* log_;
  std::string startupError_;
};
