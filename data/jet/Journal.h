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
// byte far past the end of the data (FileShim.cpp). Waiting is bounded: after the lock
// timeout the engine gives up with JetErrorKind::kBusy. Because the lock covers no data,
// CopyFileW and other readers of the bytes are never blocked by it; they are not
// protected by it either (see CommitPages for what they can see).
//
// Commit order (CommitPages), under the lock:
//   1. the file on disk must still be the state this store loaded (else kChangedElsewhere:
//      another copy committed meanwhile, and applying ours would lose its update);
//   2. the journal "<file>-journal" is written with the original bytes of every page about
//      to be overwritten, synced, and its name made durable (folder synced);
//   3. the changed and appended pages are written to the database, which is synced;
//   4. the journal is removed and the folder synced: this is the moment of commit.
// A stop anywhere before 4 leaves a complete journal (or an incomplete one with the
// database still untouched); the next open rolls the database back (RecoverJournal).
//
// What holds, and what does not:
// - Process killed, or a write or sync failing, at any moment: the next open (read-only
//   Database::OpenFile included) finds the state before or after the commit.
// - Power loss: the same, as far as the disk honours fsync / FlushFileBuffers and tears a
//   write only at 512-byte sector boundaries. Under Wine it is as good as Wine's
//   FlushFileBuffers (it asks the host system to flush the file); not measured here.
// - A commit is durable once step 4 returns; a power loss just before leaves the journal,
//   and the statement is rolled back (its caller saw an error or nothing at all).
// - Copying the file without the lock (CopyFileW for a backup) can catch a commit half-way
//   and does not copy the journal: the copy may be torn. A backup is consistent when the
//   copier holds WriterLock for the copy; the lock covers no data, so CopyFileW reads the
//   file while it is held. Restoring over the database should hold it too.
// - A copy that loaded the file before another copy's commit still reads its own picture
//   until it writes (then kChangedElsewhere, and it reloads) or opens again.
namespace Jet {

// The journal's name beside the database.
std::filesystem::path JournalPath(const std::filesystem::path& database);

// How long a copy waits for another one's lock before kBusy (default 5 s; tests shorten it).
void SetLockTimeout(std::chrono::milliseconds timeout);

// Holds the writer lock of a database file while it lives.
class WriterLock {
 public:
  // Waits (bounded) for the lock; `create` makes the database file if missing.
  explicit WriterLock(const std::filesystem::path& database, bool create = false);
  RawFile& File() { return *file_; }

 private:
  std::unique_ptr<RawFile> file_;
};

// With the lock held: rolls back a journal left by a commit that was cut short. A journal
// that is incomplete (the stop came before the database was touched) is removed; one made
// for another file (a database restored or replaced since) is never applied: it is renamed
// to "<file>-journal-<commit id>.orphan" and the database is left as it is. Returns true
// when the database was rolled back.
bool RecoverJournal(const std::filesystem::path& database, RawFile& file);

// With the lock held: the whole file's bytes (after recovery).
std::vector<std::uint8_t> ReadAllBytes(RawFile& file);

// Writes a commit safely (order above). `pages` is the new state; `originals` the
// committed bytes of the changed pages below `committedPageCount`. `committedImage` is
// checked against the file first unless the file did not exist when the store was loaded.
void CommitPages(const std::filesystem::path& database, const std::deque<PageBuffer>& pages,
                 const std::map<std::uint32_t, PageBuffer>& originals, std::size_t committedPageCount,
                 bool fileExisted);

// FNV-1a 64 over bytes, continuing from `hash`.
std::uint64_t Fnv1a(const std::uint8_t* data, std::size_t size, std::uint64_t hash = 0xCBF29CE484222325ull);

}  // namespace Jet
