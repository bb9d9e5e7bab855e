#pragma once

#include <string>

class RgbaCanvas;

// A tiny 5 x 7 pixel font built into the tool, for captions: capital letters
// (small letters are drawn as capitals), digits, space and - . : ( ) / ,
// Any other character shows as an empty box.
class BitmapFont {
 public:
  static const int glyphWidth = 5;
  static const int glyphHeight = 7;
  // From one letter's left edge to the next one's.
  static const int advance = 6;

  // In pixels, each font pixel drawn as a square of scale x scale.
  static int textWidth(const std::string &text, int scale);
  static int textHeight(int scale) { return glyphHeight * scale; }
  // Top-left corner at (x, y), opaque; what falls outside the canvas is left out.
  static void draw(RgbaCanvas &canvas, int x, int y, const std::string &text, int scale, unsigned char red,
                   unsigned char green, unsigned char blue);

 private:
  // Seven rows, the leftmost pixel in bit 4.
  static const unsigned char *glyph(char c);
};
