#pragma once
#include <stdexcept>
#include <string>

namespace Jet {

// Why the engine gave up. Callers above the engine (the connection adapter, jetdump)
// catch JetError once and turn it into their own error report.
enum class JetErrorKind {
  kFileAccess,          // the file could not be opened or read
  kNotJetDatabase,      // not an Access database at all
  kUnsupportedVersion,  // Jet 3 (Access 97), ACE (.accdb) or another variant
  kEncrypted,           // pages are encrypted with a database key
  kPasswordProtected,   // a database password is set
  kCorrupt,             // a structure is inconsistent, truncated or out of bounds
  kNotFound,            // a table asked for by name does not exist
  kInvalidValue,        // a value a column cannot hold, or a row too large for a page
  kDuplicateKey,        // a write would put a second equal key into a unique index
  kUnsupportedWrite,    // a write would touch a structure the engine cannot maintain
  kBusy,                // another running copy held the writer lock past the wait limit
  kChangedElsewhere,    // another running copy committed since this one loaded the file
  kReadOnly,            // the file can be read but not written (read-only file or share)
};

// The single exception type the engine throws. Every check that fails reports where the
// problem was found, so a damaged file can be diagnosed from the message alone.
class JetError : public std::runtime_error {
 public:
  JetError(JetErrorKind kind, const std::string& message);
  JetErrorKind Kind() const { return kind_; }

 private:
  JetErrorKind kind_;
};

[[noreturn]] void ThrowCorrupt(const std::string& where);

}  // namespace Jet
