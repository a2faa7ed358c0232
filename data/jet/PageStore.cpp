#include "data/jet/PageStore.h"

#include <algorithm>
#include <cstring>

#include "data/jet/JetError.h"
#include "data/jet/Journal.h"

namespace Jet {

PageStore PageStore::Load(const std::filesystem::path& path) {
  // Under the lock: a cut-short commit (of this or another copy) is rolled back first,
  // and no other copy's commit is half-way through while the bytes are read.
  PageStore store(path);
  {
    WriterLock lock(path, LockAccess::kWriteOrRead);
    EnsureCommitted(path, lock);
    store.TakeFile(lock.File());
    store.readOnly_ = lock.ReadOnly();
  }
  store.fileExisted_ = true;
  return store;
}

namespace {

constexpr std::size_t kBlockPages = 64;

void CheckImageSize(std::uint64_t size) {
  if (size % Format::kPageSize != 0 || size / Format::kPageSize > Format::kMaxPageNumber) {
    ThrowCorrupt("the file's size is not a whole number of pages; it is not opened for writing");
  }
}

// The file's size, refused as ReadAllBytes and TakeImage refuse it.
std::uint64_t CheckedFileSize(RawFile& file) {
  std::uint64_t size = file.Size();
  if (size > static_cast<std::uint64_t>(Format::kMaxPageNumber) * Format::kPageSize) {
    ThrowCorrupt("the file is larger than any Jet 4 database");
  }
  CheckImageSize(size);
  return size;
}

}  // namespace

bool PageStore::TakeFile(RawFile& file) {
  std::size_t count = static_cast<std::size_t>(CheckedFileSize(file) / Format::kPageSize);
  if (IsCommittedFile(file)) return false;
  originals_.clear();
  pages_.resize(count);
  committedPageCount_ = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint64_t at = static_cast<std::uint64_t>(i) * Format::kPageSize;
    if (file.ReadAt(at, pages_[i].data(), Format::kPageSize) != Format::kPageSize) {
      pages_.clear();
      CheckImageSize(at + 1);  // the file shrank while it was read
    }
  }
  committedPageCount_ = count;
  return true;
}

bool PageStore::IsCommittedFile(RawFile& file) const {
  std::uint64_t size = file.Size();
  if (size != committedPageCount_ * Format::kPageSize) return false;
  std::vector<std::uint8_t> block(kBlockPages * Format::kPageSize);
  for (std::size_t first = 0; first < committedPageCount_; first += kBlockPages) {
    std::size_t pages = std::min(kBlockPages, committedPageCount_ - first);
    std::size_t length = pages * Format::kPageSize;
    if (file.ReadAt(static_cast<std::uint64_t>(first) * Format::kPageSize, block.data(), length) !=
        length) {
      return false;
    }
    for (std::size_t i = 0; i < pages; ++i) {
      std::size_t n = first + i;
      auto found = originals_.find(static_cast<std::uint32_t>(n));
      const std::uint8_t* committed =
          found != originals_.end() ? found->second.data() : pages_[n].data();
      if (std::memcmp(block.data() + i * Format::kPageSize, committed, Format::kPageSize) != 0)
        return false;
    }
  }
  return true;
}

bool PageStore::TakeImage(const std::vector<std::uint8_t>& bytes) {
  CheckImageSize(bytes.size());
  if (IsCommittedImage(bytes)) return false;
  std::size_t count = bytes.size() / Format::kPageSize;
  originals_.clear();
  pages_.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(pages_[i].data(), bytes.data() + i * Format::kPageSize, Format::kPageSize);
  }
  committedPageCount_ = count;
  return true;
}

PageStore PageStore::FromImage(const std::filesystem::path& path, const std::uint8_t* data,
                               std::size_t size) {
  PageStore store(path);
  store.TakeImage(std::vector<std::uint8_t>(data, data + size));
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
  if (pageNumber >= pages_.size())
    ThrowCorrupt("reference to page " + std::to_string(pageNumber) + " past the end of the file");
  return pages_[pageNumber];
}

PageBuffer& PageStore::MutablePage(std::uint32_t pageNumber) {
  if (pageNumber >= pages_.size())
    ThrowCorrupt("write to page " + std::to_string(pageNumber) + " past the end of the file");
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

bool PageStore::IsCommittedImage(const std::vector<std::uint8_t>& bytes) const {
  if (bytes.size() != committedPageCount_ * Format::kPageSize) return false;
  for (std::size_t n = 0; n < committedPageCount_; ++n) {
    auto found = originals_.find(static_cast<std::uint32_t>(n));
    const std::uint8_t* committed =
        found != originals_.end() ? found->second.data() : pages_[n].data();
    if (std::memcmp(bytes.data() + n * Format::kPageSize, committed, Format::kPageSize) != 0)
      return false;
  }
  return true;
}

bool PageStore::Hold() {
  if (HasChanges())
    throw JetError(JetErrorKind::kUnsupportedWrite, "a statement began with changes pending");
  held_ = std::make_unique<WriterLock>(
      path_, fileExisted_ ? LockAccess::kWriteOrRead : LockAccess::kCreate);
  try {
    EnsureCommitted(path_, *held_);
    readOnly_ = held_->ReadOnly();
    if (!fileExisted_ && held_->File().Size() == 0) return false;
    bool reloaded = TakeFile(held_->File());
    fileExisted_ = true;
    return reloaded;
  } catch (...) {
    held_.reset();
    throw;
  }
}

void PageStore::Commit() {
  if (!HasChanges()) return;
  if (readOnly_) {
    throw JetError(JetErrorKind::kReadOnly, "the file " + path_.u8string() + " can only be read");
  }
  if (held_) {
    CommitPages(path_, held_->File(), pages_, originals_, committedPageCount_);
  } else {
    WriterLock lock(path_, fileExisted_ ? LockAccess::kWrite : LockAccess::kCreate);
    RecoverJournal(path_, lock.File());
    if (fileExisted_ || lock.File().Size() != 0) {
      // Without the statement's hold, the file must still be what this store loaded, or
      // applying the changes would lose another copy's commit.
      if (!IsCommittedFile(lock.File())) {
        throw JetError(
            JetErrorKind::kChangedElsewhere,
            "the file " + path_.u8string() + " was changed by another copy since it was loaded");
      }
    }
    CommitPages(path_, lock.File(), pages_, originals_, committedPageCount_);
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
