// The one summary every benchmark prints: median and spread of alternated runs, and a
// figure's verdict beside its goal. Portable: used by the native and the Wine benchmarks.
#pragma once
#include <string>
#include <vector>

struct Spread {
  double median = 0;
  double lowQuartile = 0;
  double highQuartile = 0;
  double minimum = 0;
  double maximum = 0;
};

Spread Summarise(std::vector<double> values);

// "45.1 ms (44.0-47.3)": the median and the range of the runs, with enough digits for
// the figure's size.
std::string FormatMs(const Spread& spread);
std::string FormatNumber(double value);

// "met" or "NOT met".
const char* Verdict(bool met);
