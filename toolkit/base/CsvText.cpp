#include "toolkit/base/CsvText.h"

namespace LumoUtility {
namespace {

// The digits of `magnitude`, at least `width` of them, written backwards from `end`.
char* DigitsBackwards(char* end, std::uint64_t magnitude, int width) {
  do {
    *--end = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    --width;
  } while (magnitude != 0 || width > 0);
  return end;
}

// Through append(pointer, size): the (first, last) form goes the slower way of a replace.
void AppendRange(std::string& out, const char* start, const char* end) {
  out.append(start, static_cast<std::size_t>(end - start));
}

std::uint64_t Magnitude(std::int64_t value) {
  // Through unsigned arithmetic, so INT64_MIN has a magnitude too.
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

void AppendInteger(std::string& out, std::int64_t value) {
  char digits[24];
  char* end = digits + sizeof digits;
  char* start = DigitsBackwards(end, Magnitude(value), 1);
  if (value < 0) *--start = '-';
  AppendRange(out, start, end);
}

void AppendZeroPadded(std::string& out, std::uint32_t value, int width) {
  char digits[24];
  char* end = digits + sizeof digits;
  AppendRange(out, DigitsBackwards(end, value, width < 20 ? width : 20), end);
}

void AppendDecimal(std::string& out, std::int64_t scaled, int decimals, char point) {
  std::uint64_t magnitude = Magnitude(scaled);
  std::uint64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  if (scaled < 0) out.push_back('-');
  char digits[48];
  char* end = digits + sizeof digits;
  char* start = DigitsBackwards(end, magnitude / unit, 1);
  AppendRange(out, start, end);
  if (decimals <= 0) return;
  out.push_back(point);
  AppendRange(out, DigitsBackwards(end, magnitude % unit, decimals), end);
}

void AppendDateAndTime(std::string& out, const DateTimeValue& value) {
  // Filled from the right into one piece of stack, then appended once.
  char text[40];  // six fields of up to 5 digits and their separators
  char* end = text + sizeof text;
  char* start = DigitsBackwards(end, value.second, 2);
  *--start = ':';
  start = DigitsBackwards(start, value.minute, 2);
  *--start = ':';
  start = DigitsBackwards(start, value.hour, 2);
  *--start = ' ';
  start = DigitsBackwards(start, value.day, 2);
  *--start = '-';
  start = DigitsBackwards(start, value.month, 2);
  *--start = '-';
  start = DigitsBackwards(start, value.year, 4);
  AppendRange(out, start, end);
}

void AppendDayMonthYear(std::string& out, const DateTimeValue& value) {
  AppendZeroPadded(out, value.day, 2);
  out.push_back('/');
  AppendZeroPadded(out, value.month, 2);
  out.push_back('/');
  AppendInteger(out, value.year);
}

CsvWriter::CsvWriter(CsvSink& sink, char separator, std::string_view lineEnd)
    : sink_(sink), separator_(separator), lineEnd_(lineEnd) {
  buffer_.reserve(kBlockSize + 4096);
}

std::string& CsvWriter::Unquoted() {
  if (!firstField_) buffer_.push_back(separator_);
  firstField_ = false;
  return buffer_;
}

void CsvWriter::Text(std::string_view text) {
  BeginText().append(text);
  EndText();
}

std::string& CsvWriter::BeginText() {
  Unquoted();
  textStart_ = buffer_.size();
  return buffer_;
}

void CsvWriter::EndText() {
  std::size_t end = buffer_.size();
  std::size_t i = textStart_;
  while (i < end) {
    char c = buffer_[i];
    if (c == separator_ || c == '"' || c == '\r' || c == '\n') break;
    ++i;
  }
  if (i == end) return;  // nearly always: no quotes needed
  std::string text = buffer_.substr(textStart_);
  buffer_.resize(textStart_);
  buffer_.push_back('"');
  for (char c : text) {
    if (c == '"') buffer_.push_back('"');
    buffer_.push_back(c);
  }
  buffer_.push_back('"');
}

void CsvWriter::EndLine() {
  buffer_.append(lineEnd_);
  firstField_ = true;
  lineStart_ = buffer_.size();
  if (lineStart_ >= kBlockSize) Flush();
}

void CsvWriter::DropLine() {
  buffer_.resize(lineStart_);
  firstField_ = true;
}

void CsvWriter::Flush() {
  if (lineStart_ == 0) return;
  // Only ended lines go out; a line being written stays (and keeps the buffer's room).
  sink_.Write(buffer_.data(), lineStart_);
  buffer_.erase(0, lineStart_);
  lineStart_ = 0;
}

}  // namespace LumoUtility
