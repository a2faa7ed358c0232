#include "data/jet/LongValue.h"

#include <algorithm>
#include <set>

#include "data/jet/DataPage.h"
#include "data/jet/JetError.h"
#include "data/jet/RowPointer.h"

namespace Jet {

namespace L = Format::LongValue;

namespace {
void Charge(LongValueBudget& budget, std::size_t rowLength) {
  // A piece of zero length still costs a page read.
  std::uint64_t cost = rowLength + 1;
  if (cost > budget.remainingBytes)
    ThrowCorrupt("long values refer to more data than the file holds");
  budget.remainingBytes -= cost;
}
}  // namespace

std::vector<std::uint8_t> ReadLongValue(const PageSource& source, const ByteView& columnData) {
  LongValueBudget budget{source.ByteSize()};
  return ReadLongValue(source, columnData, budget);
}

std::vector<std::uint8_t> ReadLongValue(const PageSource& source, const ByteView& columnData,
                                        LongValueBudget& budget) {
  std::vector<std::uint8_t> value;
  if (columnData.Size() == 0) return value;
  ByteView reference = columnData.Sub(0, L::kReferenceSize, "long-value reference");
  std::size_t length = reference.U24(0);
  std::uint8_t kind = reference.U8(3);
  if (length > source.ByteSize()) {
    ThrowCorrupt("long value declares " + std::to_string(length) +
                 " bytes, more than the file holds");
  }
  if (kind == L::kInline) {
    ByteView bytes = columnData.Sub(L::kReferenceSize, length, "inline long value");
    value.assign(bytes.Data(), bytes.Data() + bytes.Size());
    return value;
  }
  PageBuffer page;
  RowPointer next = RowPointer::Read(reference, L::kRemoteRow);
  if (kind == L::kSingleRow) {
    ByteView row = ReadRow(source, next, page, "long value");
    Charge(budget, row.Size());
    ByteView bytes = row.Sub(0, length, "long value row");
    value.assign(bytes.Data(), bytes.Data() + bytes.Size());
    return value;
  }
  if (kind != L::kChain) {
    ThrowCorrupt("long value of unknown kind " + std::to_string(kind));
  }
  std::set<RowPointer> visited;
  value.reserve(length);
  while (value.size() < length) {
    if (next.page == 0 && next.row == 0) {
      ThrowCorrupt("long value chain ends after " + std::to_string(value.size()) + " of " +
                   std::to_string(length) + " bytes");
    }
    if (!visited.insert(next).second) ThrowCorrupt("long value chain loops");
    ByteView row = ReadRow(source, next, page, "long value chain");
    Charge(budget, row.Size());
    std::size_t dataSize = row.Size() - std::min(row.Size(), L::kChainPointerSize);
    ByteView data = row.Sub(L::kChainPointerSize, dataSize, "long value piece");
    std::size_t take = std::min(dataSize, length - value.size());
    value.insert(value.end(), data.Data(), data.Data() + take);
    next = RowPointer::Read(row, 0);
  }
  return value;
}

}  // namespace Jet
