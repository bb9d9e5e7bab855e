#include "framework/drawing/ImageLoader.h"

#include <SDL.h>
#include <SDL_image.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

namespace {

bool isByteOrder(const SDL_PixelFormat &f, int r, int g, int b, int a) {
  // The mask of the channel stored at byte i of a pixel, on this machine.
  const auto byteMask = [](int i) -> Uint32 {
    if (i < 0) return 0;
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    return 0xffu << (8 * i);
#else
    return 0xffu << (8 * (3 - i));
#endif
  };
  return f.Rmask == byteMask(r) && f.Gmask == byteMask(g) && f.Bmask == byteMask(b) && f.Amask == byteMask(a);
}

Uint32 readPixel(const Uint8 *p, int bytesPerPixel) {
  if (bytesPerPixel == 4) {
    Uint32 value;
    std::memcpy(&value, p, 4);
    return value;
  }
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
  return p[0] | (p[1] << 8) | (p[2] << 16);
#else
  return (p[0] << 16) | (p[1] << 8) | p[2];
#endif
}

// Hands the whole pages between from and to back to the system, which
// reads them as zeros from then on; returns where the next release starts.
const Uint8 *releasePages(const Uint8 *from, const Uint8 *to) {
  static const uintptr_t pageBytes = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first = (reinterpret_cast<uintptr_t>(from) + pageBytes - 1) & ~(pageBytes - 1);
  const uintptr_t last = reinterpret_cast<uintptr_t>(to) & ~(pageBytes - 1);
  if (last <= first) return from;
  madvise(reinterpret_cast<void *>(first), last - first, MADV_DONTNEED);
  return reinterpret_cast<const Uint8 *>(last);
}

// Rows of the surface into RGBA. The common byte orders are copied
// directly; any other channel layout goes through the surface's masks.
// With releaseRead, the rows read are given back as the copy goes on: the
// surface is freed right after, and a large image then stays resident once
// instead of twice (the 1024 x 1024 disc held 8 MiB at the loading's peak).
void convertRows(const SDL_Surface &surface, unsigned char *out, bool releaseRead) {
  // Few enough calls to madvise, little enough held twice.
  const ptrdiff_t releaseStep = 256 * 1024;
  const SDL_PixelFormat &format = *surface.format;
  const int bpp = format.BytesPerPixel;
  const size_t rowBytes = static_cast<size_t>(surface.w) * 4;
  const bool rgba = bpp == 4 && isByteOrder(format, 0, 1, 2, 3);
  const bool rgb = bpp == 3 && isByteOrder(format, 0, 1, 2, -1);
  const Uint8 *released = static_cast<const Uint8 *>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    const Uint8 *row = static_cast<const Uint8 *>(surface.pixels) + static_cast<size_t>(y) * surface.pitch;
    const Uint8 *rowEnd = row + surface.pitch;
    unsigned char *dst = out + rowBytes * y;
    if (rgba) {
      std::memcpy(dst, row, rowBytes);
    } else if (rgb) {
      for (int x = 0; x < surface.w; ++x, row += 3, dst += 4) {
        dst[0] = row[0];
        dst[1] = row[1];
        dst[2] = row[2];
        dst[3] = 255;
      }
    } else {
      for (int x = 0; x < surface.w; ++x, row += bpp, dst += 4) {
        // Without an alpha mask SDL reports opaque.
        SDL_GetRGBA(readPixel(row, bpp), surface.format, &dst[0], &dst[1], &dst[2], &dst[3]);
      }
    }
    if (releaseRead && rowEnd - released >= releaseStep) released = releasePages(released, rowEnd);
  }
}

ImageLoader::ImageData convert(SDL_Surface *surface) {
  ImageLoader::ImageData result;
  if (!surface) return result;
  const int bpp = surface->format->BytesPerPixel;
  if ((bpp == 3 || bpp == 4) && surface->w > 0 && surface->h > 0 && SDL_LockSurface(surface) == 0) {
    // An image that declares a huge size and was decoded anyway must not end
    // the program here: without the memory it is an image that did not load.
    result.data = new (std::nothrow) unsigned char[static_cast<size_t>(surface->w) * surface->h * 4];
    if (result.data) {
      // Pixels SDL did not allocate are the caller's to keep.
      convertRows(*surface, result.data, (surface->flags & SDL_PREALLOC) == 0);
      result.width = surface->w;
      result.height = surface->h;
    }
    SDL_UnlockSurface(surface);
  }
  SDL_FreeSurface(surface);
  return result;
}

uint32_t bigEndian32(const unsigned char *p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// A PNG chunk that claims more bytes than the file holds has libpng, as
// SDL_image drives it, read on past the end for minutes; such a file is
// damaged and is refused before decoding. Other formats pass.
bool chunksFit(const unsigned char *data, size_t size) {
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size < sizeof signature || std::memcmp(data, signature, sizeof signature) != 0) return true;
  size_t at = sizeof signature;
  // Length, type, data, checksum.
  while (size - at >= 12) {
    const size_t length = bigEndian32(data + at);
    if (length > size - at - 12) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + length;
  }
  return false;
}

}  // namespace

ImageLoader::ImageData ImageLoader::loadImage(const char *data, unsigned int size) {
  if (!data || size == 0 || size > static_cast<unsigned int>(INT_MAX)) return ImageData();
  if (!chunksFit(reinterpret_cast<const unsigned char *>(data), size)) return ImageData();
  SDL_RWops *stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (!stream) return ImageData();
  return convert(IMG_Load_RW(stream, 1));
}

ImageLoader::ImageData ImageLoader::loadImage(const FilePath &path) {
  std::ifstream file(path.getUtf8Path(), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) return ImageData();
  return loadImage(bytes.data(), static_cast<unsigned int>(std::min<size_t>(bytes.size(), UINT_MAX)));
}
