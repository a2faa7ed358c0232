#pragma once
#include <memory>
#include <string>

#include "data/DbEngine.h"
#include "data/jet/JetError.h"

// The built-in engine behind DbConnection: opens the Access file named by the connection
// string's "Data Source" and runs the program's SQL on it. Each statement runs against
// the file as it is then, under the lock between running copies, so two copies saving
// at the same moment both succeed. A file that can only be read opens for reading.
std::unique_ptr<DbEngine> MakeJetFileEngine();

// What the user is told when the engine refuses something, in Italian.
std::string ItalianMessage(const Jet::JetError& error);

// The built-in engine's refusal: the Italian description, and the reason behind it.
class JetRefusal : public DbFailure {
 public:
  explicit JetRefusal(const Jet::JetError& error)
      : DbFailure(ItalianMessage(error)), kind_(error.Kind()) {}
  Jet::JetErrorKind Kind() const { return kind_; }

 private:
  Jet::JetErrorKind kind_;
};
