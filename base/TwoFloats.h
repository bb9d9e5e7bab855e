#pragma once

// A position, size, direction or image scale in drawing-area units.
struct TwoFloats {
  float x = 0.0f;
  float y = 0.0f;

  TwoFloats() = default;
  TwoFloats(float x, float y) : x(x), y(y) {}

  TwoFloats operator+(const TwoFloats &other) const { return TwoFloats(x + other.x, y + other.y); }
  TwoFloats operator-(const TwoFloats &other) const { return TwoFloats(x - other.x, y - other.y); }
  TwoFloats operator*(float s) const { return TwoFloats(x * s, y * s); }
  TwoFloats operator/(float s) const { return TwoFloats(x / s, y / s); }

  // The unit vector in the same direction; (0, 0) when the length is zero or NaN.
  TwoFloats normal() const;
  float length() const;
};

inline TwoFloats operator+(float s, const TwoFloats &v) { return TwoFloats(s + v.x, s + v.y); }
inline TwoFloats operator-(float s, const TwoFloats &v) { return TwoFloats(s - v.x, s - v.y); }
inline TwoFloats operator*(float s, const TwoFloats &v) { return TwoFloats(s * v.x, s * v.y); }
// The scalar is divided by each component; a zero component gives an infinity.
inline TwoFloats operator/(float s, const TwoFloats &v) { return TwoFloats(s / v.x, s / v.y); }
