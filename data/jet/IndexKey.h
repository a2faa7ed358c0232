#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

// Index keys (compared as unsigned bytes). Per index column, in order:
//   ascending:  0x7F + encoded value, or 0x00 for NULL
//   descending: 0x80 + encoded value (inverted), or 0xFF for NULL
// Long/Integer/Byte: big-endian with the sign bit flipped. Text: TextSortKey.h.
namespace Jet {

// Whether the engine can build keys for this index; if not, `why` says what stops it.
bool CanEncodeIndex(const TableDefinition& table, const RealIndexDefinition& index,
                    std::string& why);

// The key of a row (values in the definition's column order). Throws
// JetErrorKind::kUnsupportedWrite for a text the engine has no sort codes for.
std::vector<std::uint8_t> EncodeIndexKey(const TableDefinition& table,
                                         const RealIndexDefinition& index,
                                         const std::vector<Value>& values);

// Whether every column of the key is NULL (an index that ignores NULLs skips such rows).
bool KeyIsAllNull(const TableDefinition& table, const RealIndexDefinition& index,
                  const std::vector<Value>& values);

}  // namespace Jet
