#pragma once
#include <string>

namespace Sql {

// Jet's text order, the one its indexes keep (the engine's own index keys decide first):
// case never matters; an accented Latin letter sorts beside its base letter (e, é, è
// before f) and equals only itself; apostrophes and hyphens count only between texts that
// are otherwise the same (O'BRIEN after OA123BC); other punctuation comes before digits,
// and digits before letters. Returns <0, 0 or >0.
int CompareText(const std::u16string& a, const std::u16string& b);

// Equal keys exactly for texts that CompareText calls equal (for grouping and hashing).
std::u16string CollationKey(const std::u16string& text);

}  // namespace Sql
