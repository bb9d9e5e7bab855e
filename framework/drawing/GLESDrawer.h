#pragma once

#include "framework/drawing/GLDrawerBase.h"
#include "framework/drawing/GLMatrix.h"

#include <string>
#include <vector>

// The shader-based OpenGL drawer: every image owns a vertex array holding
// its quad, rectangles and lines share one unit quad, and a built-in GLSL
// program ("-default-shader-") draws them with the model-view and projection
// transforms kept here and handed over as uniforms. Rotation angles are in
// radians. Textures, images, fonts, shaders and the frame buffer are the
// shared machinery of GLDrawerBase.
//
// Every program gets its vertex inputs at fixed locations: "pxuVertexPosition"
// 0, "pxuBaseTexCoords" 1, "pxuSecondTexCoords" 2 and "pxuVertexColour" 3,
// and is given the uniforms "pxuProjectionMatrix", "pxuModelviewMatrix",
// "pxuColour", "pxuBaseTexture", "pxuSecondTexture" and "pxuTextureExists"
// (found in each program when it is chosen). Gradients and connected lines
// carry a colour per vertex: the default program hands them to a second
// built-in program that reads it; a caller's program gets it in
// "pxuVertexColour", with "pxuColour" white.
// Main (OpenGL) thread only.
class GLESDrawer final : public GLDrawerBase {
 public:
  typedef GLImage ESImage;

  // The built-in program's sources.
  static const wchar_t *const defaultVertexSource;
  static const wchar_t *const defaultFragmentSource;

  explicit GLESDrawer(FrameBuffers frameBuffers = FrameBuffers::IfAvailable);
  // With other sources for the built-in program: for checking what happens
  // where a driver rejects it.
  GLESDrawer(FrameBuffers frameBuffers, const std::wstring &vertexSource, const std::wstring &fragmentSource);

  // Whether the current OpenGL context can run this drawer: OpenGL 2.0 or
  // later and "GL_ARB_vertex_array_object", or OpenGL ES 2.0 or later (WebGL)
  // and "GL_OES_vertex_array_object". On OpenGL ES the programs are compiled
  // as GLSL ES (GLVersion::shaderSource).
  static bool isSupported();
  // The same from the context's version and extension strings (null for a
  // string the context does not give).
  static bool isSupported(const char *version, const char *extensions);

  // Builds the built-in programs in the current OpenGL context; false, after
  // the driver's log has been reported on standard error, when one does not
  // compile or link, and then this drawer is not to be used. initialise
  // calls it when nobody has.
  bool prepare();

  void endDrawing() override;
  void useShader(const std::wstring &name) override;
  void drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale, const ThreeFloats &colour,
                 float alpha) override;
  void drawRotImage(const std::wstring &name, const TwoFloats &position, float angle, const TwoFloats &pivot,
                    const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end, const ThreeFloats &colour,
                float alpha) override;
  void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) override;
  void translate(const TwoFloats &offset) override;

 private:
  enum class Preparation { NotYet, Done, Failed };

  void prepareDrawing() override;
  void setProjection(const TwoFloats &size, bool yUp) override;
  void resetTransform() override;
  void imageRegistered(GLImage &record) override;
  void imageReleased(GLImage &record) override;
  void programLinking(unsigned int program) override;
  // Under the built-in program, also picks its textured or plain case.
  void texturingChanged(bool textured) override;
  // Hands "pxuTextureExists" to the program in use, on change.
  void setTextureExists(bool textured);
  void forgetBindings() override;
  void drawQuads(const QuadVertex *vertices, size_t count, bool vertexColours) override;

  // Uses the program and finds its uniforms; hands it the transforms.
  void activateProgram(unsigned int program);
  // Where a vertex buffer holds each attribute: bytes from one vertex to
  // the next, and offsets into a vertex (colour < 0: no colour).
  struct Layout {
    int stride;
    int texCoord;
    int secondTexCoord;
    int colour;
  };
  // A vertex array and its buffer, filled with bytes of data, the
  // attributes enabled as laid out.
  void createVertexArray(unsigned int &vertexArray, unsigned int &buffer, const float *data, size_t bytes,
                         const Layout &layout);
  void deleteVertexArray(unsigned int &vertexArray, unsigned int &buffer);
  // Every vertex-array bind goes through here; binds only on change.
  void bindVertexArray(unsigned int vertexArray);
  void uploadProjection();
  void uploadModelview();
  // Draws a four-vertex strip from a vertex array with the model-view the
  // caller has pushed and transformed, then pops it.
  void drawPushedStrip(unsigned int vertexArray, const ThreeFloats &colour, float alpha);
  // The same for an image, with its textures.
  void drawPushedImage(const GLImage &image, const ThreeFloats &colour, float alpha);
  void setColour(const ThreeFloats &colour, float alpha);

  GLMatrix projection;
  GLMatrix modelview;
  int projectionLocation = -1;
  int modelviewLocation = -1;
  int vertexPositionLocation = 0;
  int baseTexCoordsLocation = 1;
  int secondTexCoordsLocation = 2;
  int colourLocation = -1;
  int baseTextureLocation = -1;
  int secondTextureLocation = -1;
  int textureExistsLocation = -1;
  unsigned int unitQuad = 0;
  unsigned int unitQuadBuffer = 0;
  // The vertex array last bound; unknownVertexArray forces the next bind.
  static constexpr unsigned int unknownVertexArray = ~0u;
  unsigned int currentVertexArray = unknownVertexArray;
  // The value the program's "pxuTextureExists" holds (-1: unknown).
  float textureExists = -1.0f;
  // Gradients and connected lines: the program with a colour per vertex, and
  // the vertex array their vertices stream through.
  unsigned int vertexColourProgram = 0;
  // The built-in program's textured and plain cases (0 when it was given
  // other sources, or they did not build), and the program in use.
  unsigned int texturedProgram = 0;
  unsigned int plainProgram = 0;
  unsigned int activeProgram = 0;
  unsigned int streamArray = 0;
  unsigned int streamBuffer = 0;
  std::vector<QuadVertex> triangles;
  std::wstring builtInVertexSource;
  std::wstring builtInFragmentSource;
  Preparation preparation = Preparation::NotYet;
};
