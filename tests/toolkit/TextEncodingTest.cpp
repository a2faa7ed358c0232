#include "toolkit/base/TextEncoding.h"

#include <gtest/gtest.h>

using LumoUtility::NarrowText;
using LumoUtility::WidenText;

TEST(TextEncoding, ItalianTextKeepsItsLetters) {
  // Literals are Windows-1252 in the Windows build and UTF-8 natively, so spell the bytes.
  const std::string verra = "verr\xE0 gi\xE0 \xE8 \xE9 \xEC \xF2 \xF9";
  EXPECT_EQ(WidenText(verra), L"verr\u00E0 gi\u00E0 \u00E8 \u00E9 \u00EC \u00F2 \u00F9");
  EXPECT_EQ(NarrowText(WidenText(verra)), verra);
}

TEST(TextEncoding, EuroSignAndTypographicQuotesSurviveBothWays) {
  EXPECT_EQ(WidenText("\x80"), L"\u20AC");
  EXPECT_EQ(WidenText("\x92"), L"\u2019");
  EXPECT_EQ(NarrowText(L"\u20AC 5, l\u2019auto \u201Cnuova\u201D"),
            "\x80 5, l\x92"
            "auto \x93nuova\x94");
}

TEST(TextEncoding, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::wstring wide = WidenText(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(NarrowText(wide), all);
}

TEST(TextEncoding, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // Keeping the low 8 bits would give a NUL (U+0100), a line break (U+010A), "¬" (U+20AC
  // low byte is 0xAC): all must become "?".
  EXPECT_EQ(NarrowText(L"\u0100"), "?");
  EXPECT_EQ(NarrowText(L"a\u010Ab"), "a?b");
  EXPECT_EQ(NarrowText(L"\u0141ukasz"), "?ukasz");
  EXPECT_EQ(NarrowText(L"\u4E2D\u6587"), "??");
  // A character beyond the basic plane is one "?", as is a lone surrogate.
  std::wstring emoji;
  if (sizeof(wchar_t) == 2) {
    emoji = {wchar_t(0xD83D), wchar_t(0xDE97)};
  } else {
    emoji = {wchar_t(0x1F697)};
  }
  EXPECT_EQ(NarrowText(L"x" + emoji + L"y"), "x?y");
  EXPECT_EQ(NarrowText(std::wstring(1, wchar_t(0xD800)) + L"z"), "?z");
}

TEST(TextEncoding, Utf16FormsMatchTheWideOnes) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string utf16 = LumoUtility::WidenToUtf16(all);
  std::wstring wide = WidenText(all);
  ASSERT_EQ(utf16.size(), wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) EXPECT_EQ(static_cast<wchar_t>(utf16[i]), wide[i]);
  EXPECT_EQ(LumoUtility::NarrowUtf16(utf16), all);
  EXPECT_EQ(LumoUtility::NarrowUtf16(u"\u0141\U0001F697\u20AC"), "??\x80");
}

TEST(TextEncoding, Utf8OfEveryCodePageRange) {
  const struct {
    std::string text;
    std::string utf8;
  } cases[] = {
      {"Olio 5W30", "Olio 5W30"},
      {"\x80", "\xE2\x82\xAC"},                        // euro sign, three bytes
      {"caff\xE8 pi\xF9", "caff\xC3\xA8 pi\xC3\xB9"},  // accented letters, two bytes
      {"\x92\x93", "\xE2\x80\x99\xE2\x80\x9C"},        // typographic quotes
      {"\x81\xA0\xFF", "\xC2\x81\xC2\xA0\xC3\xBF"},    // undefined byte, no-break space, ÿ
  };
  for (const auto& c : cases) EXPECT_EQ(LumoUtility::ToUtf8(c.text), c.utf8) << c.text;
}
