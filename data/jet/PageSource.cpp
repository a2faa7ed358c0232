#include "data/jet/PageSource.h"

#include <algorithm>
#include <cstring>

#include "data/jet/JetError.h"

namespace Jet {

std::uint32_t PageSource::PageCount() const {
  std::uint64_t pages = ByteSize() / Format::kPageSize;
  // Page numbers are 24 bits; pages past that can never be referenced.
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(pages, Format::kMaxPageNumber + 1ull));
}

void PageSource::ReadPage(std::uint32_t pageNumber, PageBuffer& buffer, const char* what) const {
  if (pageNumber >= PageCount()) {
    ThrowCorrupt(std::string(what) + " refers to page " + std::to_string(pageNumber) +
                 " but the file has only " + std::to_string(PageCount()) + " pages");
  }
  std::size_t got = ReadAt(static_cast<std::uint64_t>(pageNumber) * Format::kPageSize,
                           buffer.data(), buffer.size());
  if (got != buffer.size()) {
    throw JetError(JetErrorKind::kFileAccess, "could not read page " + std::to_string(pageNumber));
  }
}

void PageSource::ReadPageOfType(std::uint32_t pageNumber, std::uint8_t pageType, PageBuffer& buffer,
                                const char* what) const {
  ReadPage(pageNumber, buffer, what);
  if (buffer[0] != pageType) {
    ThrowCorrupt(std::string(what) + " refers to page " + std::to_string(pageNumber) + " of type " +
                 std::to_string(buffer[0]) + ", expected type " + std::to_string(pageType));
  }
}

FilePageSource::FilePageSource(const std::filesystem::path& path) : name_(path.u8string()) {
  stream_.open(path, std::ios::binary | std::ios::in);
  if (!stream_) {
    throw JetError(JetErrorKind::kFileAccess, "cannot open the file " + name_);
  }
  stream_.seekg(0, std::ios::end);
  std::streamoff end = stream_.tellg();
  if (end < 0) throw JetError(JetErrorKind::kFileAccess, "cannot read the file " + name_);
  size_ = static_cast<std::uint64_t>(end);
}

std::size_t FilePageSource::ReadAt(std::uint64_t offset, std::uint8_t* out,
                                   std::size_t length) const {
  if (offset >= size_) return 0;
  std::size_t available = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
  stream_.clear();
  stream_.seekg(static_cast<std::streamoff>(offset));
  stream_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(available));
  if (!stream_) throw JetError(JetErrorKind::kFileAccess, "cannot read the file " + name_);
  return available;
}

std::size_t MemoryPageSource::ReadAt(std::uint64_t offset, std::uint8_t* out,
                                     std::size_t length) const {
  if (offset >= size_) return 0;
  std::size_t available = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
  std::memcpy(out, data_ + offset, available);
  return available;
}

}  // namespace Jet
