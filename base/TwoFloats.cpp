#include "base/TwoFloats.h"

#include <cmath>

float TwoFloats::length() const { return std::sqrt(x * x + y * y); }

TwoFloats TwoFloats::normal() const {
  TwoFloats result;
  const float length = this->length();
  // Written so that a NaN length, which compares false, also gives (0, 0).
  if (length > 0.0f) {
    result.x = x / length;
    result.y = y / length;
  }
  return result;
}
