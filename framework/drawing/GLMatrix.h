#pragma once

#include <boost/array.hpp>
#include <stack>

// A 4 x 4 float matrix for the shader drawer's transforms, stored column by
// column as OpenGL reads it (elements 12, 13, 14 hold a translation), with a
// stack for push and pop. Every product multiplies the new factor on the
// right, so the last transform applied is the first a vertex sees, as with
// OpenGL's fixed matrix stack.
class GLMatrix {
 public:
  GLMatrix();

  void identity();
  void translate(float x, float y, float z);
  void scale(float x, float y, float z);
  // Radians, right-handed about the axis (x, y, z), which is normalised; a
  // zero axis turns about z.
  void rotate(float angle, float x, float y, float z);

  void push();
  // Back to the matrix last pushed; the identity when none is left.
  void pop();
  // Forgets every pushed matrix.
  void clear();

  // Replaces the matrix by the orthographic projection of the rectangle
  // left..right x bottom..top onto -1..1, stored row by row for a shader
  // that multiplies it from the left by a row vector; z passes through. An
  // extent of zero maps its axis to 0 rather than dividing by zero.
  void generateOrthoProjection(float left, float right, float bottom, float top);

  const float *getElements() const { return matrix.data(); }
  float operator[](int index) const { return matrix[index]; }

 private:
  typedef boost::array<float, 16> Elements;
  // matrix = matrix x factor.
  void multiply(const Elements &factor);

  Elements matrix;
  Elements scratch;
  std::stack<Elements> stack;
};
