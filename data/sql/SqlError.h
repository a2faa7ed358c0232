#pragma once
#include <stdexcept>
#include <string>

namespace Sql {

// A statement that cannot be parsed or run; the message is shown to the user, in Italian.
class SqlError : public std::runtime_error {
 public:
  explicit SqlError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace Sql
