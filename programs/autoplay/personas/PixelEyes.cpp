#include "personas/PixelEyes.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples over the picture at most: a 1280 x 720 screen is read every
// second pixel, a 1920 x 1080 one every third.
const double mostSamples = 640.0 * 360.0;
// Regions smaller than this are a soft edge's crumbs.
const int fewestDiscSamples = 4;
const int fewestMarkSamples = 3;
// A mark taller than this share of the screen is no text.
const float tallestMark = 0.1f;
// Above and below these a sample looks white or black.
// A disc over another colour differs from itself over the background by no
// more than this many just-noticeable differences at 0.9 opacity.
const float sameDiscOver = 4.0f;
const float whiteLightness = 95.0f, blackLightness = 8.0f, greyChroma = 8.0f;

float decode(uint8_t byte) {
  const float c = byte / 255.0f;
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float labCurve(float t) { return t > 0.008856452f ? std::cbrt(t) : t * 7.787037f + 16.0f / 116.0f; }

float chroma(const ThreeFloats &lab) { return std::sqrt(lab.y * lab.y + lab.z * lab.z); }

}  // namespace

ThreeFloats PixelEyes::lab(uint8_t r, uint8_t g, uint8_t b) {
  const float lr = decode(r), lg = decode(g), lb = decode(b);
  // sRGB to XYZ, over D65's white.
  const float x = (0.4124564f * lr + 0.3575761f * lg + 0.1804375f * lb) / 0.95047f;
  const float y = 0.2126729f * lr + 0.7151522f * lg + 0.0721750f * lb;
  const float z = (0.0193339f * lr + 0.1191920f * lg + 0.9503041f * lb) / 1.08883f;
  const float fx = labCurve(x), fy = labCurve(y), fz = labCurve(z);
  return ThreeFloats(116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz));
}

float PixelEyes::difference(const ThreeFloats &a, const ThreeFloats &b) {
  const ThreeFloats d = a - b;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

const ThreeFloats &PixelEyes::cachedLab(uint32_t colour) {
  const uint32_t key = colour | 0x1000000u;
  const size_t slot = ((colour * 2654435761u) >> 20) % CacheSize;
  if (cacheKeys[slot] != key) {
    cacheKeys[slot] = key;
    cacheLabs[slot] = lab(static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour));
  }
  return cacheLabs[slot];
}

void PixelEyes::look(const unsigned char *rgb, int width, int height, bool bottomUp, const TwoFloats &area,
                     Glance &glance) {
  glance = Glance();
  glance.area = area;
  if (width <= 0 || height <= 0) return;
  sample(rgb, width, height, bottomUp);
  join();
  gather();
  const int background = findBackground();
  const Region &back = regions[static_cast<size_t>(background)];
  glance.background = ThreeFloats(back.rgbSum[0], back.rgbSum[1], back.rgbSum[2]) * (1.0f / (255.0f * back.count));

  // Grid samples to drawing-area units.
  unit = TwoFloats(area.x * step / width, area.y * step / height);
  const float radiusUnit = 0.5f * (unit.x + unit.y);
  const ThreeFloats backLab = meanLab(back);
  markRegions.clear();
  for (size_t i = 0; i < regions.size(); ++i) {
    const int index = static_cast<int>(i);
    const Region &region = regions[i];
    if (index == background || region.count < fewestMarkSamples) continue;
    Circle circle;
    if (region.count >= fewestDiscSamples &&
        ((fitCircle(index, circle) && supported(index, circle)) || smallBlob(index, circle)) &&
        filledDisc(index, circle, backLab)) {
      seenEdge(index, circle);
      addDisc(index, circle, glance);
      continue;
    }
    if (region.bottom - region.top + 1 <= tallestMark * rows) markRegions.push_back(index);
  }
  std::sort(glance.discs.begin(), glance.discs.begin() + glance.discCount,
            [](const Glance::Disc &a, const Glance::Disc &b) { return a.radius > b.radius; });
  dropShades(glance);

  // Marks: the small shapes that are no disc nor inside one, run together into lines.
  for (int index : markRegions) {
    const Region &region = regions[static_cast<size_t>(index)];
    const TwoFloats centre(0.5f * (region.left + region.right + 1) * unit.x,
                           0.5f * (region.top + region.bottom + 1) * unit.y);
    // A disc's soft edge and faint halo fall into crumbs around it.
    bool inDisc = false;
    for (int d = 0; d < glance.discCount && !inDisc; ++d) {
      const Glance::Disc &disc = glance.discs[static_cast<size_t>(d)];
      const TwoFloats off = centre - disc.centre;
      inDisc = std::sqrt(off.x * off.x + off.y * off.y) <= 1.1f * disc.radius + 2.0f * radiusUnit;
    }
    if (!inDisc) addMark(index, glance);
  }
  // Lines grow glyph by glyph; a line may then reach another.
  for (bool joined = true; joined;) {
    joined = false;
    for (int a = 0; a < glance.markCount && !joined; ++a) {
      for (int b = a + 1; b < glance.markCount && !joined; ++b) {
        if (!joinMarks(glance.marks[static_cast<size_t>(a)], glance.marks[static_cast<size_t>(b)])) continue;
        glance.marks[static_cast<size_t>(b)] = glance.marks[static_cast<size_t>(--glance.markCount)];
        joined = true;
      }
    }
  }
  std::sort(glance.marks.begin(), glance.marks.begin() + glance.markCount,
            [](const Glance::Mark &a, const Glance::Mark &b) { return smaller(b, a); });

  double lightness = 0.0;
  int white = 0, black = 0;
  for (const ThreeFloats &l : labs) {
    lightness += l.x;
    white += l.x >= whiteLightness && chroma(l) <= greyChroma;
    black += l.x <= blackLightness;
  }
  const float samples = static_cast<float>(labs.size());
  glance.lightness = static_cast<float>(lightness / samples);
  glance.whiteShare = white / samples;
  glance.blackShare = black / samples;
}

void PixelEyes::sample(const unsigned char *rgb, int width, int height, bool bottomUp) {
  step = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(width) * height / mostSamples) - 1e-9)));
  columns = std::max(1, width / step);
  rows = std::max(1, height / step);
  const size_t count = static_cast<size_t>(columns) * rows;
  labs.resize(count);
  packed.resize(count);
  parent.resize(count);
  regionOf.resize(count);
  for (int r = 0; r < rows; ++r) {
    const int y = std::min(height - 1, r * step + step / 2);
    const unsigned char *row = rgb + static_cast<size_t>(bottomUp ? height - 1 - y : y) * width * 3;
    for (int c = 0; c < columns; ++c) {
      const unsigned char *p = row + static_cast<size_t>(std::min(width - 1, c * step + step / 2)) * 3;
      const uint32_t colour = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
      const size_t i = static_cast<size_t>(r) * columns + c;
      packed[i] = colour;
      labs[i] = cachedLab(colour);
    }
  }
}

int PixelEyes::find(int sample) {
  while (parent[static_cast<size_t>(sample)] != sample) {
    int &up = parent[static_cast<size_t>(sample)];
    up = parent[static_cast<size_t>(up)];
    sample = up;
  }
  return sample;
}

// A sample joins a neighbour's region when it cannot be told from the colour
// the region began with, and two regions join when their first colours cannot
// be told apart: a gradient falls into bands instead of running together.
void PixelEyes::join() {
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int i = r * columns + c;
      parent[static_cast<size_t>(i)] = i;
      const ThreeFloats &colour = labs[static_cast<size_t>(i)];
      if (c > 0) {
        const int left = find(i - 1);
        if (difference(colour, labs[static_cast<size_t>(left)]) < JustNoticeable) parent[static_cast<size_t>(i)] = left;
      }
      if (r > 0) {
        const int up = find(i - columns), own = find(i);
        if (own == up || difference(colour, labs[static_cast<size_t>(up)]) >= JustNoticeable) continue;
        if (own == i) {
          parent[static_cast<size_t>(i)] = up;
        } else if (difference(labs[static_cast<size_t>(own)], labs[static_cast<size_t>(up)]) < JustNoticeable) {
          parent[static_cast<size_t>(std::max(own, up))] = std::min(own, up);
        }
      }
    }
  }
}

void PixelEyes::gather() {
  regions.clear();
  // Regions are numbered in the order their roots are met; a root is its
  // region's first sample.
  for (int i = 0; i < static_cast<int>(labs.size()); ++i) {
    const int root = find(i);
    int index;
    if (root == i) {
      index = static_cast<int>(regions.size());
      regions.emplace_back();
      Region &fresh = regions.back();
      fresh.left = fresh.right = i % columns;
      fresh.top = fresh.bottom = i / columns;
    } else {
      index = regionOf[static_cast<size_t>(root)];
    }
    regionOf[static_cast<size_t>(i)] = index;
    Region &region = regions[static_cast<size_t>(index)];
    const int c = i % columns, r = i / columns;
    region.count += 1;
    region.edgeCount += c == 0 || r == 0 || c == columns - 1 || r == rows - 1;
    region.left = std::min(region.left, c);
    region.right = std::max(region.right, c);
    region.top = std::min(region.top, r);
    region.bottom = std::max(region.bottom, r);
    const ThreeFloats &l = labs[static_cast<size_t>(i)];
    region.labSum[0] += l.x;
    region.labSum[1] += l.y;
    region.labSum[2] += l.z;
    const uint32_t colour = packed[static_cast<size_t>(i)];
    region.rgbSum[0] += static_cast<float>(colour >> 16);
    region.rgbSum[1] += static_cast<float>((colour >> 8) & 0xff);
    region.rgbSum[2] += static_cast<float>(colour & 0xff);
  }
}

int PixelEyes::findBackground() const {
  int best = 0;
  for (size_t i = 1; i < regions.size(); ++i) {
    const Region &a = regions[i], &b = regions[static_cast<size_t>(best)];
    if (a.edgeCount > b.edgeCount || (a.edgeCount == b.edgeCount && a.count > b.count)) best = static_cast<int>(i);
  }
  return best;
}

// The outline is the region's samples beside another region, away from the
// screen's edges; a circle is fitted to it by least squares (Kasa's fit),
// then again to the part of it on the outside, which leaves out the rims of
// discs drawn over this one.
bool PixelEyes::fitCircle(int index, Circle &circle) {
  const Region &region = regions[static_cast<size_t>(index)];
  boundaryX.clear();
  boundaryY.clear();
  for (int r = std::max(1, region.top); r <= std::min(rows - 2, region.bottom); ++r) {
    for (int c = std::max(1, region.left); c <= std::min(columns - 2, region.right); ++c) {
      const size_t i = static_cast<size_t>(r) * columns + c;
      if (regionOf[i] != index) continue;
      if (regionOf[i - 1] == index && regionOf[i + 1] == index && regionOf[i - static_cast<size_t>(columns)] == index &&
          regionOf[i + static_cast<size_t>(columns)] == index)
        continue;
      boundaryX.push_back(c + 0.5f);
      boundaryY.push_back(r + 0.5f);
    }
  }
  float keepBeyond = 0.0f;
  int used = 0;
  for (int round = 0; round < 3; ++round) {
    double mx = 0, my = 0;
    used = 0;
    for (size_t p = 0; p < boundaryX.size(); ++p) {
      const float dx = boundaryX[p] - circle.x, dy = boundaryY[p] - circle.y;
      if (round > 0 && std::sqrt(dx * dx + dy * dy) < keepBeyond) continue;
      mx += boundaryX[p];
      my += boundaryY[p];
      ++used;
    }
    if (used < 8) return false;
    mx /= used;
    my /= used;
    double sxx = 0, syy = 0, sxy = 0, sxz = 0, syz = 0, sz = 0;
    for (size_t p = 0; p < boundaryX.size(); ++p) {
      const float dx = boundaryX[p] - circle.x, dy = boundaryY[p] - circle.y;
      if (round > 0 && std::sqrt(dx * dx + dy * dy) < keepBeyond) continue;
      const double x = boundaryX[p] - mx, y = boundaryY[p] - my, z = x * x + y * y;
      sxx += x * x;
      syy += y * y;
      sxy += x * y;
      sxz += x * z;
      syz += y * z;
      sz += z;
    }
    // With centred coordinates the sums of x and y vanish: D and E from a 2 x 2 system.
    const double det = sxx * syy - sxy * sxy;
    if (std::fabs(det) < 1e-9) return false;
    const double d = (-sxz * syy + syz * sxy) / det, e = (-syz * sxx + sxz * sxy) / det, f = -sz / used;
    const double r2 = (d * d + e * e) / 4 - f;
    if (r2 <= 0) return false;
    circle.x = static_cast<float>(mx - d / 2);
    circle.y = static_cast<float>(my - e / 2);
    // The outline samples lie half a sample inside the edge.
    circle.r = static_cast<float>(std::sqrt(r2)) + 0.5f;
    keepBeyond = 0.8f * circle.r;
  }
  // Round enough, and seen on enough of its way round.
  double residual = 0.0;
  int sectors = 0, outer = 0;
  for (size_t p = 0; p < boundaryX.size(); ++p) {
    const float dx = boundaryX[p] - circle.x, dy = boundaryY[p] - circle.y, distance = std::sqrt(dx * dx + dy * dy);
    if (distance < keepBeyond) continue;
    ++outer;
    residual += (distance + 0.5f - circle.r) * (distance + 0.5f - circle.r);
    const int sector = static_cast<int>(std::floor((std::atan2(dy, dx) + 3.14159265f) / 6.2831853f * 8.0f)) & 7;
    sectors |= 1 << sector;
  }
  if (outer < 8) return false;
  const double rms = std::sqrt(residual / outer);
  int seenSectors = 0;
  for (int s = 0; s < 8; ++s) seenSectors += (sectors >> s) & 1;
  return circle.r >= 1.0f && rms <= 0.1 * circle.r + 0.75 && seenSectors >= 3;
}

// A disc is filled: what lies inside its circle is itself or what is drawn
// over it, not the background's colour (a letter o's hole is). A thin band
// whose colour lies between what is inside and outside it is the soft edge
// of a disc, not a disc.
bool PixelEyes::filledDisc(int index, const Circle &circle, const ThreeFloats &backLab) const {
  int inside = 0, filled = 0;
  const int left = std::max(0, static_cast<int>(circle.x - circle.r)),
            right = std::min(columns - 1, static_cast<int>(circle.x + circle.r));
  const int top = std::max(0, static_cast<int>(circle.y - circle.r)),
            bottom = std::min(rows - 1, static_cast<int>(circle.y + circle.r));
  const float within = (circle.r - 0.5f) * (circle.r - 0.5f);
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      const float dx = c + 0.5f - circle.x, dy = r + 0.5f - circle.y;
      if (dx * dx + dy * dy > within) continue;
      ++inside;
      filled += difference(labs[static_cast<size_t>(r) * columns + c], backLab) >= JustNoticeable;
    }
  }
  if (inside == 0 || filled < 0.85f * inside) return false;

  const Region &region = regions[static_cast<size_t>(index)];
  if (region.count >= 3.0f * 6.2831853f * circle.r) return true;
  const auto labAt = [&](float x, float y, ThreeFloats &out) {
    const int c = static_cast<int>(x), r = static_cast<int>(y);
    if (c < 0 || r < 0 || c >= columns || r >= rows) return false;
    const size_t i = static_cast<size_t>(r) * columns + c;
    if (regionOf[i] == index) return false;
    out = labs[i];
    return true;
  };
  ThreeFloats in, out;
  if (!labAt(circle.x, circle.y, in)) return true;
  const float dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  bool outside = false;
  for (int k = 0; k < 4 && !outside; ++k)
    outside = labAt(circle.x + dx[k] * (circle.r + 1.5f), circle.y + dy[k] * (circle.r + 1.5f), out);
  if (!outside) return true;
  const ThreeFloats own = meanLab(region);
  const ThreeFloats span = out - in, toOwn = own - in;
  const float length2 = span.x * span.x + span.y * span.y + span.z * span.z;
  if (length2 <= 0.0f) return true;
  const float t = (toOwn.x * span.x + toOwn.y * span.y + toOwn.z * span.z) / length2;
  const bool between = t > 0.0f && t < 1.0f && difference(own, in + span * t) < JustNoticeable;
  return !between;
}

// The circle runs along its region: just inside it lies the region's own
// colour, or one close to it (the same disc over something else), nearly all
// the way round. A shape made of two circles' arcs fits neither.
bool PixelEyes::supported(int index, const Circle &circle) const {
  const ThreeFloats own = meanLab(regions[static_cast<size_t>(index)]);
  int valid = 0, along = 0;
  for (int k = 0; k < 32; ++k) {
    const float angle = k * 0.19634954f;
    const int c = static_cast<int>(std::floor(circle.x + std::cos(angle) * (circle.r - 1.5f)));
    const int r = static_cast<int>(std::floor(circle.y + std::sin(angle) * (circle.r - 1.5f)));
    if (c < 0 || r < 0 || c >= columns || r >= rows) continue;
    const size_t i = static_cast<size_t>(r) * columns + c;
    ++valid;
    along += regionOf[i] == index || difference(labs[i], own) < sameDiscOver * JustNoticeable;
  }
  return valid >= 8 && along >= 0.7f * valid;
}

// Inside a disc, a patch of nearly its colour is the disc over something
// showing through (another disc's soft edge), not a disc of its own.
void PixelEyes::dropShades(Glance &glance) {
  const auto labOf = [](const ThreeFloats &c) {
    return lab(static_cast<uint8_t>(std::lround(c.x * 255)), static_cast<uint8_t>(std::lround(c.y * 255)),
               static_cast<uint8_t>(std::lround(c.z * 255)));
  };
  int kept = 0;
  for (int b = 0; b < glance.discCount; ++b) {
    const Glance::Disc &inner = glance.discs[static_cast<size_t>(b)];
    bool shade = false;
    for (int a = 0; a < kept && !shade; ++a) {
      const Glance::Disc &outer = glance.discs[static_cast<size_t>(a)];
      const TwoFloats off = inner.centre - outer.centre;
      shade = std::sqrt(off.x * off.x + off.y * off.y) + inner.radius <= outer.radius * 1.05f &&
              difference(labOf(inner.colour), labOf(outer.colour)) < sameDiscOver * JustNoticeable;
    }
    if (!shade) glance.discs[static_cast<size_t>(kept++)] = inner;
  }
  glance.discCount = kept;
}

// One disc drawn over two backgrounds is two regions of nearly one circle,
// each fitted to its own part of the outline: seen as one disc, between the
// two, in the colour of its larger part.
void PixelEyes::addDisc(int index, const Circle &circle, Glance &glance) {
  const Region &region = regions[static_cast<size_t>(index)];
  Glance::Disc disc;
  disc.centre = TwoFloats(circle.x * unit.x, circle.y * unit.y);
  disc.radius = circle.r * 0.5f * (unit.x + unit.y);
  disc.colour = ThreeFloats(region.rgbSum[0], region.rgbSum[1], region.rgbSum[2]) * (1.0f / (255.0f * region.count));
  for (int d = 0; d < glance.discCount; ++d) {
    Glance::Disc &other = glance.discs[static_cast<size_t>(d)];
    const TwoFloats off = other.centre - disc.centre;
    const float larger = std::max(other.radius, disc.radius);
    if (std::sqrt(off.x * off.x + off.y * off.y) > 0.3f * larger ||
        std::fabs(other.radius - disc.radius) > 0.15f * larger)
      continue;
    int &otherSamples = discSamples[static_cast<size_t>(d)];
    const float share = static_cast<float>(region.count) / static_cast<float>(region.count + otherSamples);
    other.centre = other.centre + (disc.centre - other.centre) * share;
    other.radius += (disc.radius - other.radius) * share;
    if (region.count > otherSamples) other.colour = disc.colour;
    otherSamples += region.count;
    return;
  }
  if (glance.discCount >= Glance::MostDiscs) return;
  discSamples[static_cast<size_t>(glance.discCount)] = region.count;
  glance.discs[static_cast<size_t>(glance.discCount++)] = disc;
}

// Too small for its outline to show a circle: a blob about as wide as it
// is high that fills most of the circle around it, on one colour all round
// (not a crumb of a larger disc's soft edge).
bool PixelEyes::smallBlob(int index, Circle &circle) const {
  const Region &region = regions[static_cast<size_t>(index)];
  const int w = region.right - region.left + 1, h = region.bottom - region.top + 1, side = std::max(w, h);
  if (side > 10 || side < 2 || std::abs(w - h) > std::max(1, side / 4)) return false;
  circle.r = 0.5f * side;
  const float fill = region.count / (3.14159265f * circle.r * circle.r);
  if (fill < 0.6f || fill > 1.4f) return false;
  circle.x = 0.5f * (region.left + region.right + 1);
  circle.y = 0.5f * (region.top + region.bottom + 1);
  ThreeFloats first;
  int around = 0;
  for (int k = 0; k < 16; ++k) {
    const float angle = k * 0.39269908f;
    const int c = static_cast<int>(std::floor(circle.x + std::cos(angle) * (circle.r + 1.5f)));
    const int r = static_cast<int>(std::floor(circle.y + std::sin(angle) * (circle.r + 1.5f)));
    if (c < 0 || r < 0 || c >= columns || r >= rows) continue;
    const ThreeFloats &lab = labs[static_cast<size_t>(r) * columns + c];
    if (around++ == 0) first = lab;
    if (difference(lab, first) >= 2.0f * JustNoticeable) return false;
  }
  return around >= 8;
}

// Where a person sees the edge: on rays out from the centre, where the
// colour has gone half the way from the disc's own to what lies outside it.
void PixelEyes::seenEdge(int index, Circle &circle) const {
  const ThreeFloats own = meanLab(regions[static_cast<size_t>(index)]);
  float edges[16];
  int found = 0;
  const auto labAt = [&](float distance, float dx, float dy, ThreeFloats &out) {
    const int c = static_cast<int>(std::floor(circle.x + dx * distance)),
              r = static_cast<int>(std::floor(circle.y + dy * distance));
    if (c < 0 || r < 0 || c >= columns || r >= rows) return false;
    out = labs[static_cast<size_t>(r) * columns + c];
    return true;
  };
  for (int k = 0; k < 16; ++k) {
    const float angle = k * 0.39269908f, dx = std::cos(angle), dy = std::sin(angle);
    ThreeFloats outside, at;
    if (!labAt(1.3f * circle.r + 2.0f, dx, dy, outside)) continue;
    const float half = 0.5f * difference(own, outside);
    if (half < JustNoticeable) continue;
    for (float distance = 0.8f * circle.r; distance <= 1.3f * circle.r + 2.0f; distance += 0.5f) {
      if (!labAt(distance, dx, dy, at)) break;
      if (difference(own, at) >= half) {
        edges[found++] = distance;
        break;
      }
    }
  }
  if (found < 3) return;
  std::nth_element(edges, edges + found / 2, edges + found);
  circle.r = edges[found / 2];
}

ThreeFloats PixelEyes::meanLab(const Region &region) {
  return ThreeFloats(region.labSum[0], region.labSum[1], region.labSum[2]) * (1.0f / region.count);
}

void PixelEyes::addMark(int index, Glance &glance) const {
  const Region &region = regions[static_cast<size_t>(index)];
  Glance::Mark mark;
  mark.size = TwoFloats((region.right - region.left + 1) * unit.x, (region.bottom - region.top + 1) * unit.y);
  mark.centre = TwoFloats(region.left * unit.x + mark.size.x / 2, region.top * unit.y + mark.size.y / 2);
  mark.colour = ThreeFloats(region.rgbSum[0], region.rgbSum[1], region.rgbSum[2]) * (1.0f / (255.0f * region.count));
  for (int m = 0; m < glance.markCount; ++m) {
    if (joinMarks(glance.marks[static_cast<size_t>(m)], mark)) return;
  }
  if (glance.markCount < Glance::MostMarks) {
    glance.marks[static_cast<size_t>(glance.markCount++)] = mark;
    return;
  }
  // The smallest mark gives way to a larger one.
  Glance::Mark &smallest = *std::min_element(glance.marks.begin(), glance.marks.end(), smaller);
  if (smaller(smallest, mark)) smallest = mark;
}

bool PixelEyes::smaller(const Glance::Mark &a, const Glance::Mark &b) { return a.size.x * a.size.y < b.size.x * b.size.y; }

// Marks on one line (overlapping by half the lower one's height) and no more
// than one and a half heights apart are one line of text.
bool PixelEyes::joinMarks(Glance::Mark &into, const Glance::Mark &mark) {
  const float top = std::max(into.centre.y - into.size.y / 2, mark.centre.y - mark.size.y / 2);
  const float bottom = std::min(into.centre.y + into.size.y / 2, mark.centre.y + mark.size.y / 2);
  const float gap = std::fabs(into.centre.x - mark.centre.x) - (into.size.x + mark.size.x) / 2;
  if (bottom - top < 0.5f * std::min(into.size.y, mark.size.y) || gap > 1.5f * std::max(into.size.y, mark.size.y))
    return false;
  const float left = std::min(into.centre.x - into.size.x / 2, mark.centre.x - mark.size.x / 2);
  const float right = std::max(into.centre.x + into.size.x / 2, mark.centre.x + mark.size.x / 2);
  const float lineTop = std::min(into.centre.y - into.size.y / 2, mark.centre.y - mark.size.y / 2);
  const float lineBottom = std::max(into.centre.y + into.size.y / 2, mark.centre.y + mark.size.y / 2);
  const float weight = into.size.x * into.size.y, otherWeight = mark.size.x * mark.size.y;
  into.colour = (weight * into.colour + otherWeight * mark.colour) * (1.0f / (weight + otherWeight));
  into.centre = TwoFloats((left + right) / 2, (lineTop + lineBottom) / 2);
  into.size = TwoFloats(right - left, lineBottom - lineTop);
  return true;
}
