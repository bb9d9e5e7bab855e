#pragma once

#include "RgbaCanvas.h"

#include <string>

// Draws a line of text in white, antialiased in alpha, scaled to fill a
// rectangle of a canvas.
class TextPainter {
 public:
  explicit TextPainter(const std::string &fontFile);
  ~TextPainter();
  TextPainter(const TextPainter &) = delete;
  TextPainter &operator=(const TextPainter &) = delete;

  bool isValid() const;
  // The largest size whose ink stays margin pixels inside the rectangle,
  // centred in it. False when the text cannot be drawn.
  bool fitText(RgbaCanvas &canvas, const std::u32string &text, int x, int y, int width, int height, int margin);

 private:
  struct Ink {
    double left, top, right, bottom;
  };
  // Ink bounds (pixels, y down, origin on the baseline at the pen start).
  bool measure(const std::u32string &text, double pixelSize, Ink &ink);
  // With paint false only measures.
  bool render(const std::u32string &text, double pixelSize, double originX, double baseline, RgbaCanvas *canvas,
              Ink &ink);

  struct Face;
  Face *face;
};
