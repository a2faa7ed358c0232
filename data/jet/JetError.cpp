#include "data/jet/JetError.h"

namespace Jet {

JetError::JetError(JetErrorKind kind, const std::string& message)
    : std::runtime_error(message), kind_(kind) {}

void ThrowCorrupt(const std::string& where) {
  throw JetError(JetErrorKind::kCorrupt, "damaged database file: " + where);
}

}  // namespace Jet
