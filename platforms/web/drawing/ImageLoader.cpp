// The browser build's ImageLoader: emscripten's stb_image (-sSTB_IMAGE)
// decodes, which keeps the colour of fully transparent pixels as the file has
// it (emscripten's SDL_image in OpenGL mode zeroes it).
#include "framework/drawing/ImageLoader.h"

#include <stb_image.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

namespace {

ImageLoader::ImageData decode(const unsigned char *bytes, int size) {
  ImageLoader::ImageData result;
  int width = 0, height = 0, channels = 0;
  // Colour images only, as on the desktop: grey ones are refused (a palette
  // image reads as the colours it shows, and decodes).
  if (!stbi_info_from_memory(bytes, size, &width, &height, &channels) || channels < 3) return result;
  unsigned char *pixels = stbi_load_from_memory(bytes, size, &width, &height, &channels, 4);
  if (!pixels) return result;
  const size_t byteCount = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  // The caller frees with delete[]; stb allocates with malloc.
  result.data = new (std::nothrow) unsigned char[byteCount];
  if (result.data) {
    std::memcpy(result.data, pixels, byteCount);
    result.width = width;
    result.height = height;
  }
  stbi_image_free(pixels);
  return result;
}

}  // namespace

ImageLoader::ImageData ImageLoader::loadImage(const char *data, unsigned int size) {
  if (!data || size == 0 || size > static_cast<unsigned int>(INT_MAX)) return ImageData();
  return decode(reinterpret_cast<const unsigned char *>(data), static_cast<int>(size));
}

ImageLoader::ImageData ImageLoader::loadImage(const FilePath &path) {
  std::ifstream file(path.getUtf8Path(), std::ios::binary);
  if (!file) return ImageData();
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return ImageData();
  return loadImage(bytes.data(), static_cast<unsigned int>(bytes.size()));
}
