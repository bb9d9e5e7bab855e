#include "harness/ContactSheet.h"

#include "harness/BitmapFont.h"

#include <algorithm>

namespace {

const int margin = 12;
const int captionScale = 2;
const int captionGap = 6;

}  // namespace

ContactSheet::ContactSheet(int columns, int thumbnailWidth)
    : columns(std::max(1, columns)), thumbnailWidth(std::max(1, thumbnailWidth)) {}

RgbaCanvas ContactSheet::shrink(const RgbaCanvas &frame) const {
  const int width = std::min(thumbnailWidth, frame.getWidth());
  const int height = std::max(1, frame.getHeight() * width / std::max(1, frame.getWidth()));
  RgbaCanvas thumbnail(width, height);
  for (int y = 0; y < height; ++y) {
    const int y0 = y * frame.getHeight() / height, y1 = std::max(y0 + 1, (y + 1) * frame.getHeight() / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * frame.getWidth() / width, x1 = std::max(x0 + 1, (x + 1) * frame.getWidth() / width);
      unsigned sums[4] = {0, 0, 0, 0};
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          const unsigned char *p = frame.pixel(sx, sy);
          for (int c = 0; c < 4; ++c) sums[c] += p[c];
        }
      }
      const unsigned count = static_cast<unsigned>((y1 - y0) * (x1 - x0));
      unsigned char *out = thumbnail.pixel(x, y);
      for (int c = 0; c < 4; ++c) out[c] = static_cast<unsigned char>((sums[c] + count / 2) / count);
    }
  }
  return thumbnail;
}

void ContactSheet::add(const std::string &caption, const RgbaCanvas &frame) {
  entries.push_back(Entry{caption, shrink(frame)});
}

RgbaCanvas ContactSheet::compose() const {
  if (entries.empty()) return RgbaCanvas(1, 1);
  int cellWidth = 0, thumbnailHeight = 0;
  for (const Entry &entry : entries) {
    cellWidth = std::max({cellWidth, entry.thumbnail.getWidth(), BitmapFont::textWidth(entry.caption, captionScale)});
    thumbnailHeight = std::max(thumbnailHeight, entry.thumbnail.getHeight());
  }
  const int cellHeight = thumbnailHeight + captionGap + BitmapFont::textHeight(captionScale);
  const int used = std::min(columns, size());
  const int rows = (size() + columns - 1) / columns;
  RgbaCanvas sheet(margin + used * (cellWidth + margin), margin + rows * (cellHeight + margin));
  sheet.fill(24, 24, 28, 255);
  for (int i = 0; i < size(); ++i) {
    const Entry &entry = entries[i];
    const int left = margin + (i % columns) * (cellWidth + margin);
    const int top = margin + (i / columns) * (cellHeight + margin);
    const RgbaCanvas &thumbnail = entry.thumbnail;
    for (int y = 0; y < thumbnail.getHeight(); ++y) {
      std::copy(thumbnail.pixel(0, y), thumbnail.pixel(0, y) + thumbnail.getWidth() * 4, sheet.pixel(left, top + y));
    }
    BitmapFont::draw(sheet, left, top + thumbnailHeight + captionGap, entry.caption, captionScale, 235, 235, 235);
  }
  return sheet;
}
