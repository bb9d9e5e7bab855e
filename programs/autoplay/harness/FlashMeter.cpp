#include "harness/FlashMeter.h"

#include "base/Assertion.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstdio>

namespace {

// About this many cells across a frame: a ring still covers several, and
// following them costs little beside reading the pixels.
constexpr int CellsAcross = 64;
// A general flash: opposing changes of a tenth of the luminance range, the
// darker state below 0.8.
constexpr float LuminanceStep = 0.1f;
constexpr float BrightLuminance = 0.8f;
// A red flash, after Harding and Binnie as WCAG quotes them: (R - G - B) x 320
// (negative taken as 0) changes by more than 20, and one state of each
// transition or both is a saturated red, R / (R + G + B) >= 0.8.
constexpr float RednessScale = 320.0f;
constexpr float RednessStep = 20.0f;
constexpr float SaturatedRedShare = 0.8f;
// The 10-degree field is 341 x 256 pixels of a 1024 x 768 screen, taken as
// the same share of our frame; flashes fail where they cover more than a
// quarter of it.
constexpr double FieldWidthShare = 341.0 / 1024.0;
constexpr double FieldHeightShare = 256.0 / 768.0;
constexpr double FailingShareOfField = 0.25;

constexpr int WindowBitCount = FlashMeter::FramesPerSecond;
constexpr std::uint64_t WindowBits = (std::uint64_t(1) << WindowBitCount) - 1;

// sRGB bytes to linear light, as WCAG's relative luminance takes them.
const std::array<float, 256> &linearTable() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[i] = static_cast<float>(c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

std::string describeWorst(const FlashMeter::Worst &worst, const char *kind) {
  char text[96];
  const char *noun = worst.flashes == 1 ? "flash" : "flashes";
  if (worst.fromFrame < 0)
    std::snprintf(text, sizeof text, "%d %s %s", worst.flashes, kind, noun);
  else
    std::snprintf(text, sizeof text, "%d %s %s (from frame %ld)", worst.flashes, kind, noun, worst.fromFrame);
  return text;
}

}  // namespace

bool FlashMeter::Report::passes() const {
  return general.flashes <= MostFlashesPerSecond && red.flashes <= MostFlashesPerSecond;
}

std::string FlashMeter::Report::describe() const {
  char text[320];
  std::snprintf(text, sizeof text, "flash report: %ld frames, worst second %s, %s: %s WCAG 2.3.1 (at most %d a second)",
                frameCount, describeWorst(general, "general").c_str(), describeWorst(red, "red").c_str(),
                passes() ? "passes" : "fails", MostFlashesPerSecond);
  return text;
}

FlashMeter::FlashMeter() {
  general.step = LuminanceStep;
  red.step = RednessStep;
  red.stepExcluded = true;
}

void FlashMeter::addFrame(const unsigned char *rgb, int width, int height) {
  MW_ASSERT(rgb != nullptr && width > 0 && height > 0);
  if (width != frameWidth || height != frameHeight) layOut(width, height);
  sumCells(rgb);
  followCells();
  findWorst(general, result.general);
  findWorst(red, result.red);
  ++result.frameCount;
}

void FlashMeter::layOut(int width, int height) {
  frameWidth = width;
  frameHeight = height;
  cellSize = std::max(1, (width + CellsAcross / 2) / CellsAcross);
  columns = (width + cellSize - 1) / cellSize;
  rows = (height + cellSize - 1) / cellSize;
  const std::size_t cells = static_cast<std::size_t>(columns) * rows;
  cellSums.assign(cells * 3, 0.0f);
  cellArea.resize(cells);
  for (int row = 0; row < rows; ++row) {
    const int cellHeight = std::min(cellSize, height - row * cellSize);
    for (int column = 0; column < columns; ++column)
      cellArea[row * columns + column] = cellHeight * std::min(cellSize, width - column * cellSize);
  }
  counts.assign(cells, 0);
  areaTable.assign(static_cast<std::size_t>(columns + 1) * (rows + 1), 0);
  for (Measure *measure : {&general, &red}) {
    measure->swings.assign(cells, Swing{});
    measure->recent.assign(cells, 0);
  }
  const double fieldWidth = width * FieldWidthShare, fieldHeight = height * FieldHeightShare;
  fieldColumns = std::clamp(static_cast<int>(std::lround(fieldWidth / cellSize)), 1, columns);
  fieldRows = std::clamp(static_cast<int>(std::lround(fieldHeight / cellSize)), 1, rows);
  failingArea = FailingShareOfField * fieldWidth * fieldHeight;
  fresh = true;
}

void FlashMeter::sumCells(const unsigned char *rgb) {
  const std::array<float, 256> &linear = linearTable();
  std::fill(cellSums.begin(), cellSums.end(), 0.0f);
  const unsigned char *pixel = rgb;
  for (int y = 0; y < frameHeight; ++y) {
    float *sums = &cellSums[static_cast<std::size_t>(y / cellSize) * columns * 3];
    for (int column = 0; column < columns; ++column, sums += 3) {
      const int pixelCount = std::min(cellSize, frameWidth - column * cellSize);
      float r = 0.0f, g = 0.0f, b = 0.0f;
      for (int i = 0; i < pixelCount; ++i, pixel += 3) {
        r += linear[pixel[0]];
        g += linear[pixel[1]];
        b += linear[pixel[2]];
      }
      sums[0] += r;
      sums[1] += g;
      sums[2] += b;
    }
  }
}

void FlashMeter::followCells() {
  for (std::size_t cell = 0; cell < cellArea.size(); ++cell) {
    const float *sum = &cellSums[cell * 3];
    const float scale = 1.0f / cellArea[cell];
    const float r = sum[0] * scale, g = sum[1] * scale, b = sum[2] * scale;
    const float luminance = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    follow(general, cell, luminance, luminance < BrightLuminance);
    const bool saturatedRed = r > 0.0f && r >= SaturatedRedShare * (r + g + b);
    follow(red, cell, std::max(0.0f, r - g - b) * RednessScale, saturatedRed);
  }
  fresh = false;
}

// A transition runs from one extreme to the next: it goes on while the value
// keeps its way, and ends where the value turns back by a whole step, so that
// slow changes add up and small wobbles do not start new transitions.
void FlashMeter::follow(Measure &measure, std::size_t cell, float value, bool flagged) {
  Swing &swing = measure.swings[cell];
  std::uint64_t &recent = measure.recent[cell];
  recent <<= 1;
  if (fresh) {
    swing = Swing{value, value, 0, flagged, flagged, false};
    return;
  }
  const auto wholeStep = [&measure](float change) {
    return measure.stepExcluded ? change > measure.step : change >= measure.step;
  };
  const float change = value - swing.extreme;
  const int way = change > 0.0f ? 1 : change < 0.0f ? -1 : 0;
  if (way == 0) return;
  if (swing.direction == 0 || way == swing.direction) {
    // From the first frame nothing counts until the value has moved a step.
    if (swing.direction == 0 && !wholeStep(std::fabs(value - swing.start))) return;
    swing.direction = way;
  } else if (wholeStep(std::fabs(change))) {
    swing = Swing{swing.extreme, swing.extreme, way, swing.extremeFlagged, swing.extremeFlagged, false};
  } else {
    return;
  }
  swing.extreme = value;
  swing.extremeFlagged = flagged;
  if (swing.counted || !(swing.startFlagged || swing.extremeFlagged)) return;
  if (!wholeStep(std::fabs(swing.extreme - swing.start))) return;
  swing.counted = true;
  recent |= 1;
}

// Only a second worse than the worst so far needs the field searched.
void FlashMeter::findWorst(const Measure &measure, Worst &worst) {
  int most = 0;
  for (std::size_t cell = 0; cell < counts.size(); ++cell) {
    counts[cell] = static_cast<std::uint8_t>(std::bitset<64>(measure.recent[cell] & WindowBits).count());
    most = std::max<int>(most, counts[cell]);
  }
  for (int transitions = 2 * (worst.flashes + 1); transitions <= most && fieldFlashes(transitions); transitions += 2) {
    worst.flashes = transitions / 2;
    worst.fromFrame = firstTransition(measure, transitions);
  }
}

// Whether the cells with at least this many transitions this second cover
// more than the failing area of some 10-degree field.
bool FlashMeter::fieldFlashes(int transitions) {
  const int stride = columns + 1;
  for (int row = 0; row < rows; ++row) {
    int *line = &areaTable[static_cast<std::size_t>(row + 1) * stride];
    const int *above = line - stride;
    int rowArea = 0;
    for (int column = 0; column < columns; ++column) {
      const std::size_t cell = static_cast<std::size_t>(row) * columns + column;
      if (counts[cell] >= transitions) rowArea += cellArea[cell];
      line[column + 1] = above[column + 1] + rowArea;
    }
  }
  for (int top = 0; top + fieldRows <= rows; ++top) {
    const int *upper = &areaTable[static_cast<std::size_t>(top) * stride];
    const int *lower = upper + static_cast<std::size_t>(fieldRows) * stride;
    for (int left = 0; left + fieldColumns <= columns; ++left) {
      const int area = lower[left + fieldColumns] - lower[left] - upper[left + fieldColumns] + upper[left];
      if (area > failingArea) return true;
    }
  }
  return false;
}

// The second is dated from the earliest transition in it of any cell that
// flashes that often.
long FlashMeter::firstTransition(const Measure &measure, int transitions) const {
  int oldest = 0;
  for (std::size_t cell = 0; cell < counts.size(); ++cell) {
    if (counts[cell] < transitions) continue;
    const std::uint64_t bits = measure.recent[cell] & WindowBits;
    for (int age = WindowBitCount - 1; age > oldest; --age) {
      if (bits >> age & 1) {
        oldest = age;
        break;
      }
    }
  }
  return result.frameCount - oldest;
}
