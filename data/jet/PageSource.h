#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data/jet/ByteView.h"
#include "data/jet/FormatConstants.h"

// The lowest layer: a database file seen as numbered 4096-byte pages. Callers own the
// page buffers and pass them in; nothing here remembers a "current" page.
namespace Jet {

using PageBuffer = std::array<std::uint8_t, Format::kPageSize>;

class PageSource {
 public:
  virtual ~PageSource() = default;

  // Whole pages only: a partial page at the end of the file is not a page.
  std::uint32_t PageCount() const;
  virtual std::uint64_t ByteSize() const = 0;

  // Fills `buffer` with page `pageNumber`; a page past the end of the file is an error
  // naming `what`, the structure that referred to it.
  void ReadPage(std::uint32_t pageNumber, PageBuffer& buffer, const char* what) const;
  // As ReadPage, and also checks the page type byte.
  void ReadPageOfType(std::uint32_t pageNumber, std::uint8_t pageType, PageBuffer& buffer,
                      const char* what) const;

  // Up to `length` bytes at `offset`; returns how many were available.
  virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const = 0;
};

// Pages of a file on disk, opened read-only. The path is a std::filesystem::path so that
// folders with non-ASCII names (wide paths on Windows) work.
class FilePageSource : public PageSource {
 public:
  explicit FilePageSource(const std::filesystem::path& path);
  std::uint64_t ByteSize() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const override;

 private:
  mutable std::ifstream stream_;
  std::uint64_t size_ = 0;
  std::string name_;
};

// Pages of a file image held in memory (tests, the fuzz target). The bytes are borrowed
// and must outlive the source.
class MemoryPageSource : public PageSource {
 public:
  MemoryPageSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t ByteSize() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

inline ByteView ViewOf(const PageBuffer& page, const char* what) {
  return ByteView(page.data(), page.size(), what);
}

}  // namespace Jet
