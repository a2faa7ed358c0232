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
std::uint64_t UntouchedHash(std::size_t pageCount, const std::map<std::uint32_t, PageBuffer>& skip, PageAt page) {
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

WriterLock::WriterLock(const std::filesystem::path& database, bool create)
    : file_(std::make_unique<RawFile>(database, create ? RawFile::Mode::kCreate : RawFile::Mode::kReadWrite)) {
  auto deadline = std::chrono::steady_clock::now() + LockTimeout();
  // Bounded: one attempt per poll interval until the deadline.
  while (!file_->TryLock(true)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw JetError(JetErrorKind::kBusy, "another copy of the program holds the lock of " + database.u8string());
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

bool RecoverJournal(const std::filesystem::path& database, RawFile& file) {
  std::filesystem::path journalPath = JournalPath(database);
  if (!std::filesystem::exists(journalPath)) return false;
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
  complete = complete && originalPages <= finalPages && finalPages <= Format::kMaxPageNumber &&
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
  std::uint64_t size = file.Size();
  belongs = belongs && size >= static_cast<std::uint64_t>(originalPages) * kPage &&
            size <= static_cast<std::uint64_t>(finalPages) * kPage;
  if (belongs) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(originalPages) * kPage);
    belongs = file.ReadAt(0, bytes.data(), bytes.size()) == bytes.size() &&
              UntouchedHash(originalPages, originals, [&](std::size_t n) { return bytes.data() + n * kPage; }) ==
                  Get64(journal, J::kUntouchedHashAt);
    for (auto it = originals.begin(); belongs && it != originals.end(); ++it) {
      const std::uint8_t* onDisk = bytes.data() + static_cast<std::size_t>(it->first) * kPage;
      for (std::size_t sector = 0; belongs && sector < J::kSectorsPerPage; ++sector) {
        std::size_t from = sector * J::kSectorSize;
        belongs = std::memcmp(onDisk + from, it->second.data() + from, J::kSectorSize) == 0 ||
                  Fnv1a(onDisk + from, J::kSectorSize) ==
                      Get64(journal, recordAt[it->first] + J::kRecordSectorHashesAt + 8 * sector);
      }
    }
  }
  if (!belongs) {
    std::filesystem::path aside = database;
    char id[17];
    std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(Get64(journal, J::kCommitIdAt)));
    aside += std::string("-journal-") + id + ".orphan";
    std::error_code failed;
    std::filesystem::rename(journalPath, aside, failed);
    if (failed) throw JetError(JetErrorKind::kFileAccess, "cannot set aside the journal " + journalPath.u8string());
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

void CommitPages(const std::filesystem::path& database, const std::deque<PageBuffer>& pages,
                 const std::map<std::uint32_t, PageBuffer>& originals, std::size_t committedPageCount,
                 bool fileExisted) {
  WriterLock lock(database, !fileExisted);
  RawFile& file = lock.File();
  // A journal left by another copy's cut-short commit is undone before anything else.
  RecoverJournal(database, file);
  // The committed image this store started from: current pages with originals put back.
  auto committedPage = [&](std::size_t n) -> const std::uint8_t* {
    auto found = originals.find(static_cast<std::uint32_t>(n));
    return found != originals.end() ? found->second.data() : pages[n].data();
  };
  if (fileExisted || file.Size() != 0) {
    std::vector<std::uint8_t> onDisk = ReadAllBytes(file);
    bool same = onDisk.size() == committedPageCount * kPage;
    for (std::size_t n = 0; same && n < committedPageCount; ++n) {
      same = std::memcmp(onDisk.data() + n * kPage, committedPage(n), kPage) == 0;
    }
    if (!same) {
      throw JetError(JetErrorKind::kChangedElsewhere,
                     "the file " + database.u8string() + " was changed by another copy since it was loaded");
    }
  }

  // Step 2: the journal.
  std::vector<std::uint8_t> journal(J::kHeaderSize + originals.size() * J::kRecordSize, 0);
  std::size_t at = J::kHeaderSize;
  for (const auto& [number, bytes] : originals) {
    Put32(journal, at + J::kRecordPageNumberAt, number);
    for (std::size_t sector = 0; sector < J::kSectorsPerPage; ++sector) {
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
  Put64(journal, J::kRecordsHashAt, Fnv1a(journal.data() + J::kHeaderSize, journal.size() - J::kHeaderSize));
  Put64(journal, J::kHeaderHashAt, Fnv1a(journal.data(), J::kHeaderHashAt));
  std::filesystem::path journalPath = JournalPath(database);
  {
    RawFile out(journalPath, RawFile::Mode::kCreate);
    out.Truncate(0);
    out.WriteAt(0, journal.data(), journal.size());
    out.Sync();
  }
  SyncFolder(database.parent_path());

  // Step 3: the database, page by page.
  for (const auto& changed : originals) {
    file.WriteAt(static_cast<std::uint64_t>(changed.first) * kPage, pages[changed.first].data(), kPage);
  }
  for (std::size_t n = committedPageCount; n < pages.size(); ++n) {
    file.WriteAt(static_cast<std::uint64_t>(n) * kPage, pages[n].data(), kPage);
  }
  file.Sync();

  // Step 4: the commit point.
  RemoveDurably(journalPath);
}

}  // namespace Jet
