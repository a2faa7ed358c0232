#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "data/jet/Journal.h"
#include "data/jet/PageSource.h"

// The write path's lowest layer: the pages of a database held in memory, changed there,
// and written to the file only on Commit. Until then the file is untouched, so a group of
// writes is all-or-nothing: Rollback puts every changed page back and forgets appended
// ones. Reads (the whole reading engine runs over this PageSource) see the changes.
// Load and Commit go through the writer lock and the rollback journal (Journal.h), so the
// file on disk is always the state before or after a whole commit, even when the process
// or the machine stops half-way.
//
// Statements. Between Hold and Release the store holds the lock: Hold first brings the
// pages up to the file as it is now (another copy may have committed since), so what is
// read and written in between is the current file and the commit cannot overwrite another
// copy's. Without Hold, Commit checks the file against what was loaded instead and
// refuses with kChangedElsewhere.
namespace Jet {

class PageStore : public PageSource {
 public:
  // Loads a whole database file; refuses a file whose size is not a whole number of pages.
  // A file that can only be read loads read-only: its commits are refused with kReadOnly.
  static PageStore Load(const std::filesystem::path& path);
  // A store over a copy of a file image (tests, the fuzz target); Commit would write it
  // to `path`. Refuses an image that is not a whole number of pages.
  static PageStore FromImage(const std::filesystem::path& path, const std::uint8_t* data,
                             std::size_t size);
  // A store of a file that does not exist yet (Commit creates it).
  static PageStore Empty(const std::filesystem::path& path);

  std::uint64_t ByteSize() const override {
    return static_cast<std::uint64_t>(pages_.size()) * Format::kPageSize;
  }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const override;

  // Direct read access to a page (checked page number).
  const PageBuffer& Page(std::uint32_t pageNumber) const;
  // The page for changing; remembers its committed bytes the first time.
  PageBuffer& MutablePage(std::uint32_t pageNumber);
  // Appends a zeroed page and returns its number.
  std::uint32_t AppendPage();

  bool HasChanges() const { return !originals_.empty() || pages_.size() != committedPageCount_; }
  // Writes the changed and appended pages to the file through the journal, then forgets
  // the undo state. Throws kChangedElsewhere when another copy committed to the file
  // since this store loaded it (nothing is written then), kBusy when the lock is not had.
  void Commit();
  // Restores the state of the last commit (or load).
  void Rollback();

  // Takes the lock for a statement (see above) and loads the file again when it differs
  // from the committed pages; returns whether it did. Not with changes pending.
  bool Hold();
  void Release() { held_.reset(); }

  const std::filesystem::path& Path() const { return path_; }
  bool ReadOnly() const { return readOnly_; }

 private:
  explicit PageStore(std::filesystem::path path) : path_(std::move(path)) {}
  // Replaces every page by the file image's; false when they are equal already.
  bool TakeImage(const std::vector<std::uint8_t>& bytes);
  // The same for the locked file itself, read and compared a block at a time, so that the
  // file is never held twice in memory.
  bool TakeFile(RawFile& file);
  // Whether the locked file holds the committed state (changes pending put back).
  bool IsCommittedFile(RawFile& file) const;
  // Whether the file image is the committed state (changes pending put back).
  bool IsCommittedImage(const std::vector<std::uint8_t>& bytes) const;

  std::filesystem::path path_;
  // A deque: appending never moves the pages already handed out by MutablePage.
  std::deque<PageBuffer> pages_;
  std::map<std::uint32_t, PageBuffer> originals_;  // committed bytes of changed pages
  std::size_t committedPageCount_ = 0;
  // False for a store of a file not created yet (Empty, FromImage): its first commit
  // creates the file rather than checking it against what was loaded.
  bool fileExisted_ = false;
  bool readOnly_ = false;
  std::unique_ptr<WriterLock> held_;
};

// A non-owning PageSource over another one (lets a Database reader run over a store that
// someone else owns).
class BorrowedPageSource : public PageSource {
 public:
  explicit BorrowedPageSource(const PageSource& source) : source_(source) {}
  std::uint64_t ByteSize() const override { return source_.ByteSize(); }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const override {
    return source_.ReadAt(offset, out, length);
  }

 private:
  const PageSource& source_;
};

}  // namespace Jet
