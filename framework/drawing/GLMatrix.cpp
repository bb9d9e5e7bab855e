#include "framework/drawing/GLMatrix.h"

#include <cmath>

namespace {

const boost::array<float, 16> identityElements = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

}  // namespace

GLMatrix::GLMatrix() : matrix(identityElements), scratch(identityElements) {}

void GLMatrix::identity() { matrix = identityElements; }

void GLMatrix::multiply(const Elements &factor) {
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += matrix[k * 4 + row] * factor[column * 4 + k];
      scratch[column * 4 + row] = sum;
    }
  matrix = scratch;
}

void GLMatrix::translate(float x, float y, float z) {
  // Only the last column changes: the translation mixed through the matrix.
  for (int row = 0; row < 4; ++row) matrix[12 + row] += matrix[row] * x + matrix[4 + row] * y + matrix[8 + row] * z;
}

void GLMatrix::scale(float x, float y, float z) {
  for (int row = 0; row < 4; ++row) {
    matrix[row] *= x;
    matrix[4 + row] *= y;
    matrix[8 + row] *= z;
  }
}

void GLMatrix::rotate(float angle, float x, float y, float z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length > 0.0f) {
    x /= length;
    y /= length;
    z /= length;
  } else {
    x = 0.0f;
    y = 0.0f;
    z = 1.0f;
  }
  const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  const Elements rotation = {{t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0,  //
                              t * x * y - s * z, t * y * y + c, t * y * z + s * x, 0,  //
                              t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0,  //
                              0, 0, 0, 1}};
  multiply(rotation);
}

void GLMatrix::push() { stack.push(matrix); }

void GLMatrix::pop() {
  if (stack.empty()) {
    identity();
    return;
  }
  matrix = stack.top();
  stack.pop();
}

void GLMatrix::clear() {
  while (!stack.empty()) stack.pop();
}

void GLMatrix::generateOrthoProjection(float left, float right, float bottom, float top) {
  matrix.fill(0.0f);
  const float width = right - left, height = top - bottom;
  if (width != 0.0f) {
    matrix[0] = 2.0f / width;
    matrix[3] = -(right + left) / width;
  }
  if (height != 0.0f) {
    matrix[5] = 2.0f / height;
    matrix[7] = -(top + bottom) / height;
  }
  matrix[10] = 1.0f;
  matrix[15] = 1.0f;
}
