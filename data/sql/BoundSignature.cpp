// Bound expressions as text, for recognising the same work written twice in a statement.
// The text names columns by position (scopes up, source, column), so it is only
// compared between expressions bound in scopes of the same tables.
#include "data/sql/QueryInternals.h"
#include "data/sql/SqlLexer.h"

namespace Sql {

bool Describe(const Bound& b, std::string& out) {
  out += '(';
  out += std::to_string(static_cast<int>(b.kind));
  switch (b.kind) {
    case Bound::Kind::Constant:
      out += ' ' + std::to_string(static_cast<int>(b.constant.type)) + ' ' + HashKey(b.constant);
      // The collation key folds case; the value itself may still matter.
      out.append(reinterpret_cast<const char*>(b.constant.text.data()),
                 b.constant.text.size() * sizeof(char16_t));
      break;
    case Bound::Kind::Column:
      out += ' ' + std::to_string(b.up) + ' ' + std::to_string(b.source) + ' ' +
             std::to_string(b.column);
      break;
    case Bound::Kind::Unary: out += ' ' + std::to_string(static_cast<int>(b.unary)); break;
    case Bound::Kind::Binary: out += ' ' + std::to_string(static_cast<int>(b.binary)); break;
    case Bound::Kind::IsNull:
    case Bound::Kind::InList: out += b.negated ? " n" : " y"; break;
    case Bound::Kind::Scalar: {
      // Only a keyed subquery is wholly described by its plan.
      if (!b.subquery->keyed) return false;
      std::string keyed = KeyedSignature(*b.subquery);
      if (keyed.empty()) return false;
      out += ' ' + keyed;
      for (const auto& key : b.subquery->outerKeys) {
        if (!Describe(*key, out)) return false;
      }
      break;
    }
    default: return false;
  }
  for (const auto& child : b.children) {
    if (!Describe(*child, out)) return false;
  }
  out += ')';
  return true;
}

std::string KeyedSignature(const SubqueryPlan& plan) {
  std::string text = UpperCase(plan.scope->sources[0].info.name);
  text += '|' + std::to_string(static_cast<int>(plan.function)) + '|';
  for (int column : plan.innerKeyColumns) text += std::to_string(column) + ',';
  text += '|';
  if (plan.argument && !Describe(*plan.argument, text)) return std::string();
  for (const auto& filter : plan.innerFilters) {
    text += '|';
    if (!Describe(*filter, text)) return std::string();
  }
  return text;
}

}  // namespace Sql
