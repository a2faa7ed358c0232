#include "data/jet/PageStore.h"

#include <algorithm>
#include <cstring>

#include "data/jet/JetError.h"
#include "data/jet/Journal.h"

namespace Jet {

PageStore PageStore::Load(const std::filesystem::path& path) {
  // Under the writer lock: a cut-short commit (of this or another copy) is rolled back
  // first, and no other copy's commit is half-way through while the bytes are read.
  std::vector<std::uint8_t> bytes;
  {
    WriterLock lock(path);
    RecoverJournal(path, lock.File());
    bytes = ReadAllBytes(lock.File());
  }
  if (bytes.size() % Format::kPageSize != 0) {
    ThrowCorrupt("the file's size is not a whole number of pages; it is not opened for writing");
  }
  PageStore store = FromImage(path, bytes.data(), bytes.size());
  store.fileExisted_ = true;
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
  try {
    CommitPages(path_, pages_, originals_, committedPageCount_, fileExisted_);
  } catch (const JetError& error) {
    // A failed write or sync may leave part of the commit in the file: undo it now from
    // the journal if the system still lets us; otherwise the journal stays and the next
    // open undoes it. (kBusy and kChangedElsewhere are refused before anything is written.)
    try {
      if (error.Kind() == JetErrorKind::kFileAccess && std::filesystem::exists(JournalPath(path_))) {
        WriterLock lock(path_);
        RecoverJournal(path_, lock.File());
      }
    } catch (const JetError&) {
    }
    throw;
  }
  originals_.clear();
  committedPageCount_ = pages_.size();
  fileExisted_ = true;
}

void PageStore::Rollback() {
  for (auto& changed : originals_) pages_[changed.first] = changed.second;
  originals_.clear();
  pages_.resize(committedPageCount_);
}

}  // namespace Jet
