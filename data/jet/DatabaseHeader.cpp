#include "data/jet/DatabaseHeader.h"

#include <cmath>
#include <cstring>

#include "data/jet/JetError.h"
#include "data/jet/Rc4.h"

namespace Jet {
namespace {

namespace H = Format::Header;

bool EngineNameIs(const PageBuffer& page, const char* name) {
  return std::memcmp(page.data() + H::kEngineName, name, std::strlen(name) + 1) == 0;
}

// The password is stored XORed with the integer part of the creation date, repeated.
bool HasPassword(const ByteView& plain, double creationDate) {
  std::uint32_t day = 0;
  if (std::isfinite(creationDate) && creationDate > -2147483648.0 && creationDate < 2147483648.0) {
    day = static_cast<std::uint32_t>(static_cast<std::int32_t>(creationDate));
  }
  for (std::size_t i = 0; i < H::kPasswordSize; ++i) {
    std::uint8_t mask = static_cast<std::uint8_t>(day >> (8 * (i % 4)));
    if ((plain.U8(H::kPassword + i) ^ mask) != 0) return true;
  }
  return false;
}

}  // namespace

DatabaseHeader ReadDatabaseHeader(const PageSource& source) {
  PageBuffer page{};
  std::size_t got = source.ReadAt(0, page.data(), page.size());
  if (got < H::kVersion + 1 || std::memcmp(page.data(), H::kSignature, sizeof H::kSignature) != 0) {
    throw JetError(JetErrorKind::kNotJetDatabase, "not an Access database file");
  }
  if (EngineNameIs(page, H::kAceEngineName)) {
    throw JetError(
        JetErrorKind::kUnsupportedVersion,
        "Access 2007 or later format (.accdb) is not supported; only Access 2000-2003 files are");
  }
  if (EngineNameIs(page, H::kMsisamEngineName)) {
    throw JetError(JetErrorKind::kUnsupportedVersion,
                   "MSISAM (Microsoft Money) databases are not supported");
  }
  if (!EngineNameIs(page, H::kJetEngineName)) {
    throw JetError(JetErrorKind::kNotJetDatabase, "not an Access database file");
  }
  std::uint8_t version = page[H::kVersion];
  if (version == H::kVersionJet3) {
    throw JetError(JetErrorKind::kUnsupportedVersion,
                   "Access 97 (Jet 3) format is not supported; only Access 2000-2003 files are");
  }
  if (version != H::kVersionJet4) {
    throw JetError(JetErrorKind::kUnsupportedVersion,
                   "unknown Access database version " + std::to_string(version) +
                       "; only Access 2000-2003 files are supported");
  }
  if (got < page.size()) {
    ThrowCorrupt("the database header page is truncated");
  }

  ApplyRc4(H::kRc4Key, sizeof H::kRc4Key, page.data() + H::kObfuscatedStart, H::kObfuscatedSize);
  ByteView plain = ViewOf(page, "database header");
  DatabaseHeader header;
  header.codePage = plain.U16(H::kCodePage);
  header.sortOrder = plain.U16(H::kSortOrder);
  header.creationDate = plain.F64(H::kCreationDate);
  if (plain.U32(H::kDatabaseKey) != 0) {
    throw JetError(JetErrorKind::kEncrypted,
                   "the database is encrypted; encrypted databases are not supported");
  }
  if (HasPassword(plain, header.creationDate)) {
    throw JetError(
        JetErrorKind::kPasswordProtected,
        "the database is protected by a password; password-protected databases are not supported");
  }
  return header;
}

}  // namespace Jet
