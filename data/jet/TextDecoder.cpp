#include "data/jet/TextDecoder.h"

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"

namespace Jet {

std::u16string DecodeText(const ByteView& bytes) {
  std::u16string text;
  DecodeText(bytes, text);
  return text;
}

void DecodeText(const ByteView& bytes, std::u16string& text) {
  std::size_t size = bytes.Size();
  const std::uint8_t* data = bytes.Data();
  bool compressed = size >= 2 && data[0] == Format::kCompressedTextMarker[0] &&
                    data[1] == Format::kCompressedTextMarker[1];
  if (!compressed) {
    if (size % 2 != 0) ThrowCorrupt(std::string(bytes.What()) + ": text of odd byte length");
    text.resize(size / 2);
    for (std::size_t i = 0; i < size; i += 2)
      text[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return;
  }
  // Written through a pointer into room for the longest result, then cut: a scan decodes
  // every text of a table through here.
  text.resize(size);
  char16_t* out = &text[0];
  bool oneByte = true;
  std::size_t i = 2;
  while (i < size) {
    std::uint8_t byte = data[i];
    if (byte == 0x00) {
      oneByte = !oneByte;
      ++i;
    } else if (oneByte) {
      *out++ = static_cast<char16_t>(byte);
      ++i;
    } else {
      // A lone trailing byte in two-byte mode carries no character.
      if (i + 1 >= size) break;
      *out++ = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
      i += 2;
    }
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
}

bool CompressedAscii(const ByteView& bytes, ByteView& ascii) {
  std::size_t size = bytes.Size();
  const std::uint8_t* data = bytes.Data();
  if (size < 2 || data[0] != Format::kCompressedTextMarker[0] ||
      data[1] != Format::kCompressedTextMarker[1]) {
    return false;
  }
  // A 0x00 switches to two bytes per character; 0x80 and above are Latin-1, not ASCII.
  for (std::size_t i = 2; i < size; ++i) {
    if (data[i] == 0x00 || data[i] >= 0x80) return false;
  }
  ascii = bytes.Sub(2, size - 2);
  return true;
}

}  // namespace Jet
