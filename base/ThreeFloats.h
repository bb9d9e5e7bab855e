#pragma once

// Three components; as a colour, linear red, green and blue from 0 to 1.
struct ThreeFloats {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  ThreeFloats() = default;
  ThreeFloats(float x, float y, float z) : x(x), y(y), z(z) {}

  ThreeFloats operator+(const ThreeFloats &o) const { return ThreeFloats(x + o.x, y + o.y, z + o.z); }
  ThreeFloats operator-(const ThreeFloats &o) const { return ThreeFloats(x - o.x, y - o.y, z - o.z); }
  ThreeFloats operator*(float s) const { return ThreeFloats(x * s, y * s, z * s); }
};

inline ThreeFloats operator*(float s, const ThreeFloats &v) { return ThreeFloats(s * v.x, s * v.y, s * v.z); }
