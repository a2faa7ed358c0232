#pragma once
#include <string>

#include "data/jet/ByteView.h"

namespace Jet {

// Decodes stored Text/Memo bytes to UTF-16: plain UTF-16LE, or the compressed form that
// starts FF FE and switches between one byte per character (U+0000..U+00FF) and two at
// every 0x00 byte. The compressed form is recognised whatever the column's compression
// flag says, because Access compresses Memo values of columns that do not carry it.
std::u16string DecodeText(const ByteView& bytes);
// The same into `text` (replacing what it held), whose room is kept from call to call.
void DecodeText(const ByteView& bytes, std::u16string& text);
// True when the bytes are the compressed form of ASCII text only (the usual case), which
// `ascii` then views: those bytes are the text in ASCII and UTF-8 alike, with no decoding.
bool CompressedAscii(const ByteView& bytes, ByteView& ascii);

}  // namespace Jet
