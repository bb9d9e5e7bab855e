#pragma once

#include "framework/drawing/Drawer.h"

#include <string>
#include <vector>

// A drawer without OpenGL that records the calls game states make, for tests
// of what a state draws frame by frame.
class RecordingDrawer final : public Drawer {
 public:
  struct Call {
    std::string operation;  // "fillRect", "drawImage", "loadSingleImage", ...
    std::wstring name;
    TwoFloats position;
    TwoFloats size;  // fillRect: the size; drawImage: the scale
    ThreeFloats colour;
    float alpha = 0.0f;
  };

  explicit RecordingDrawer(const TwoFloats &drawingArea = TwoFloats(1280, 720)) : area(drawingArea) {}

  std::vector<Call> calls;
  // Calls of one operation, in order.
  std::vector<Call> callsOf(const std::string &operation) const;

  void initialise(int, int, const AppSettings &) override {}
  void resizeWindow(int, int) override {}
  void refitWindow(int, int) override {}
  void setFontRenderer(FontAtlas::Creator &) override {}
  void loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) override;
  void loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) override;
  void releaseImage(const std::wstring &) override {}
  void loadShader(const std::wstring &, const std::wstring &, const std::wstring &name) override;
  void registerShaderParam(const std::wstring &) override {}
  void releaseShader(const std::wstring &) override {}
  void loadFont(const std::wstring &fontName, float, const std::wstring &name) override;
  void releaseFont(const std::wstring &) override {}
  void beginDrawing() override {}
  void endDrawing() override {}
  void getScreenPixels(std::vector<unsigned char> &pixels) override { pixels.clear(); }
  void useShader(const std::wstring &) override {}
  void setShaderParam(const std::wstring &, float) override {}
  void useSecondImage(const std::wstring &) override {}
  void setBlendMode(int) override {}
  void registerCustomBlendMode(int, Drawer::CustomBlendMode *) override {}
  void drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale, const ThreeFloats &colour,
                 float alpha) override;
  void drawRotImage(const std::wstring &, const TwoFloats &, float, const TwoFloats &, const TwoFloats &,
                    const ThreeFloats &, float) override {}
  void drawSubImage(const std::wstring &, const TwoFloats &, const TwoFloats &, const TwoFloats &, const TwoFloats &,
                    const ThreeFloats &, float) override {}
  void drawTiledImage(const std::wstring &, const TwoFloats &, const TwoFloats &, const TwoFloats &,
                      const ThreeFloats &, float) override {}
  void drawText(const std::wstring &, const std::wstring &, const TwoFloats &, float, TextLayout::Justification, float,
                const ThreeFloats &, float) override {}
  void drawText(const std::wstring &, const std::wstring &, TextLayout &, const TwoFloats &, float,
                TextLayout::Justification, float, const ThreeFloats &, float) override {}
  void drawLine(const std::wstring &, const TwoFloats &, const TwoFloats &, const ThreeFloats &, float) override {}
  void drawConnectedLine(const std::wstring &, const std::vector<TwoFloats> &, const std::vector<float> &,
                         const std::vector<ThreeFloats> &, const std::vector<float> &) override {}
  void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) override;
  void fillGradient(const TwoFloats &, const TwoFloats &, const ThreeFloats &, const ThreeFloats &, float,
                    float) override {}
  void translate(const TwoFloats &) override {}
  void setViewport(const TwoFloats &, const TwoFloats &) override {}
  void resetViewport() override {}
  void startFrameBufferDrawing() override {}
  void endFrameBufferDrawing() override {}
  std::wstring getFrameBufferImage() const override { return L"frameBufferImage"; }
  bool canSupport(Drawer::GraphicsCapabilities) const override { return true; }
  const TwoFloats &getDrawingAreaSize() const override { return area; }
  const TwoFloats &getWindowSize() const override { return area; }
  const void *getInternalImageData(const std::wstring &) const override { return nullptr; }

 private:
  TwoFloats area;
};
