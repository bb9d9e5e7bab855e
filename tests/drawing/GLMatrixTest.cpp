#include "framework/drawing/GLMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Vec {
  float x, y, z, w;
};

// As a shader applies a model-view matrix: matrix x column vector.
Vec transform(const GLMatrix &m, const Vec &v) {
  const float in[4] = {v.x, v.y, v.z, v.w};
  float out[4];
  for (int row = 0; row < 4; ++row) {
    out[row] = 0.0f;
    for (int k = 0; k < 4; ++k) out[row] += m[k * 4 + row] * in[k];
  }
  return Vec{out[0], out[1], out[2], out[3]};
}

// As the built-in program applies the projection: row vector x matrix.
Vec project(const GLMatrix &m, const Vec &v) {
  const float in[4] = {v.x, v.y, v.z, v.w};
  float out[4];
  for (int column = 0; column < 4; ++column) {
    out[column] = 0.0f;
    for (int k = 0; k < 4; ++k) out[column] += in[k] * m[column * 4 + k];
  }
  return Vec{out[0], out[1], out[2], out[3]};
}

void expectPoint(const Vec &actual, float x, float y, float z = 0.0f) {
  EXPECT_NEAR(actual.x, x, 1e-4f);
  EXPECT_NEAR(actual.y, y, 1e-4f);
  EXPECT_NEAR(actual.z, z, 1e-4f);
  EXPECT_NEAR(actual.w, 1.0f, 1e-6f);
}

const float quarterTurn = 1.57079633f;

}  // namespace

TEST(GLMatrix, ProductsApplyTheLastTransformFirst) {
  GLMatrix m;
  expectPoint(transform(m, {3, 4, 5, 1}), 3, 4, 5);
  m.translate(100, 50, 0);
  m.scale(2, 3, 1);
  // Scaled first, then moved.
  expectPoint(transform(m, {10, 10, 0, 1}), 120, 80);
  m.identity();
  m.scale(2, 3, 1);
  m.translate(100, 50, 0);
  expectPoint(transform(m, {10, 10, 0, 1}), 220, 180);
}

TEST(GLMatrix, RotationIsRightHandedAboutTheNormalisedAxis) {
  struct Case {
    float axis[3];
    Vec in;
    float out[3];
  };
  const Case cases[] = {
      // About z: x turns towards y, which points down the screen (clockwise).
      {{0, 0, 5}, {1, 0, 0, 1}, {0, 1, 0}},
      {{0, 0, -1}, {1, 0, 0, 1}, {0, -1, 0}},
      {{1, 0, 0}, {0, 1, 0, 1}, {0, 0, 1}},
      // A zero axis turns about z.
      {{0, 0, 0}, {1, 0, 0, 1}, {0, 1, 0}},
  };
  for (const Case &c : cases) {
    GLMatrix m;
    m.rotate(quarterTurn, c.axis[0], c.axis[1], c.axis[2]);
    SCOPED_TRACE(testing::Message() << "axis " << c.axis[0] << ", " << c.axis[1] << ", " << c.axis[2]);
    expectPoint(transform(m, c.in), c.out[0], c.out[1], c.out[2]);
  }
  // About a slanted axis a third of a turn cycles the coordinate axes.
  GLMatrix m;
  m.rotate(2.0943951f, 1, 1, 1);
  expectPoint(transform(m, {1, 0, 0, 1}), 0, 1, 0);
}

TEST(GLMatrix, PushAndPopKeepAStack) {
  GLMatrix m;
  m.translate(5, 0, 0);
  m.push();
  m.scale(2, 2, 1);
  m.push();
  m.translate(1, 1, 0);
  expectPoint(transform(m, {0, 0, 0, 1}), 7, 2);
  m.pop();
  expectPoint(transform(m, {1, 1, 0, 1}), 7, 2);
  m.pop();
  expectPoint(transform(m, {1, 1, 0, 1}), 6, 1);
  // Nothing left: the identity.
  m.pop();
  expectPoint(transform(m, {1, 1, 0, 1}), 1, 1);
  m.push();
  m.translate(3, 0, 0);
  m.clear();
  m.pop();
  expectPoint(transform(m, {1, 1, 0, 1}), 1, 1);
}

TEST(GLMatrix, OrthographicProjectionOfTheDrawingArea) {
  GLMatrix m;
  m.generateOrthoProjection(0, 1280, 720, 0);
  expectPoint(project(m, {0, 0, 0, 1}), -1, 1);
  expectPoint(project(m, {1280, 720, 0, 1}), 1, -1);
  // y up, as for drawing into the frame buffer.
  m.generateOrthoProjection(0, 1280, 0, 720);
  expectPoint(project(m, {0, 0, 0, 1}), -1, -1);
  // A canvas without width or height still gives numbers.
  m.generateOrthoProjection(0, 0, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(m[i])) << i;
}
