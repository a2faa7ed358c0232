#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The bytes a text puts into an ascending index key: the "General" sort order of Access
// 2000 (legacy version), for characters U+0001..U+00FF. Keys compare as unsigned bytes.
// Layout: one or two main-part bytes per character (case folded, an accented letter as
// its base letter), 0x01; the accent codes up to the last accented letter; when the text
// holds apostrophes, hyphens or control characters, 0x01 0x01 0x01 and a 4-byte entry
// (position, code) for each; 0x00. Trailing blanks are dropped and at most 255 characters
// count. So case, accents and those skipped characters decide only between texts that
// are otherwise the same.
namespace Jet {

// Appends the key bytes of `text`. Throws JetErrorKind::kUnsupportedWrite for a character
// above U+00FF, which the engine has no sort codes for.
void AppendTextSortKey(std::vector<std::uint8_t>& key, std::u16string text);

}  // namespace Jet
