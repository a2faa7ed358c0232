#include "data/jet/TextSortKey.h"

#include "data/jet/JetError.h"

namespace Jet {
namespace {

constexpr std::uint8_t kEndOfText = 0x01;
constexpr std::size_t kMaxKeyCharacters = 255;

// General (legacy) sort codes of U+0000..U+00FF, as Access 2000 writes them in index
// keys: a simple character puts one or two bytes into the key's main part; an
// international one (an accented letter) puts its base letter's code there and an extra
// code into the key's second part; an unprintable one (apostrophe, hyphen, control
// characters) only goes to the key's trailing list; U+0000 is ignored.
enum CharKind : std::uint8_t { kIgnored, kSimple, kInternational, kUnprintable };
struct CharCode {
  CharKind kind;
  std::uint8_t first;   // main-part byte, or the unprintable code
  std::uint8_t second;  // simple: second main-part byte (0 = none); international: extra code
};
constexpr CharCode kLatin1Codes[256] = {
    // One row per two characters, aligned as a table.
    // clang-format off
    {kIgnored, 0x00, 0x00},       {kUnprintable, 0x03, 0x00},    // U+0000
    {kUnprintable, 0x04, 0x00},   {kUnprintable, 0x05, 0x00},    // U+0002
    {kUnprintable, 0x06, 0x00},   {kUnprintable, 0x07, 0x00},    // U+0004
    {kUnprintable, 0x08, 0x00},   {kUnprintable, 0x09, 0x00},    // U+0006
    {kUnprintable, 0x0A, 0x00},   {kSimple, 0x08, 0x03},         // U+0008
    {kSimple, 0x08, 0x04},        {kSimple, 0x08, 0x05},         // U+000A
    {kSimple, 0x08, 0x06},        {kSimple, 0x08, 0x07},         // U+000C
    {kUnprintable, 0x0B, 0x00},   {kUnprintable, 0x0C, 0x00},    // U+000E
    {kUnprintable, 0x0D, 0x00},   {kUnprintable, 0x0E, 0x00},    // U+0010
    {kUnprintable, 0x0F, 0x00},   {kUnprintable, 0x10, 0x00},    // U+0012
    {kUnprintable, 0x11, 0x00},   {kUnprintable, 0x12, 0x00},    // U+0014
    {kUnprintable, 0x13, 0x00},   {kUnprintable, 0x14, 0x00},    // U+0016
    {kUnprintable, 0x15, 0x00},   {kUnprintable, 0x16, 0x00},    // U+0018
    {kUnprintable, 0x17, 0x00},   {kUnprintable, 0x18, 0x00},    // U+001A
    {kUnprintable, 0x19, 0x00},   {kUnprintable, 0x1A, 0x00},    // U+001C
    {kUnprintable, 0x1B, 0x00},   {kUnprintable, 0x1C, 0x00},    // U+001E
    {kSimple, 0x07, 0x00},        {kSimple, 0x09, 0x00},         // U+0020
    {kSimple, 0x0A, 0x00},        {kSimple, 0x0C, 0x00},         // U+0022
    {kSimple, 0x0E, 0x00},        {kSimple, 0x10, 0x00},         // U+0024
    {kSimple, 0x12, 0x00},        {kUnprintable, 0x80, 0x00},    // U+0026
    {kSimple, 0x14, 0x00},        {kSimple, 0x16, 0x00},         // U+0028
    {kSimple, 0x18, 0x00},        {kSimple, 0x2C, 0x00},         // U+002A
    {kSimple, 0x1A, 0x00},        {kUnprintable, 0x82, 0x00},    // U+002C
    {kSimple, 0x1C, 0x00},        {kSimple, 0x1E, 0x00},         // U+002E
    {kSimple, 0x36, 0x00},        {kSimple, 0x38, 0x00},         // U+0030
    {kSimple, 0x3A, 0x00},        {kSimple, 0x3C, 0x00},         // U+0032
    {kSimple, 0x3E, 0x00},        {kSimple, 0x40, 0x00},         // U+0034
    {kSimple, 0x42, 0x00},        {kSimple, 0x44, 0x00},         // U+0036
    {kSimple, 0x46, 0x00},        {kSimple, 0x48, 0x00},         // U+0038
    {kSimple, 0x20, 0x00},        {kSimple, 0x22, 0x00},         // U+003A
    {kSimple, 0x2E, 0x00},        {kSimple, 0x30, 0x00},         // U+003C
    {kSimple, 0x32, 0x00},        {kSimple, 0x24, 0x00},         // U+003E
    {kSimple, 0x26, 0x00},        {kSimple, 0x4A, 0x00},         // U+0040
    {kSimple, 0x4C, 0x00},        {kSimple, 0x4D, 0x00},         // U+0042
    {kSimple, 0x4F, 0x00},        {kSimple, 0x51, 0x00},         // U+0044
    {kSimple, 0x53, 0x00},        {kSimple, 0x55, 0x00},         // U+0046
    {kSimple, 0x57, 0x00},        {kSimple, 0x59, 0x00},         // U+0048
    {kSimple, 0x5B, 0x00},        {kSimple, 0x5C, 0x00},         // U+004A
    {kSimple, 0x5E, 0x00},        {kSimple, 0x60, 0x00},         // U+004C
    {kSimple, 0x62, 0x00},        {kSimple, 0x64, 0x00},         // U+004E
    {kSimple, 0x66, 0x00},        {kSimple, 0x68, 0x00},         // U+0050
    {kSimple, 0x69, 0x00},        {kSimple, 0x6B, 0x00},         // U+0052
    {kSimple, 0x6D, 0x00},        {kSimple, 0x6F, 0x00},         // U+0054
    {kSimple, 0x71, 0x00},        {kSimple, 0x73, 0x00},         // U+0056
    {kSimple, 0x75, 0x00},        {kSimple, 0x76, 0x00},         // U+0058
    {kSimple, 0x78, 0x00},        {kSimple, 0x27, 0x00},         // U+005A
    {kSimple, 0x29, 0x00},        {kSimple, 0x2A, 0x00},         // U+005C
    {kSimple, 0x2B, 0x02},        {kSimple, 0x2B, 0x03},         // U+005E
    {kSimple, 0x2B, 0x07},        {kSimple, 0x4A, 0x00},         // U+0060
    {kSimple, 0x4C, 0x00},        {kSimple, 0x4D, 0x00},         // U+0062
    {kSimple, 0x4F, 0x00},        {kSimple, 0x51, 0x00},         // U+0064
    {kSimple, 0x53, 0x00},        {kSimple, 0x55, 0x00},         // U+0066
    {kSimple, 0x57, 0x00},        {kSimple, 0x59, 0x00},         // U+0068
    {kSimple, 0x5B, 0x00},        {kSimple, 0x5C, 0x00},         // U+006A
    {kSimple, 0x5E, 0x00},        {kSimple, 0x60, 0x00},         // U+006C
    {kSimple, 0x62, 0x00},        {kSimple, 0x64, 0x00},         // U+006E
    {kSimple, 0x66, 0x00},        {kSimple, 0x68, 0x00},         // U+0070
    {kSimple, 0x69, 0x00},        {kSimple, 0x6B, 0x00},         // U+0072
    {kSimple, 0x6D, 0x00},        {kSimple, 0x6F, 0x00},         // U+0074
    {kSimple, 0x71, 0x00},        {kSimple, 0x73, 0x00},         // U+0076
    {kSimple, 0x75, 0x00},        {kSimple, 0x76, 0x00},         // U+0078
    {kSimple, 0x78, 0x00},        {kSimple, 0x2B, 0x09},         // U+007A
    {kSimple, 0x2B, 0x0B},        {kSimple, 0x2B, 0x0D},         // U+007C
    {kSimple, 0x2B, 0x0F},        {kUnprintable, 0x1D, 0x00},    // U+007E
    {kUnprintable, 0x1E, 0x00},   {kUnprintable, 0x1F, 0x00},    // U+0080
    {kUnprintable, 0x20, 0x00},   {kUnprintable, 0x21, 0x00},    // U+0082
    {kUnprintable, 0x22, 0x00},   {kUnprintable, 0x23, 0x00},    // U+0084
    {kUnprintable, 0x24, 0x00},   {kUnprintable, 0x25, 0x00},    // U+0086
    {kUnprintable, 0x26, 0x00},   {kUnprintable, 0x27, 0x00},    // U+0088
    {kUnprintable, 0x28, 0x00},   {kUnprintable, 0x29, 0x00},    // U+008A
    {kUnprintable, 0x2A, 0x00},   {kUnprintable, 0x2B, 0x00},    // U+008C
    {kUnprintable, 0x2C, 0x00},   {kUnprintable, 0x2D, 0x00},    // U+008E
    {kUnprintable, 0x2E, 0x00},   {kUnprintable, 0x2F, 0x00},    // U+0090
    {kUnprintable, 0x30, 0x00},   {kUnprintable, 0x31, 0x00},    // U+0092
    {kUnprintable, 0x32, 0x00},   {kUnprintable, 0x33, 0x00},    // U+0094
    {kUnprintable, 0x34, 0x00},   {kUnprintable, 0x35, 0x00},    // U+0096
    {kUnprintable, 0x36, 0x00},   {kUnprintable, 0x37, 0x00},    // U+0098
    {kUnprintable, 0x38, 0x00},   {kUnprintable, 0x39, 0x00},    // U+009A
    {kUnprintable, 0x3A, 0x00},   {kUnprintable, 0x3B, 0x00},    // U+009C
    {kUnprintable, 0x3C, 0x00},   {kUnprintable, 0x3D, 0x00},    // U+009E
    {kSimple, 0x08, 0x02},        {kSimple, 0x2B, 0x10},         // U+00A0
    {kSimple, 0x34, 0xA6},        {kSimple, 0x34, 0xA7},         // U+00A2
    {kSimple, 0x34, 0xA8},        {kSimple, 0x34, 0xA9},         // U+00A4
    {kSimple, 0x2B, 0x11},        {kSimple, 0x34, 0xAA},         // U+00A6
    {kSimple, 0x2B, 0x12},        {kSimple, 0x34, 0xAB},         // U+00A8
    {kInternational, 0x4A, 0x03}, {kSimple, 0x33, 0x05},         // U+00AA
    {kSimple, 0x34, 0xAC},        {kUnprintable, 0x83, 0x00},    // U+00AC
    {kSimple, 0x34, 0xAD},        {kSimple, 0x2B, 0x13},         // U+00AE
    {kSimple, 0x34, 0xAE},        {kSimple, 0x33, 0x04},         // U+00B0
    {kSimple, 0x3A, 0x00},        {kSimple, 0x3C, 0x00},         // U+00B2
    {kSimple, 0x2B, 0x14},        {kSimple, 0x34, 0xAF},         // U+00B4
    {kSimple, 0x34, 0xB0},        {kSimple, 0x34, 0xB1},         // U+00B6
    {kSimple, 0x2B, 0x15},        {kSimple, 0x38, 0x00},         // U+00B8
    {kInternational, 0x64, 0x03}, {kSimple, 0x33, 0x07},         // U+00BA
    {kSimple, 0x37, 0x12},        {kSimple, 0x37, 0x16},         // U+00BC
    {kSimple, 0x37, 0x1A},        {kSimple, 0x2B, 0x16},         // U+00BE
    {kInternational, 0x4A, 0x0F}, {kInternational, 0x4A, 0x0E},  // U+00C0
    {kInternational, 0x4A, 0x12}, {kInternational, 0x4A, 0x19},  // U+00C2
    {kInternational, 0x4A, 0x13}, {kInternational, 0x4A, 0x1A},  // U+00C4
    {kSimple, 0x4A, 0x51},        {kInternational, 0x4D, 0x1C},  // U+00C6
    {kInternational, 0x51, 0x0F}, {kInternational, 0x51, 0x0E},  // U+00C8
    {kInternational, 0x51, 0x12}, {kInternational, 0x51, 0x13},  // U+00CA
    {kInternational, 0x59, 0x0F}, {kInternational, 0x59, 0x0E},  // U+00CC
    {kInternational, 0x59, 0x12}, {kInternational, 0x59, 0x13},  // U+00CE
    {kInternational, 0x4F, 0x68}, {kInternational, 0x62, 0x19},  // U+00D0
    {kInternational, 0x64, 0x0F}, {kInternational, 0x64, 0x0E},  // U+00D2
    {kInternational, 0x64, 0x12}, {kInternational, 0x64, 0x19},  // U+00D4
    {kInternational, 0x64, 0x13}, {kSimple, 0x33, 0x09},         // U+00D6
    {kInternational, 0x64, 0x21}, {kInternational, 0x6F, 0x0F},  // U+00D8
    {kInternational, 0x6F, 0x0E}, {kInternational, 0x6F, 0x12},  // U+00DA
    {kInternational, 0x6F, 0x13}, {kInternational, 0x76, 0x0E},  // U+00DC
    {kSimple, 0x6D, 0x57},        {kSimple, 0x6B, 0x6B},         // U+00DE
    {kInternational, 0x4A, 0x0F}, {kInternational, 0x4A, 0x0E},  // U+00E0
    {kInternational, 0x4A, 0x12}, {kInternational, 0x4A, 0x19},  // U+00E2
    {kInternational, 0x4A, 0x13}, {kInternational, 0x4A, 0x1A},  // U+00E4
    {kSimple, 0x4A, 0x51},        {kInternational, 0x4D, 0x1C},  // U+00E6
    {kInternational, 0x51, 0x0F}, {kInternational, 0x51, 0x0E},  // U+00E8
    {kInternational, 0x51, 0x12}, {kInternational, 0x51, 0x13},  // U+00EA
    {kInternational, 0x59, 0x0F}, {kInternational, 0x59, 0x0E},  // U+00EC
    {kInternational, 0x59, 0x12}, {kInternational, 0x59, 0x13},  // U+00EE
    {kInternational, 0x4F, 0x68}, {kInternational, 0x62, 0x19},  // U+00F0
    {kInternational, 0x64, 0x0F}, {kInternational, 0x64, 0x0E},  // U+00F2
    {kInternational, 0x64, 0x12}, {kInternational, 0x64, 0x19},  // U+00F4
    {kInternational, 0x64, 0x13}, {kSimple, 0x33, 0x0A},         // U+00F6
    {kInternational, 0x64, 0x21}, {kInternational, 0x6F, 0x0F},  // U+00F8
    {kInternational, 0x6F, 0x0E}, {kInternational, 0x6F, 0x12},  // U+00FA
    {kInternational, 0x6F, 0x13}, {kInternational, 0x76, 0x0E},  // U+00FC
    {kSimple, 0x6D, 0x57},        {kInternational, 0x76, 0x13},  // U+00FE
    // clang-format on
};
// Characters between two international ones that have no extra code of their own.
constexpr std::uint8_t kNoExtraCode = 0x02;

}  // namespace

void AppendTextSortKey(std::vector<std::uint8_t>& key, std::u16string text) {
  while (!text.empty() && text.back() == u' ') text.pop_back();
  if (text.size() > kMaxKeyCharacters) text.resize(kMaxKeyCharacters);
  // one byte per main-part character up to the last international one
  std::vector<std::uint8_t> extra;
  std::vector<std::pair<std::size_t, std::uint8_t>> unprintable;  // (main-part position, code)
  std::size_t position = 0;
  for (char16_t c : text) {
    if (c > 0xFF) {
      throw JetError(JetErrorKind::kUnsupportedWrite,
                     "an indexed text holds a character (U+" + std::to_string(c) +
                         ") whose sort order the engine cannot write; Latin-1 characters only");
    }
    const CharCode& code = kLatin1Codes[c];
    switch (code.kind) {
      case kIgnored: break;
      case kUnprintable: unprintable.emplace_back(position, code.first); break;
      case kSimple:
        key.push_back(code.first);
        if (code.second != 0) key.push_back(code.second);
        ++position;
        break;
      case kInternational:
        key.push_back(code.first);
        extra.resize(position, kNoExtraCode);
        extra.push_back(code.second);
        ++position;
        break;
    }
  }
  key.push_back(kEndOfText);
  while (!extra.empty() && extra.back() <= kNoExtraCode) extra.pop_back();
  key.insert(key.end(), extra.begin(), extra.end());
  if (!unprintable.empty()) {
    key.push_back(kEndOfText);
    key.push_back(kEndOfText);
    key.push_back(kEndOfText);
    for (const auto& entry : unprintable) {
      std::uint16_t where = static_cast<std::uint16_t>(0x8000 | (7 + 4 * entry.first));
      key.push_back(static_cast<std::uint8_t>(where >> 8));
      key.push_back(static_cast<std::uint8_t>(where));
      key.push_back(0x06);
      key.push_back(entry.second);
    }
  }
  key.push_back(0x00);
}

}  // namespace Jet
