#include "panel/BmpFile.h"

#include "system/ByteCoding.h"

namespace tessaline {
namespace {

constexpr size_t kFileHeaderSize = 14;

bool Refuse(std::string* reason, const char* why) {
  if (reason) *reason = why;
  return false;
}

// A channel under a bit-field mask, scaled to 8 bits.
uint32_t MaskedChannel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t bits = mask >> shift;
  const uint32_t v = (value & mask) >> shift;
  return bits == 0 ? 0 : static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + bits / 2) / bits);
}

}  // namespace

bool ParseBmp(std::string_view bytes, BmpImage& image, std::string* reason) {
  image = BmpImage{};
  if (bytes.size() < kFileHeaderSize + 40) return Refuse(reason, "shorter than the headers");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Refuse(reason, "no BM signature");
  const uint32_t offset = ReadLe32(bytes, 10);
  const uint32_t headerSize = ReadLe32(bytes, kFileHeaderSize);
  if (headerSize != 40 && headerSize != 108 && headerSize != 124) {
    return Refuse(reason, "unknown information header");
  }
  if (offset < kFileHeaderSize + headerSize || offset > bytes.size()) {
    return Refuse(reason, "pixel offset outside the file");
  }
  const int32_t width = static_cast<int32_t>(ReadLe32(bytes, 18));
  const int32_t height = static_cast<int32_t>(ReadLe32(bytes, 22));
  const uint16_t planes = ReadLe16(bytes, 26);
  const uint16_t bitCount = ReadLe16(bytes, 28);
  const uint32_t compression = ReadLe32(bytes, 30);
  const uint32_t colorsUsed = ReadLe32(bytes, 46);
  if (width < 1 || width > kMaxBmpSide || height == 0 || height < -kMaxBmpSide ||
      height > kMaxBmpSide) {
    return Refuse(reason, "size out of range");
  }
  if (planes != 1) return Refuse(reason, "not one plane");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32) {
    return Refuse(reason, "unsupported depth");
  }
  if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32))) {
    return Refuse(reason, "compressed pixels");
  }
  // The information a picture maker reads: the header, the three masks that follow a 40-byte
  // header for bit fields, and the colour table.
  uint64_t needed = headerSize;
  if (compression == 3 && headerSize == 40) needed += 12;
  uint32_t colors = 0;
  if (bitCount <= 8) {
    const uint32_t most = 1u << bitCount;
    if (colorsUsed > most) return Refuse(reason, "colour table larger than the depth allows");
    colors = colorsUsed == 0 ? most : colorsUsed;
  } else if (colorsUsed > 256) {
    return Refuse(reason, "colour table too large");
  } else {
    colors = colorsUsed;
  }
  needed += static_cast<uint64_t>(colors) * 4;
  if (kFileHeaderSize + needed > offset) return Refuse(reason, "colour table beyond the offset");

  image.width = width;
  image.height = height;
  image.bitCount = bitCount;
  image.compression = compression;
  image.colorCount = colors;
  const uint64_t pixelBytes = static_cast<uint64_t>(image.RowBytes()) * image.AbsHeight();
  if (pixelBytes > bytes.size() - offset) {
    image = BmpImage{};
    return Refuse(reason, "pixel rows beyond the end of the file");
  }
  image.info.assign(bytes.begin() + kFileHeaderSize, bytes.begin() + offset);
  // The size field of the image is recomputed: the file's own may be anything.
  const uint64_t sizeImage = pixelBytes;
  for (int i = 0; i < 4; ++i) image.info[20 + i] = static_cast<uint8_t>(sizeImage >> (8 * i));
  image.pixels.assign(bytes.begin() + offset, bytes.begin() + offset + pixelBytes);
  return true;
}

uint32_t BmpImage::PixelRgb(int32_t x, int32_t row) const {
  if (x < 0 || x >= width || row < 0 || row >= AbsHeight()) return 0;
  const int32_t stored = height < 0 ? row : AbsHeight() - 1 - row;
  const uint8_t* line = pixels.data() + static_cast<size_t>(stored) * RowBytes();
  const uint32_t headerSize = ReadLe16(info.data());
  const size_t tableAt = headerSize + ((compression == 3 && headerSize == 40) ? 12 : 0);
  auto entry = [&](uint32_t index) -> uint32_t {
    if (index >= colorCount) return 0;
    const size_t at = tableAt + index * 4;
    return static_cast<uint32_t>(info[at + 2]) << 16 | info[at + 1] << 8 | info[at];
  };
  switch (bitCount) {
    case 1:
      return entry((line[x / 8] >> (7 - x % 8)) & 1);
    case 4:
      return entry((line[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
    case 8:
      return entry(line[x]);
    case 24:
      return static_cast<uint32_t>(line[x * 3 + 2]) << 16 | line[x * 3 + 1] << 8 | line[x * 3];
    case 16:
    case 32: {
      const uint32_t v = bitCount == 16 ? ReadLe16(line + x * 2) : ReadLe32(line + x * 4);
      uint32_t r, g, b;
      if (compression == 3) {
        // The masks follow the 40-byte fields in every header this reader accepts.
        const size_t at = 40;
        r = ReadLe32(&info[at]), g = ReadLe32(&info[at + 4]), b = ReadLe32(&info[at + 8]);
      } else if (bitCount == 16) {
        r = 0x7C00, g = 0x03E0, b = 0x001F;
      } else {
        r = 0xFF0000, g = 0xFF00, b = 0xFF;
      }
      return MaskedChannel(v, r) << 16 | MaskedChannel(v, g) << 8 | MaskedChannel(v, b);
    }
    default:
      return 0;
  }
}

std::string WriteBmp8(int32_t width, int32_t height, const std::vector<uint32_t>& paletteRgb,
                      const std::vector<uint8_t>& indexesTopDown) {
  const size_t row = ((static_cast<size_t>(width) * 8 + 31) / 32) * 4;
  const uint32_t colors = static_cast<uint32_t>(paletteRgb.size());
  const uint32_t offset = 14 + 40 + colors * 4;
  const uint32_t imageSize = static_cast<uint32_t>(row * static_cast<size_t>(height));
  std::string out;
  out += "BM";
  AppendLe32(out, offset + imageSize);
  AppendLe32(out, 0);
  AppendLe32(out, offset);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(width));
  AppendLe32(out, static_cast<uint32_t>(height));
  AppendLe16(out, 1);
  AppendLe16(out, 8);
  AppendLe32(out, 0);
  AppendLe32(out, imageSize);
  AppendLe32(out, 2835);
  AppendLe32(out, 2835);
  AppendLe32(out, colors);
  AppendLe32(out, colors);
  for (uint32_t rgb : paletteRgb) AppendLe32(out, rgb & 0xFFFFFF);  // blue, green, red, 0
  for (int32_t y = height - 1; y >= 0; --y) {
    std::string line(row, '\0');
    for (int32_t x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      line[static_cast<size_t>(x)] =
          static_cast<char>(i < indexesTopDown.size() ? indexesTopDown[i] : 0);
    }
    out += line;
  }
  return out;
}

}  // namespace tessaline
