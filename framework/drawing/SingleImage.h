#pragma once

#include <string>

// One embedded encoded image and the name it is registered under.
class SingleImage {
 public:
  virtual ~SingleImage() = default;
  virtual std::wstring getName() const = 0;

  // Encoded PNG bytes, not owned.
  const unsigned char *imageData = nullptr;
  int imageDataSize = 0;
};
