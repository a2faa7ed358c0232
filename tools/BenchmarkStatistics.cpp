#include "tools/BenchmarkStatistics.h"

#include <algorithm>
#include <cstdio>

namespace {

double Quantile(const std::vector<double>& sorted, double q) {
  const double position = q * static_cast<double>(sorted.size() - 1);
  const size_t below = static_cast<size_t>(position);
  const size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (position - static_cast<double>(below));
}

}  // namespace

Spread Summarise(std::vector<double> values) {
  Spread spread;
  if (values.empty()) return spread;
  std::sort(values.begin(), values.end());
  spread.median = Quantile(values, 0.5);
  spread.lowQuartile = Quantile(values, 0.25);
  spread.highQuartile = Quantile(values, 0.75);
  spread.minimum = values.front();
  spread.maximum = values.back();
  return spread;
}

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : value >= 10 ? "%.1f" : "%.2f", value);
  return text;
}

std::string FormatMs(const Spread& spread) {
  return FormatNumber(spread.median) + " ms (" + FormatNumber(spread.minimum) + "-" +
         FormatNumber(spread.maximum) + ")";
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }
