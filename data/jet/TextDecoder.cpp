#include "data/jet/TextDecoder.h"

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"

namespace Jet {

std::u16string DecodeText(const ByteView& bytes) {
  std::u16string text;
  std::size_t size = bytes.Size();
  bool compressed = size >= 2 && bytes.U8(0) == Format::kCompressedTextMarker[0] &&
                    bytes.U8(1) == Format::kCompressedTextMarker[1];
  if (!compressed) {
    if (size % 2 != 0) ThrowCorrupt(std::string(bytes.What()) + ": text of odd byte length");
    text.reserve(size / 2);
    for (std::size_t i = 0; i < size; i += 2) text.push_back(static_cast<char16_t>(bytes.U16(i)));
    return text;
  }
  text.reserve(size);
  bool oneByte = true;
  std::size_t i = 2;
  while (i < size) {
    std::uint8_t byte = bytes.U8(i);
    if (byte == 0x00) {
      oneByte = !oneByte;
      ++i;
    } else if (oneByte) {
      text.push_back(static_cast<char16_t>(byte));
      ++i;
    } else {
      // A lone trailing byte in two-byte mode carries no character.
      if (i + 1 >= size) break;
      text.push_back(static_cast<char16_t>(bytes.U16(i)));
      i += 2;
    }
  }
  return text;
}

}  // namespace Jet
