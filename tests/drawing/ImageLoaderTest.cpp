#include "framework/drawing/ImageLoader.h"
#include "support/PngFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Decoded {
  ImageLoader::ImageData image;
  explicit Decoded(const std::string &bytes) : image(ImageLoader().loadImage(bytes.data(), bytes.size())) {}
  explicit Decoded(const ImageLoader::ImageData &image) : image(image) {}
  ~Decoded() { delete[] image.data; }
  std::vector<uint8_t> bytes() const {
    return std::vector<uint8_t>(image.data, image.data + static_cast<size_t>(image.width) * image.height * 4);
  }
};

void put16(std::string &out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}
void put32(std::string &out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

// An uncompressed BMP of 24 or 32 bits: pixels stored B, G, R (and an opaque
// fourth byte, which decoders differ on reading as alpha or not), rows
// bottom-up, each padded to four bytes.
std::string bmp(int width, int height, int bits, const std::vector<uint8_t> &rgb) {
  const int bytes = bits / 8;
  const int rowBytes = (width * bytes + 3) / 4 * 4;
  std::string out = "BM";
  put32(out, 54 + rowBytes * height);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, width);
  put32(out, height);
  put16(out, 1);
  put16(out, bits);
  for (int i = 0; i < 6; ++i) put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const uint8_t *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      row += {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0])};
      if (bytes == 4) row.push_back(static_cast<char>(255));
    }
    row.resize(rowBytes, 0);
    out += row;
  }
  return out;
}

std::vector<uint8_t> rgbPattern(int width, int height) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < width * height; ++i) {
    rgb.push_back(static_cast<uint8_t>(10 + i * 7));
    rgb.push_back(static_cast<uint8_t>(100 + i));
    rgb.push_back(static_cast<uint8_t>(250 - i * 3));
  }
  return rgb;
}

std::vector<uint8_t> withOpaqueAlpha(const std::vector<uint8_t> &rgb) {
  std::vector<uint8_t> rgba;
  for (size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
  return rgba;
}

TEST(ImageLoader, RgbaPngDecodesUnchanged) {
  std::vector<uint8_t> rgba;
  for (int i = 0; i < 3 * 2 * 4; ++i) rgba.push_back(static_cast<uint8_t>(i * 11));
  Decoded decoded(PngFile::encode(3, 2, PngFile::Rgba, rgba));
  ASSERT_NE(decoded.image.data, nullptr);
  EXPECT_EQ(decoded.image.width, 3);
  EXPECT_EQ(decoded.image.height, 2);
  EXPECT_EQ(decoded.bytes(), rgba);
}

TEST(ImageLoader, RgbPngWithUnalignedRowsGainsOpaqueAlphaWithoutSkew) {
  // 5 x 3 bytes per row: the surface's rows are padded, ours are not.
  const std::vector<uint8_t> rgb = rgbPattern(5, 3);
  Decoded decoded(PngFile::encode(5, 3, PngFile::Rgb, rgb));
  ASSERT_NE(decoded.image.data, nullptr);
  EXPECT_EQ(decoded.image.width, 5);
  EXPECT_EQ(decoded.image.height, 3);
  EXPECT_EQ(decoded.bytes(), withOpaqueAlpha(rgb));
}

// Large enough that the decoded surface's rows are given back while they
// are copied; the RGB rows are padded, so the pages given back end mid-row.
TEST(ImageLoader, LargeImagesDecodeUnchanged) {
  for (const PngFile::ColourType type : {PngFile::Rgba, PngFile::Rgb}) {
    const int width = type == PngFile::Rgba ? 512 : 333, height = 700;
    const size_t channels = type == PngFile::Rgba ? 4 : 3;
    // No zeros, and no two rows alike: a row read after it was given back shows.
    std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(1 + (i * 13 + i / 4099) % 255);
    Decoded decoded(PngFile::encode(width, height, type, bytes));
    ASSERT_NE(decoded.image.data, nullptr) << channels;
    // Compared whole: a failure printing a megabyte helps no one.
    EXPECT_TRUE(decoded.bytes() == (channels == 4 ? bytes : withOpaqueAlpha(bytes))) << channels << " channels";
  }
}

TEST(ImageLoader, PaletteImagesAreNotSupported) {
  Decoded decoded(PngFile::encode(2, 2, PngFile::Palette, {0, 1, 1, 0}, {255, 0, 0, 0, 0, 255}));
  EXPECT_EQ(decoded.image.data, nullptr);
  EXPECT_EQ(decoded.image.width, 0);
  EXPECT_EQ(decoded.image.height, 0);
}

TEST(ImageLoader, BmpChannelsArePlacedByTheSurfaceMasks) {
  // BMP stores blue first: copied as is, red and blue would swap.
  const std::vector<uint8_t> rgb = rgbPattern(3, 2);
  for (int bits : {24, 32}) {
    Decoded decoded(bmp(3, 2, bits, rgb));
    ASSERT_NE(decoded.image.data, nullptr) << bits;
    EXPECT_EQ(decoded.image.width, 3);
    EXPECT_EQ(decoded.image.height, 2);
    EXPECT_EQ(decoded.bytes(), withOpaqueAlpha(rgb)) << bits << "-bit BMP";
  }
}

TEST(ImageLoader, BrokenDataGivesTheEmptyResult) {
  const std::string png = PngFile::encode(16, 16, PngFile::Rgba, std::vector<uint8_t>(16 * 16 * 4, 200));
  std::mt19937 random(7);
  std::string noise(4096, 0);
  for (char &c : noise) c = static_cast<char>(random());
  // An image data chunk claiming more than the file holds (it once held the decoder for minutes).
  std::string overlong = png;
  overlong.replace(overlong.find("IDAT") - 4, 4, std::string("\x52\x00\x20\x00", 4));
  for (const std::string &bytes :
       {png.substr(0, png.size() / 2), png.substr(0, 40), noise, std::string("x"), overlong}) {
    Decoded decoded(bytes);
    EXPECT_EQ(decoded.image.data, nullptr) << bytes.size();
    EXPECT_EQ(decoded.image.width, 0);
    EXPECT_EQ(decoded.image.height, 0);
  }
  Decoded none(ImageLoader().loadImage(nullptr, 100));
  EXPECT_EQ(none.image.data, nullptr);
}

TEST(ImageLoader, FilesDecodeFromPathsWithNonAsciiNames) {
  TempDir dir;
  const std::vector<uint8_t> rgb = rgbPattern(4, 4);
  dir.writeFile("Bild \xc3\xa4\xe2\x98\x83.png", PngFile::encode(4, 4, PngFile::Rgb, rgb));
  Decoded decoded(ImageLoader().loadImage(FilePath(dir.widePath() + L"/Bild \u00e4\u2603.png")));
  ASSERT_NE(decoded.image.data, nullptr);
  EXPECT_EQ(decoded.bytes(), withOpaqueAlpha(rgb));
  Decoded missing(ImageLoader().loadImage(FilePath(dir.widePath() + L"/missing.png")));
  EXPECT_EQ(missing.image.data, nullptr);
  EXPECT_EQ(missing.image.width, 0);
}

}  // namespace
