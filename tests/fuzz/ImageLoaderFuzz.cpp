// An image of arbitrary bytes decoded from memory, as the built-in images are.
#include "FuzzScratch.h"

#include "framework/drawing/ImageLoader.h"

#include <climits>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > UINT_MAX) return -1;
  ImageLoader loader;
  const ImageLoader::ImageData image =
      loader.loadImage(reinterpret_cast<const char *>(data), static_cast<unsigned int>(size));
  const std::unique_ptr<unsigned char[]> pixels(image.data);
  if (!pixels) {
    if (image.width != 0 || image.height != 0) fuzzFailure("sizes of a failed image");
    return 0;
  }
  if (image.width < 1 || image.height < 1) fuzzFailure("empty image with pixels");
  // Every byte the size promises must be there: the sanitizer checks the reads.
  unsigned sum = 0;
  const size_t bytes = static_cast<size_t>(image.width) * image.height * 4;
  for (size_t i = 0; i < bytes; i += 4096) sum += pixels[i];
  sum += pixels[bytes - 1];
  return sum == UINT_MAX ? 1 : 0;
}
