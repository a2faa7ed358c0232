#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "data/jet/FileShim.h"
#include "data/jet/PageSource.h"

// Safe commits: the rollback journal and the writer lock between running copies.
//
// Lock protocol. Whoever reads a database's file into memory, recovers its journal or
// commits to it holds the writer lock for that time: an exclusive byte-range lock on one
// byte far past the end of the data (FileShim.cpp). A copy that can only read the file
// (read-only attribute or share) holds it shared instead, so it never reads a commit
// half-way. Waiting is bounded: after the lock timeout the engine gives up with
// JetErrorKind::kBusy. The program's own copies (backup, safety copy) read the file
// through such a handle; nobody copies it by name while a copy may hold it open for
// writing, as Windows refuses that.
//
// Commit order (CommitPages), under the lock, once the caller has made sure the file on
// disk is still the state its pages were changed from:
//   1. the journal "<file>-journal" is written with the original bytes of every page about
//      to be overwritten or cut off, synced, and its name made durable (folder synced);
//   2. the changed and appended pages are written to the database, the file is cut to its
//      new size when it shrinks, and it is synced;
//   3. the journal is removed and the folder synced: this is the moment of commit.
// A stop anywhere before 3 leaves a complete journal (or an incomplete one with the
// database still untouched); the next open rolls the database back (RecoverJournal). A
// failed write or sync is rolled back at once when the system still allows it.
//
// What holds, and what does not:
// - Process killed, or a write or sync failing, at any moment: the next open (read-only
//   Database::OpenFile included) finds the state before or after the commit.
// - Power loss: the same, as far as the disk honours fsync / FlushFileBuffers and tears a
//   write only at 512-byte sector boundaries. Under Wine it is as good as Wine's
//   FlushFileBuffers (it asks the host system to flush the file); not measured here.
// - A commit is durable once step 3 returns; a power loss just before leaves the journal,
//   and the statement is rolled back (its caller saw an error or nothing at all).
// - A restore replaces the whole file as one such commit (ReplaceContent).
namespace Jet {

// The journal's name beside the database.
std::filesystem::path JournalPath(const std::filesystem::path& database);

// How long a copy waits for another one's lock before kBusy (default 5 s; tests shorten it).
void SetLockTimeout(std::chrono::milliseconds timeout);

enum class LockAccess {
  kWrite,        // the file must exist and be writable
  kCreate,       // the file is made when missing
  kWriteOrRead,  // a file that can only be read is held shared, for reading
};

// Holds the writer lock of a database file while it lives.
class WriterLock {
 public:
  // Waits (bounded) for the lock.
  explicit WriterLock(const std::filesystem::path& database,
                      LockAccess access = LockAccess::kWrite);
  RawFile& File() { return *file_; }
  // True when the file could only be opened for reading (the lock is shared then).
  bool ReadOnly() const { return readOnly_; }

 private:
  std::unique_ptr<RawFile> file_;
  bool readOnly_ = false;
};

// With the lock held: rolls back a journal left by a commit that was cut short. A journal
// that is incomplete (the stop came before the database was touched) is removed; one made
// for another file (a database restored or replaced since) is never applied: it is renamed
// to "<file>-journal-<commit id>.orphan" and the database is left as it is. Returns true
// when the database was rolled back.
bool RecoverJournal(const std::filesystem::path& database, RawFile& file);

// With the lock held: the whole file's bytes (after recovery).
std::vector<std::uint8_t> ReadAllBytes(RawFile& file);

// With the lock held: the file's committed bytes. A commit cut short is rolled back first;
// where the file can only be read it cannot be, and kFileAccess says so.
std::vector<std::uint8_t> ReadCommitted(const std::filesystem::path& database, WriterLock& lock);
// The first half of ReadCommitted: afterwards the locked file holds only committed bytes,
// for a reader that takes them a page at a time.
void EnsureCommitted(const std::filesystem::path& database, WriterLock& lock);

// With the lock held: writes a commit safely (order above). `pages` is the new state;
// `originals` the committed bytes of every page below `committedPageCount` that changes
// or (when `pages` is shorter) is cut off.
void CommitPages(const std::filesystem::path& database, RawFile& file,
                 const std::deque<PageBuffer>& pages,
                 const std::map<std::uint32_t, PageBuffer>& originals,
                 std::size_t committedPageCount);

// With the lock held: replaces the whole content of the database with `content` (a whole
// number of pages) as one commit. A file whose size is not a whole number of pages (a
// damaged one) is first padded with zeros to the next page.
void ReplaceContent(const std::filesystem::path& database, RawFile& file,
                    const std::vector<std::uint8_t>& content);

// FNV-1a 64 over bytes, continuing from `hash`.
std::uint64_t Fnv1a(const std::uint8_t* data, std::size_t size,
                    std::uint64_t hash = 0xCBF29CE484222325ull);

}  // namespace Jet
