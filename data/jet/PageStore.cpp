#include "data/jet/PageStore.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "data/jet/JetError.h"

namespace Jet {

PageStore PageStore::Load(const std::filesystem::path& path) {
  PageStore store(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw JetError(JetErrorKind::kFileAccess, "cannot open the file " + path.u8string());
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) throw JetError(JetErrorKind::kFileAccess, "cannot read the file " + path.u8string());
  if (size % static_cast<std::streamoff>(Format::kPageSize) != 0 ||
      size / static_cast<std::streamoff>(Format::kPageSize) > Format::kMaxPageNumber) {
    ThrowCorrupt("the file's size is not a whole number of pages; it is not opened for writing");
  }
  store.pages_.resize(static_cast<std::size_t>(size / static_cast<std::streamoff>(Format::kPageSize)));
  in.seekg(0);
  for (PageBuffer& page : store.pages_) {
    in.read(reinterpret_cast<char*>(page.data()), static_cast<std::streamsize>(page.size()));
    if (!in) throw JetError(JetErrorKind::kFileAccess, "cannot read the file " + path.u8string());
  }
  store.committedPageCount_ = store.pages_.size();
  return store;
}

PageStore PageStore::FromImage(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  if (size % Format::kPageSize != 0 || size / Format::kPageSize > Format::kMaxPageNumber) {
    ThrowCorrupt("the image's size is not a whole number of pages; it is not opened for writing");
  }
  PageStore store(path);
  store.pages_.resize(size / Format::kPageSize);
  for (std::size_t i = 0; i < store.pages_.size(); ++i) {
    std::memcpy(store.pages_[i].data(), data + i * Format::kPageSize, Format::kPageSize);
  }
  store.committedPageCount_ = store.pages_.size();
  return store;
}

PageStore PageStore::Empty(const std::filesystem::path& path) { return PageStore(path); }

std::size_t PageStore::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const {
  std::size_t done = 0;
  while (done < length && offset + done < ByteSize()) {
    std::uint64_t at = offset + done;
    const PageBuffer& page = pages_[static_cast<std::size_t>(at / Format::kPageSize)];
    std::size_t within = static_cast<std::size_t>(at % Format::kPageSize);
    std::size_t chunk = std::min(length - done, Format::kPageSize - within);
    std::memcpy(out + done, page.data() + within, chunk);
    done += chunk;
  }
  return done;
}

const PageBuffer& PageStore::Page(std::uint32_t pageNumber) const {
  if (pageNumber >= pages_.size()) ThrowCorrupt("reference to page " + std::to_string(pageNumber) + " past the end of the file");
  return pages_[pageNumber];
}

PageBuffer& PageStore::MutablePage(std::uint32_t pageNumber) {
  if (pageNumber >= pages_.size()) ThrowCorrupt("write to page " + std::to_string(pageNumber) + " past the end of the file");
  // Appended pages need no undo copy: rollback drops them.
  if (pageNumber < committedPageCount_ && originals_.count(pageNumber) == 0) {
    originals_.emplace(pageNumber, pages_[pageNumber]);
  }
  return pages_[pageNumber];
}

std::uint32_t PageStore::AppendPage() {
  if (pages_.size() > Format::kMaxPageNumber) {
    throw JetError(JetErrorKind::kCorrupt, "the database has reached the largest page number");
  }
  pages_.emplace_back();
  pages_.back().fill(0);
  return static_cast<std::uint32_t>(pages_.size() - 1);
}

void PageStore::Commit() {
  if (!HasChanges()) return;
  bool exists = std::filesystem::exists(path_);
  std::fstream out(path_, exists ? (std::ios::binary | std::ios::in | std::ios::out)
                                 : (std::ios::binary | std::ios::out | std::ios::trunc));
  if (!out) throw JetError(JetErrorKind::kFileAccess, "cannot open the file " + path_.u8string() + " for writing");
  auto write = [&](std::size_t pageNumber) {
    out.seekp(static_cast<std::streamoff>(pageNumber * Format::kPageSize));
    out.write(reinterpret_cast<const char*>(pages_[pageNumber].data()), Format::kPageSize);
  };
  for (const auto& changed : originals_) write(changed.first);
  for (std::size_t page = committedPageCount_; page < pages_.size(); ++page) write(page);
  out.flush();
  if (!out) throw JetError(JetErrorKind::kFileAccess, "cannot write the file " + path_.u8string());
  originals_.clear();
  committedPageCount_ = pages_.size();
}

void PageStore::Rollback() {
  for (auto& changed : originals_) pages_[changed.first] = changed.second;
  originals_.clear();
  pages_.resize(committedPageCount_);
}

}  // namespace Jet
