#include "data/sql/TextCollation.h"

#include <cstdint>
#include <vector>

#include "data/jet/TextSortKey.h"

namespace Sql {
namespace {

struct Weight {
  char16_t primary[2];  // base letter(s) in upper case; second is 0 unless a ligature
  char16_t accent;      // 0 for the plain letter
};

// Base letter and accent rank of a Latin-1 (and Windows-1252) letter.
Weight WeightOf(char16_t c) {
  if (c >= u'a' && c <= u'z') return {{static_cast<char16_t>(c - 32), 0}, 0};
  if (c > 0xFF) {
    switch (c) {
      case 0x0160:
      case 0x0161: return {{u'S', 0}, 6};
      case 0x017D:
      case 0x017E: return {{u'Z', 0}, 6};
      case 0x0152:
      case 0x0153: return {{u'O', u'E'}, 9};
      case 0x0178: return {{u'Y', 0}, 4};
      default: return {{c, 0}, 0};
    }
  }
  if (c < 0xC0) return {{c, 0}, 0};
  // 0xC0..0xFF: upper and lower case share the accent rank.
  char16_t upper = (c >= 0xE0 && c != 0xF7 && c != 0xFF) ? static_cast<char16_t>(c - 0x20) : c;
  switch (upper) {
    case 0xC0: return {{u'A', 0}, 2};     // À
    case 0xC1: return {{u'A', 0}, 1};     // Á
    case 0xC2: return {{u'A', 0}, 3};     // Â
    case 0xC3: return {{u'A', 0}, 5};     // Ã
    case 0xC4: return {{u'A', 0}, 4};     // Ä
    case 0xC5: return {{u'A', 0}, 7};     // Å
    case 0xC6: return {{u'A', u'E'}, 9};  // Æ
    case 0xC7: return {{u'C', 0}, 8};     // Ç
    case 0xC8: return {{u'E', 0}, 2};
    case 0xC9: return {{u'E', 0}, 1};
    case 0xCA: return {{u'E', 0}, 3};
    case 0xCB: return {{u'E', 0}, 4};
    case 0xCC: return {{u'I', 0}, 2};
    case 0xCD: return {{u'I', 0}, 1};
    case 0xCE: return {{u'I', 0}, 3};
    case 0xCF: return {{u'I', 0}, 4};
    case 0xD0: return {{u'D', 0}, 9};  // Ð
    case 0xD1: return {{u'N', 0}, 5};  // Ñ
    case 0xD2: return {{u'O', 0}, 2};
    case 0xD3: return {{u'O', 0}, 1};
    case 0xD4: return {{u'O', 0}, 3};
    case 0xD5: return {{u'O', 0}, 5};
    case 0xD6: return {{u'O', 0}, 4};
    case 0xD8: return {{u'O', 0}, 9};  // Ø
    case 0xD9: return {{u'U', 0}, 2};
    case 0xDA: return {{u'U', 0}, 1};
    case 0xDB: return {{u'U', 0}, 3};
    case 0xDC: return {{u'U', 0}, 4};
    case 0xDD: return {{u'Y', 0}, 1};
    case 0xDE: return {{u'T', u'H'}, 9};  // Þ
    case 0xDF: return {{u'S', u'S'}, 9};  // ß
    case 0xFF: return {{u'Y', 0}, 4};     // ÿ
    default: return {{c, 0}, 0};
  }
}

// The two levels of a text: base letters, then accents.
void Levels(const std::u16string& text, std::u16string& primary, std::u16string& accents) {
  primary.clear();
  accents.clear();
  for (char16_t c : text) {
    Weight w = WeightOf(c);
    primary.push_back(w.primary[0]);
    accents.push_back(w.accent);
    if (w.primary[1] != 0) {
      primary.push_back(w.primary[1]);
      accents.push_back(w.accent);
    }
  }
}

// The text's index key, from the characters the engine has sort codes for; what the key
// leaves undecided (other characters, trailing blanks, case) the two levels above settle.
// Texts those levels call equal always have equal keys, so equality stays theirs.
std::vector<std::uint8_t> IndexOrderKey(const std::u16string& text) {
  std::u16string coded;
  coded.reserve(text.size());
  for (char16_t c : text) {
    if (c == 0x0178) c = 0x00FF;  // Ÿ keys as ÿ, the small letter it equals
    if (c <= 0x00FF) coded.push_back(c);
  }
  std::vector<std::uint8_t> key;
  Jet::AppendTextSortKey(key, coded);
  return key;
}

}  // namespace

int CompareText(const std::u16string& a, const std::u16string& b) {
  const std::vector<std::uint8_t> keyA = IndexOrderKey(a);
  const std::vector<std::uint8_t> keyB = IndexOrderKey(b);
  if (keyA != keyB) return keyA < keyB ? -1 : 1;
  std::u16string primaryA, accentsA, primaryB, accentsB;
  Levels(a, primaryA, accentsA);
  Levels(b, primaryB, accentsB);
  int order = primaryA.compare(primaryB);
  if (order != 0) return order;
  return accentsA.compare(accentsB);
}

std::u16string CollationKey(const std::u16string& text) {
  std::u16string primary, accents;
  Levels(text, primary, accents);
  return primary + u'\0' + accents;
}

}  // namespace Sql
