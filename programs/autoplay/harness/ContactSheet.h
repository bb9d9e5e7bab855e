#pragma once

#include "tools/forge-images/RgbaCanvas.h"

#include <string>
#include <vector>

// Many frames in one picture, the one a person looks at first: a grid of
// thumbnails in the order they were added, each captioned underneath with
// the built-in bitmap font.
class ContactSheet {
 public:
  // Frames are scaled down to thumbnailWidth, keeping their shape.
  explicit ContactSheet(int columns = 4, int thumbnailWidth = 320);

  void add(const std::string &caption, const RgbaCanvas &frame);
  // The grid; a small empty canvas when nothing was added.
  RgbaCanvas compose() const;
  int size() const { return static_cast<int>(entries.size()); }

 private:
  struct Entry {
    std::string caption;
    RgbaCanvas thumbnail;
  };
  // Each thumbnail pixel the mean of the frame's pixels it covers.
  RgbaCanvas shrink(const RgbaCanvas &frame) const;

  int columns;
  int thumbnailWidth;
  std::vector<Entry> entries;
};
