// Writes the 256-colour bitmaps that the toolbar tests load as program resources:
//   strip.bmp   48 x 16, three 16 x 16 images: red, green, blue
//   mapped.bmp  16 x 16, magenta (the mask colour) with a red square at 4..11
// Built with the host compiler; usage: write-test-bitmaps OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour {
  std::uint8_t red, green, blue;
};

const std::vector<Colour> kPalette = {
    {0, 0, 0}, {255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
constexpr std::uint8_t kMagenta = 1;
constexpr std::uint8_t kRed = 2;
constexpr std::uint8_t kGreen = 3;
constexpr std::uint8_t kBlue = 4;

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, unsigned value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// pixels: one palette index per pixel, top row first.
bool WriteBitmap(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& pixels) {
  const int rowSize = (width + 3) / 4 * 4;
  const unsigned paletteSize = 256 * 4;
  const unsigned offset = 14 + 40 + paletteSize;
  const unsigned imageSize = static_cast<unsigned>(rowSize * height);
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(width));
  Put32(out, static_cast<unsigned>(height));
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 256);
  Put32(out, 0);
  for (int i = 0; i < 256; ++i) {
    Colour c = i < static_cast<int>(kPalette.size()) ? kPalette[i] : Colour{0, 0, 0};
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < rowSize; ++x) out.push_back(x < width ? pixels[y * width + x] : 0);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::vector<std::uint8_t> strip(48 * 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 48; ++x) strip[y * 48 + x] = x < 16 ? kRed : x < 32 ? kGreen : kBlue;
  }
  std::vector<std::uint8_t> mapped(16 * 16, kMagenta);
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 12; ++x) mapped[y * 16 + x] = kRed;
  }
  if (!WriteBitmap(folder + "/strip.bmp", 48, 16, strip) ||
      !WriteBitmap(folder + "/mapped.bmp", 16, 16, mapped)) {
    std::perror("write-test-bitmaps");
    return 1;
  }
  return 0;
}
