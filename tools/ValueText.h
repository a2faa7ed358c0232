#pragma once
#include <string>

#include "data/jet/Value.h"

// Text forms of engine values for developer tools (jetdump) and the tests that compare
// the engine with other readers. Locale-independent: "." is the decimal point.

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

// One value as text: NULL empty, Yes/No "1"/"0", dates "YYYY-MM-DD HH:MM:SS" (the raw
// number when outside years 100-9999), Currency with four decimals, Single and Double in
// their shortest exact form, unsupported values as "[type name]".
std::string FormatValue(const Jet::Value& value);

// A CSV field quoted as RFC 4180 asks: in double quotes, with quotes doubled, when it
// holds a comma, a quote, a CR or an LF.
std::string QuoteCsvField(const std::string& field);
