#include "data/jet/Journal.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace J = Format::Journal;
constexpr std::size_t kPage = Format::kPageSize;
// Between two attempts at a lock that another copy holds.
constexpr std::chrono::milliseconds kLockPoll{5};

std::chrono::milliseconds& LockTimeout() {
  static std::chrono::milliseconds timeout{5000};
  return timeout;
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put64(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | in[at + i];
  return v;
}
std::uint64_t Get64(const std::vector<std::uint8_t>& in, std::size_t at) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | in[at + i];
  return v;
}

std::uint64_t RandomCommitId() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// Hash of the pages below `pageCount` that are not in `skip`, read through `page`.
template <typename PageAt>
std::uint64_t UntouchedHash(std::size_t pageCount, const std::map<std::uint32_t, PageBuffer>& skip,
                            PageAt page) {
  std::uint64_t hash = Fnv1a(nullptr, 0);
  for (std::size_t number = 0; number < pageCount; ++number) {
    if (skip.count(static_cast<std::uint32_t>(number)) != 0) continue;
    hash = Fnv1a(page(number), kPage, hash);
  }
  return hash;
}

}  // namespace

std::uint64_t Fnv1a(const std::uint8_t* data, std::size_t size, std::uint64_t hash) {
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 0x100000001B3ull;
  }
  return hash;
}

std::filesystem::path JournalPath(const std::filesystem::path& database) {
  std::filesystem::path journal = database;
  journal += "-journal";
  return journal;
}

void SetLockTimeout(std::chrono::milliseconds timeout) { LockTimeout() = timeout; }

WriterLock::WriterLock(const std::filesystem::path& database, LockAccess access) {
  try {
    file_ = std::make_unique<RawFile>(database, access == LockAccess::kCreate
                                                    ? RawFile::Mode::kCreate
                                                    : RawFile::Mode::kReadWrite);
  } catch (const JetError& error) {
    if (error.Kind() != JetErrorKind::kReadOnly || access != LockAccess::kWriteOrRead) throw;
    file_ = std::make_unique<RawFile>(database, RawFile::Mode::kRead);
    readOnly_ = true;
  }
  auto deadline = std::chrono::steady_clock::now() + LockTimeout();
  // Bounded: one attempt per poll interval until the deadline.
  while (!file_->TryLock(!readOnly_)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw JetError(JetErrorKind::kBusy,
                     "another copy of the program holds the lock of " + database.u8string());
    }
    std::this_thread::sleep_for(kLockPoll);
  }
}

std::vector<std::uint8_t> ReadAllBytes(RawFile& file) {
  std::uint64_t size = file.Size();
  if (size > static_cast<std::uint64_t>(Format::kMaxPageNumber) * kPage) {
    ThrowCorrupt("the file is larger than any Jet 4 database");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t got = file.ReadAt(0, bytes.data(), bytes.size());
  bytes.resize(got);
  return bytes;
}

std::vector<std::uint8_t> ReadCommitted(const std::filesystem::path& database, WriterLock& lock) {
  EnsureCommitted(database, lock);
  return ReadAllBytes(lock.File());
}

void EnsureCommitted(const std::filesystem::path& database, WriterLock& lock) {
  if (!lock.ReadOnly()) {
    RecoverJournal(database, lock.File());
  } else {
    std::error_code unknown;
    if (std::filesystem::exists(JournalPath(database), unknown)) {
      throw JetError(JetErrorKind::kFileAccess,
                     "a write to " + database.u8string() +
                         " was cut short and the file cannot be opened for writing to undo it");
    }
  }
}

bool RecoverJournal(const std::filesystem::path& database, RawFile& file) {
  std::filesystem::path journalPath = JournalPath(database);
  // An error here is a journal pending deletion (held by another program): it is gone.
  std::error_code unknown;
  if (!std::filesystem::exists(journalPath, unknown)) return false;
  std::vector<std::uint8_t> journal;
  {
    RawFile in(journalPath, RawFile::Mode::kRead);
    journal = ReadAllBytes(in);
  }
  // Every byte of the journal is checked before it is believed: a journal cut short while
  // it was written means the database was not touched yet (it is synced first).
  bool complete = journal.size() >= J::kHeaderSize &&
                  std::memcmp(journal.data() + J::kMagicAt, J::kMagic, sizeof J::kMagic) == 0 &&
                  Get64(journal, J::kHeaderHashAt) == Fnv1a(journal.data(), J::kHeaderHashAt) &&
                  Get32(journal, J::kPageSizeAt) == kPage;
  std::uint32_t originalPages = complete ? Get32(journal, J::kOriginalPagesAt) : 0;
  std::uint32_t finalPages = complete ? Get32(journal, J::kFinalPagesAt) : 0;
  std::uint32_t records = complete ? Get32(journal, J::kRecordCountAt) : 0;
  complete =
      complete && originalPages <= Format::kMaxPageNumber && finalPages <= Format::kMaxPageNumber &&
      records <= originalPages &&
      journal.size() == J::kHeaderSize + static_cast<std::size_t>(records) * J::kRecordSize &&
      Get64(journal, J::kRecordsHashAt) ==
          Fnv1a(journal.data() + J::kHeaderSize, journal.size() - J::kHeaderSize);
  if (!complete) {
    RemoveDurably(journalPath);
    return false;
  }
  std::map<std::uint32_t, PageBuffer> originals;
  std::map<std::uint32_t, std::size_t> recordAt;
  bool belongs = true;
  for (std::uint32_t i = 0; i < records && belongs; ++i) {
    std::size_t at = J::kHeaderSize + static_cast<std::size_t>(i) * J::kRecordSize;
    std::uint32_t number = Get32(journal, at + J::kRecordPageNumberAt);
    if (number >= originalPages || originals.count(number) != 0) {
      belongs = false;
      break;
    }
    std::memcpy(originals[number].data(), journal.data() + at + J::kRecordBytesAt, kPage);
    recordAt[number] = at;
  }
  // The journal belongs to this file only if the file's size lies between the sizes before
  // and after the commit and every page the commit never writes is unchanged. A backup
  // restored over the database differs there (or in size) and never receives the journal.
  // Pages past the end were cut off by a shrinking commit after all its writes: they are
  // in the journal, and only what is still on disk is compared.
  std::uint64_t size = file.Size();
  std::uint64_t lower = static_cast<std::uint64_t>(std::min(originalPages, finalPages)) * kPage;
  std::uint64_t upper = static_cast<std::uint64_t>(std::max(originalPages, finalPages)) * kPage;
  belongs = belongs && size >= lower && size <= upper;
  if (belongs) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(originalPages) * kPage, 0);
    std::size_t onDiskSize = file.ReadAt(0, bytes.data(), bytes.size());
    for (std::size_t number = 0; belongs && number < originalPages; ++number) {
      belongs = originals.count(static_cast<std::uint32_t>(number)) != 0 ||
                (number + 1) * kPage <= onDiskSize;
    }
    belongs = belongs && UntouchedHash(originalPages, originals, [&](std::size_t n) {
                           return bytes.data() + n * kPage;
                         }) == Get64(journal, J::kUntouchedHashAt);
    for (auto it = originals.begin(); belongs && it != originals.end(); ++it) {
      std::size_t pageAt = static_cast<std::size_t>(it->first) * kPage;
      const std::uint8_t* onDisk = bytes.data() + pageAt;
      for (std::size_t sector = 0; belongs && sector < J::kSectorsPerPage; ++sector) {
        std::size_t from = sector * J::kSectorSize;
        if (pageAt + from + J::kSectorSize > onDiskSize) break;
        belongs = std::memcmp(onDisk + from, it->second.data() + from, J::kSectorSize) == 0 ||
                  Fnv1a(onDisk + from, J::kSectorSize) ==
                      Get64(journal, recordAt[it->first] + J::kRecordSectorHashesAt + 8 * sector);
      }
    }
  }
  if (!belongs) {
    std::filesystem::path aside = database;
    char id[17];
    std::snprintf(id, sizeof id, "%016llx",
                  static_cast<unsigned long long>(Get64(journal, J::kCommitIdAt)));
    aside += std::string("-journal-") + id + ".orphan";
    std::error_code failed;
    std::filesystem::rename(journalPath, aside, failed);
    if (failed)
      throw JetError(JetErrorKind::kFileAccess,
                     "cannot set aside the journal " + journalPath.u8string());
    SyncFolder(database.parent_path());
    return false;
  }
  for (const auto& [number, bytes] : originals) {
    file.WriteAt(static_cast<std::uint64_t>(number) * kPage, bytes.data(), kPage);
  }
  file.Truncate(static_cast<std::uint64_t>(originalPages) * kPage);
  file.Sync();
  RemoveDurably(journalPath);
  return true;
}

namespace {

// Steps 1 to 3 of a commit (Journal.h), with the lock held.
void WriteCommit(const std::filesystem::path& database, RawFile& file,
                 const std::deque<PageBuffer>& pages,
                 const std::map<std::uint32_t, PageBuffer>& originals,
                 std::size_t committedPageCount) {
  auto committedPage = [&](std::size_t n) -> const std::uint8_t* {
    auto found = originals.find(static_cast<std::uint32_t>(n));
    return found != originals.end() ? found->second.data() : pages[n].data();
  };

  // Step 1: the journal. A page that is cut off has no new bytes: its sector hashes are
  // never compared (recovery sees it missing from the file).
  std::vector<std::uint8_t> journal(J::kHeaderSize + originals.size() * J::kRecordSize, 0);
  std::size_t at = J::kHeaderSize;
  for (const auto& [number, bytes] : originals) {
    Put32(journal, at + J::kRecordPageNumberAt, number);
    for (std::size_t sector = 0; number < pages.size() && sector < J::kSectorsPerPage; ++sector) {
      Put64(journal, at + J::kRecordSectorHashesAt + 8 * sector,
            Fnv1a(pages[number].data() + sector * J::kSectorSize, J::kSectorSize));
    }
    std::memcpy(journal.data() + at + J::kRecordBytesAt, bytes.data(), kPage);
    at += J::kRecordSize;
  }
  std::memcpy(journal.data() + J::kMagicAt, J::kMagic, sizeof J::kMagic);
  Put32(journal, J::kPageSizeAt, static_cast<std::uint32_t>(kPage));
  Put32(journal, J::kOriginalPagesAt, static_cast<std::uint32_t>(committedPageCount));
  Put32(journal, J::kFinalPagesAt, static_cast<std::uint32_t>(pages.size()));
  Put32(journal, J::kRecordCountAt, static_cast<std::uint32_t>(originals.size()));
  Put64(journal, J::kCommitIdAt, RandomCommitId());
  Put64(journal, J::kUntouchedHashAt, UntouchedHash(committedPageCount, originals, committedPage));
  Put64(journal, J::kRecordsHashAt,
        Fnv1a(journal.data() + J::kHeaderSize, journal.size() - J::kHeaderSize));
  Put64(journal, J::kHeaderHashAt, Fnv1a(journal.data(), J::kHeaderHashAt));
  std::filesystem::path journalPath = JournalPath(database);
  {
    RawFile out(journalPath, RawFile::Mode::kCreate);
    out.Truncate(0);
    out.WriteAt(0, journal.data(), journal.size());
    out.Sync();
  }
  SyncFolder(database.parent_path());

  // Step 2: the database, page by page, then its new end.
  for (const auto& changed : originals) {
    if (changed.first >= pages.size()) continue;
    file.WriteAt(static_cast<std::uint64_t>(changed.first) * kPage, pages[changed.first].data(),
                 kPage);
  }
  for (std::size_t n = committedPageCount; n < pages.size(); ++n) {
    file.WriteAt(static_cast<std::uint64_t>(n) * kPage, pages[n].data(), kPage);
  }
  if (pages.size() < committedPageCount)
    file.Truncate(static_cast<std::uint64_t>(pages.size()) * kPage);
  file.Sync();

  // Step 3: the commit point.
  RemoveDurably(journalPath);
}

}  // namespace

void CommitPages(const std::filesystem::path& database, RawFile& file,
                 const std::deque<PageBuffer>& pages,
                 const std::map<std::uint32_t, PageBuffer>& originals,
                 std::size_t committedPageCount) {
  // A journal left by another copy's cut-short commit is undone before anything else.
  RecoverJournal(database, file);
  try {
    WriteCommit(database, file, pages, originals, committedPageCount);
  } catch (const JetError& error) {
    // A failed write or sync may leave part of the commit in the file: undo it now if the
    // system still lets us; otherwise the journal stays and the next open undoes it.
    if (error.Kind() == JetErrorKind::kFileAccess) {
      try {
        RecoverJournal(database, file);
      } catch (const JetError&) {
      }
    }
    throw;
  }
}

void ReplaceContent(const std::filesystem::path& database, RawFile& file,
                    const std::vector<std::uint8_t>& content) {
  if (content.size() % kPage != 0 || content.size() / kPage > Format::kMaxPageNumber) {
    ThrowCorrupt("the new content is not a whole number of pages");
  }
  RecoverJournal(database, file);
  std::uint64_t size = file.Size();
  if (size % kPage != 0) {
    file.Truncate((size / kPage + 1) * kPage);
    file.Sync();
  }
  std::vector<std::uint8_t> current = ReadAllBytes(file);
  std::size_t currentPages = current.size() / kPage;
  std::deque<PageBuffer> pages(content.size() / kPage);
  for (std::size_t n = 0; n < pages.size(); ++n)
    std::memcpy(pages[n].data(), content.data() + n * kPage, kPage);
  std::map<std::uint32_t, PageBuffer> originals;
  for (std::size_t n = 0; n < currentPages; ++n) {
    const std::uint8_t* old = current.data() + n * kPage;
    if (n < pages.size() && std::memcmp(old, pages[n].data(), kPage) == 0) continue;
    std::memcpy(originals[static_cast<std::uint32_t>(n)].data(), old, kPage);
  }
  if (originals.empty() && pages.size() == currentPages) return;
  CommitPages(database, file, pages, originals, currentPages);
}

}  // namespace Jet
