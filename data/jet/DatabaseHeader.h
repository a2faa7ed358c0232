#pragma once
#include <cstdint>

#include "data/jet/PageSource.h"

namespace Jet {

// What the engine needs from page 0 of a Jet 4 file.
struct DatabaseHeader {
  std::uint16_t codePage = 0;
  std::uint16_t sortOrder = 0;
  double creationDate = 0.0;  // OLE automation date
};

// Identifies the file and decodes its header. Files the engine cannot read are refused
// with a JetError whose kind and message name the reason: not an Access database, Jet 3
// (Access 97), ACE (.accdb), MSISAM, encrypted, or password-protected.
DatabaseHeader ReadDatabaseHeader(const PageSource& source);

}  // namespace Jet
