#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/PageSource.h"

namespace Jet {

// A table listed in MSysObjects.
struct CatalogTable {
  std::u16string name;
  std::uint32_t definitionPage = 0;  // MSysObjects Id of a local table = its TDEF page
  std::uint32_t flags = 0;

  bool IsSystem() const;
};

// Reads the local tables (system ones included) from the MSysObjects rows, in catalogue
// order, by scanning its pages: no index is needed. Tables are the rows of type "local
// table" whose parent is the "Tables" container.
std::vector<CatalogTable> ReadCatalog(const PageSource& source);

}  // namespace Jet
