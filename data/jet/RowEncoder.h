#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

// Encoding a row for writing (layout in FormatConstants.h, Row).
namespace Jet {

// Stored bytes to write verbatim for one column instead of encoding its value: the
// existing bytes of a column the engine does not decode (kept on update), or the
// long-value reference a Memo value was written as.
using RawColumnBytes = std::optional<std::vector<std::uint8_t>>;

// Text as Access stores it: the compressed form (FF FE + one byte per character) when
// the column allows it, the text has at least 3 characters, all in U+0001..U+00FF;
// otherwise UTF-16LE.
std::vector<std::uint8_t> EncodeText(const std::u16string& text, bool allowCompression);

// Refuses, with a JetError naming the column, a value the column cannot hold: a kind that
// does not match the column's type, Text longer than the column allows, a NULL Yes/No.
void CheckValue(const ColumnDefinition& column, const Value& value);

// Encodes `values` (one per column, in the definition's column order). Columns with a
// `raw` entry are written from it. Memo columns must come with raw bytes (or be NULL).
std::vector<std::uint8_t> EncodeRow(const TableDefinition& table, const std::vector<Value>& values,
                                    const std::vector<RawColumnBytes>& raw);

}  // namespace Jet
