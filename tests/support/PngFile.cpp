#include "support/PngFile.h"

#include <fstream>

namespace {

uint32_t crc32(const std::string &data, size_t start) {
  uint32_t crc = 0xffffffffu;
  for (size_t i = start; i < data.size(); ++i) {
    crc ^= static_cast<uint8_t>(data[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void put32(std::string &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xff));
}

void chunk(std::string &out, const char *type, const std::string &data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  put32(out, crc32(out, start));
}

// A zlib stream of stored deflate blocks.
std::string zlibStored(const std::string &raw) {
  std::string out("\x78\x01", 2);
  size_t pos = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<char>(n & 0xff));
    out.push_back(static_cast<char>(n >> 8));
    out.push_back(static_cast<char>(~n & 0xff));
    out.push_back(static_cast<char>((~n >> 8) & 0xff));
    out.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  put32(out, (b << 16) | a);
  return out;
}

}  // namespace

std::string PngFile::encode(int width, int height, ColourType type, const std::vector<uint8_t> &pixels,
                            const std::vector<uint8_t> &palette) {
  const int bytesPerPixel = type == Rgba ? 4 : type == Rgb ? 3 : 1;
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header += std::string{8, static_cast<char>(type), 0, 0, 0};
  chunk(out, "IHDR", header);
  if (type == Palette) chunk(out, "PLTE", std::string(palette.begin(), palette.end()));
  std::string raw;
  const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.append(reinterpret_cast<const char *>(pixels.data()) + rowBytes * y, rowBytes);
  }
  chunk(out, "IDAT", zlibStored(raw));
  chunk(out, "IEND", std::string());
  return out;
}

bool PngFile::writeBottomUpRgb(const std::string &path, int width, int height, const std::vector<uint8_t> &pixels) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> topDown(pixels.size());
  for (int y = 0; y < height; ++y)
    std::copy(pixels.begin() + rowBytes * (height - 1 - y), pixels.begin() + rowBytes * (height - y),
              topDown.begin() + rowBytes * y);
  std::ofstream file(path, std::ios::binary);
  file << encode(width, height, Rgb, topDown);
  return static_cast<bool>(file);
}
