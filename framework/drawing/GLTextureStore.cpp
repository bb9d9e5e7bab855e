#include "framework/drawing/GLTextureStore.h"

#include "framework/drawing/GLEntryPoints.h"

#include <cstring>

namespace {

int nextPowerOfTwo(int value) {
  int power = 1;
  while (power < value) power <<= 1;
  return power;
}

// Pads an image of texelBytes-byte texels to pw x ph by repeating its last
// column and last row, so that linear filtering at the right and bottom
// edges sees the edge colour.
unsigned char *padImage(const unsigned char *pixels, int width, int height, int pw, int ph, size_t texelBytes) {
  const size_t rowBytes = static_cast<size_t>(width) * texelBytes;
  const size_t paddedRowBytes = static_cast<size_t>(pw) * texelBytes;
  unsigned char *padded = new unsigned char[paddedRowBytes * ph];
  for (int y = 0; y < ph; ++y) {
    unsigned char *row = padded + paddedRowBytes * y;
    if (y < height) {
      std::memcpy(row, pixels + rowBytes * y, rowBytes);
      for (size_t x = rowBytes; x < paddedRowBytes; x += texelBytes)
        std::memcpy(row + x, row + rowBytes - texelBytes, texelBytes);
    } else {
      std::memcpy(row, padded + paddedRowBytes * (height - 1), paddedRowBytes);
    }
  }
  return padded;
}

// Whether every pixel's red, green and blue are equal.
bool isGrey(const unsigned char *pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, pixels += 4) {
    if (pixels[0] != pixels[1] || pixels[0] != pixels[2]) return false;
  }
  return true;
}

// Packs grey RGBA pixels into grey and alpha, two bytes a pixel, at the
// start of the same buffer: a copy would hold half an image more while the
// driver makes its own. Pixel i's two bytes land at 2i, before any byte
// still to be read.
void packGreyAndAlpha(unsigned char *pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i) {
    const unsigned char alpha = pixels[4 * i + 3];
    pixels[2 * i] = pixels[4 * i];
    pixels[2 * i + 1] = alpha;
  }
}

}  // namespace

GLTextureStore::GLTextureStore(const GLEntryPoints &gl, Listener &listener) : gl(gl), listener(listener) {}

bool GLTextureStore::upload(unsigned char *pixels, int width, int height, unsigned int &texture, TwoFloats &extent,
                            Texels texels) {
  if (!pixels) return false;
  if (width <= 0 || height <= 0) {
    delete[] pixels;
    return false;
  }
  const int textureWidth = nextPowerOfTwo(width), textureHeight = nextPowerOfTwo(height);
  // Rows of two-byte texels stay 4-byte aligned from two texels on. Grey is
  // packed before padding, so that the padded copy is half the size.
  const bool grey =
      texels == Texels::GreyWhereGrey && textureWidth >= 2 && isGrey(pixels, static_cast<size_t>(width) * height);
  if (grey) packGreyAndAlpha(pixels, static_cast<size_t>(width) * height);
  extent = TwoFloats(1.0f, 1.0f);
  if (textureWidth != width || textureHeight != height) {
    unsigned char *padded = padImage(pixels, width, height, textureWidth, textureHeight, grey ? 2 : 4);
    delete[] pixels;
    pixels = padded;
    extent = TwoFloats(static_cast<float>(width) / textureWidth, static_cast<float>(height) / textureHeight);
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  bind(0, name);
  if (grey)
    glTexImage2D(GL_TEXTURE_2D, 0, gl.internalFormat(GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA), textureWidth,
                 textureHeight, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, pixels);
  else
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  bind(0, 0);
  delete[] pixels;
  texture = name;
  return true;
}

void GLTextureStore::replacePart(unsigned int texture, int x, int y, int width, int height,
                                 const unsigned char *pixels) {
  bind(0, texture);
  // Rows of whole RGBA pixels are always 4-byte aligned.
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

bool GLTextureStore::add(const std::wstring &name, const GLImage &record) {
  auto inserted = images.insert(std::make_pair(name, record));
  if (!inserted.second) return false;
  listener.imageRegistered(inserted.first->second);
  return true;
}

void GLTextureStore::loadSingle(unsigned char *pixels, int width, int height, const std::wstring &name) {
  // A taken name keeps its first registration; uploading the new pixels
  // would only leave an unreachable texture behind.
  if (images.find(name) != images.end()) {
    delete[] pixels;
    return;
  }
  GLImage record;
  if (!upload(pixels, width, height, record.texture, record.image.texCoordSize, Texels::GreyWhereGrey)) return;
  record.image.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  add(name, record);
}

void GLTextureStore::loadAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas,
                               Texels texels) {
  bool anyNameFree = false;
  for (int i = 0; i < atlas.numImages; ++i) anyNameFree |= images.find(atlas.images[i].name) == images.end();
  if (!anyNameFree) {
    delete[] pixels;
    return;
  }
  GLImage record;
  TwoFloats extent;
  if (!upload(pixels, width, height, record.texture, extent, texels)) return;
  for (int i = 0; i < atlas.numImages; ++i) {
    const AtlasImage &member = atlas.images[i];
    record.image.texCoordOrigin = TwoFloats(extent.x * member.position.x, extent.y * member.position.y);
    record.image.texCoordSize = TwoFloats(extent.x * member.size.x, extent.y * member.size.y);
    // The member's natural size is its share of the unpadded image.
    record.image.size = TwoFloats(member.size.x * width, member.size.y * height);
    add(member.name, record);
  }
}

void GLTextureStore::release(const std::wstring &name) {
  auto it = images.find(name);
  if (it == images.end()) return;
  const GLuint texture = it->second.texture;
  listener.imageReleased(it->second);
  images.erase(it);
  // An empty record shares no texture with anything.
  if (texture == 0) return;
  glDeleteTextures(1, &texture);
  listener.textureDeleted(texture);
  for (auto other = images.begin(); other != images.end();) {
    if (other->second.texture == texture) {
      listener.imageReleased(other->second);
      other = images.erase(other);
    } else {
      ++other;
    }
  }
}

void GLTextureStore::releaseTexture(unsigned int texture) {
  for (const auto &image : images) {
    if (image.second.texture != texture) continue;
    const std::wstring name = image.first;
    release(name);
    return;
  }
}

const GLTextureStore::GLImage *GLTextureStore::find(const std::wstring &name) const {
  auto it = images.find(name);
  return it == images.end() ? nullptr : &it->second;
}
