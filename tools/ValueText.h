#pragma once
#include <cstdint>
#include <string>

#include "data/jet/Value.h"

// Text forms of engine values for developer tools (jetdump) and the tests that compare
// the engine with other readers. Locale-independent: "." is the decimal point. Each kind
// has one formatting, an Append function that jetdump also calls on a row's stored bytes.

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);
void AppendUtf8(std::string& out, const std::u16string& text);

// One value as text: NULL empty, Yes/No "1"/"0", dates "YYYY-MM-DD HH:MM:SS" (the raw
// number when outside years 100-9999), Currency with four decimals, Single and Double in
// their shortest exact form, unsupported values as "[type name]".
std::string FormatValue(const Jet::Value& value);

void AppendShortest(std::string& out, double number);
void AppendShortest(std::string& out, float number);
void AppendCurrency(std::string& out, std::int64_t tenThousandths);
void AppendOleDate(std::string& out, double oleDate);
void AppendUnsupported(std::string& out, std::uint8_t typeCode);
