#include "toolkit/base/NumberPunctuation.h"

#include <climits>

namespace LumoUtility {
namespace {

class Punctuation : public std::numpunct<char> {
 public:
  explicit Punctuation(const NumberPunctuation& p) : punctuation_(p) {}

 protected:
  char do_decimal_point() const override { return punctuation_.decimalPoint; }
  char do_thousands_sep() const override { return punctuation_.thousandsSeparator; }
  std::string do_grouping() const override { return punctuation_.grouping; }

 private:
  NumberPunctuation punctuation_;
};

}  // namespace

std::locale LocaleWithPunctuation(const NumberPunctuation& punctuation) {
  // The locale takes ownership of the facet.
  return std::locale(std::locale::classic(), new Punctuation(punctuation));
}

std::string GroupingFromWindowsPattern(const std::string& pattern) {
  std::string grouping;
  bool repeatLast = false;
  std::size_t start = 0;
  while (start <= pattern.size()) {
    std::size_t end = pattern.find(';', start);
    if (end == std::string::npos) end = pattern.size();
    std::string field = pattern.substr(start, end - start);
    int size = 0;
    bool digits = !field.empty() && field.size() <= 2;
    for (char c : field) {
      if (c < '0' || c > '9') digits = false;
      if (digits) size = size * 10 + (c - '0');
    }
    if (!digits) return "";
    if (size == 0) {
      repeatLast = true;
      break;
    }
    grouping.push_back(static_cast<char>(size));
    start = end + 1;
  }
  if (!grouping.empty() && !repeatLast) grouping.push_back(CHAR_MAX);
  return grouping;
}

}  // namespace LumoUtility
