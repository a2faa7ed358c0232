#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/base/DateTimeValue.h"

namespace LumoUtility {

// CSV files as spreadsheet programs read them back, written fast: every field is appended
// to one reusable buffer, which goes to the sink in large blocks.

// Digits without printf (the export writes millions of them). Each appends to `out`.
void AppendInteger(std::string& out, std::int64_t value);
// At least `width` digits, zeros in front.
void AppendZeroPadded(std::string& out, std::uint32_t value, int width);
// `scaled` / 10^decimals with exactly `decimals` digits after `point`: -12345, 4 is
// "-1.2345".
void AppendDecimal(std::string& out, std::int64_t scaled, int decimals, char point);
// YYYY-MM-DD HH:MM:SS.
void AppendDateAndTime(std::string& out, const DateTimeValue& value);
// DD/MM/YYYY (the year unpadded).
void AppendDayMonthYear(std::string& out, const DateTimeValue& value);

// Where a writer's blocks go.
class CsvSink {
 public:
  virtual ~CsvSink() = default;
  virtual void Write(const char* bytes, std::size_t size) = 0;
};

// Collects the whole file in a string.
class StringCsvSink : public CsvSink {
 public:
  explicit StringCsvSink(std::string& out) : out_(out) {}
  void Write(const char* bytes, std::size_t size) override { out_.append(bytes, size); }

 private:
  std::string& out_;
};

class CsvWriter {
 public:
  // The separator must be none of the characters of a number or a date ("0-9 +-.:/e").
  CsvWriter(CsvSink& sink, char separator, std::string_view lineEnd);
  CsvWriter(const CsvWriter&) = delete;
  CsvWriter& operator=(const CsvWriter&) = delete;

  // The text as it is when it holds neither the separator, a double quote, CR nor LF;
  // otherwise enclosed in double quotes with every inner double quote doubled.
  void Text(std::string_view text);
  // The same for text built in place: append it to the buffer BeginText gives, then call
  // EndText, which quotes it when it must.
  std::string& BeginText();
  void EndText();
  // A field that never needs quotes (a number, a date): the buffer to append it to.
  std::string& Unquoted();
  void Integer(std::int64_t value) { AppendInteger(Unquoted(), value); }

  // Ends the line; a full block goes to the sink.
  void EndLine();
  // Drops the fields of the line not yet ended (a row that could not be read whole).
  void DropLine();
  // Sends the ended lines to the sink. Not done by the destructor: a sink may throw.
  void Flush();

 private:
  static constexpr std::size_t kBlockSize = 1 << 16;

  CsvSink& sink_;
  const char separator_;
  const std::string lineEnd_;
  std::string buffer_;
  std::size_t lineStart_ = 0;  // the end of the last ended line
  std::size_t textStart_ = 0;
  bool firstField_ = true;
};

}  // namespace LumoUtility
