#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Measures a stream of frames, shown at 60 a second, against the general-flash
// and red-flash thresholds of WCAG 2.3.1 ("three flashes or below threshold"):
// in every second, the flashes of each kind that cover more than a quarter of
// some 10-degree field of view. Pure computation, no OpenGL: any thread, one
// caller at a time. Allocates when it first sees a frame size, never after
// while the size stays the same.
class FlashMeter final {
 public:
  static constexpr int FramesPerSecond = 60;
  static constexpr int MostFlashesPerSecond = 3;

  // The second with the most flashes of one kind, counted from the frame of
  // its first transition; -1 while nothing has flashed.
  struct Worst {
    int flashes = 0;
    long fromFrame = -1;
  };

  struct Report {
    long frameCount = 0;
    Worst general;
    Worst red;

    bool passes() const;
    // One line: "flash report: 612 frames, worst second 1 general flash
    // (from frame 120), 0 red flashes: passes WCAG 2.3.1 (at most 3 a second)".
    std::string describe() const;
  };

  FlashMeter();

  // width x height pixels of three bytes (R, G, B), rows tightly packed, top
  // down or bottom up alike for every frame. Frames are numbered from 0. A
  // frame of another size than the one before starts the cells afresh; the
  // worst seconds so far stay.
  void addFrame(const unsigned char *rgb, int width, int height);
  const Report &report() const { return result; }

 private:
  // One cell's course in one measure: the transition in progress runs from
  // start to extreme; a flag marks a state that can make a transition count
  // (darker than 0.8, or a saturated red).
  struct Swing {
    float start = 0.0f;
    float extreme = 0.0f;
    int direction = 0;
    bool startFlagged = false;
    bool extremeFlagged = false;
    bool counted = false;
  };
  // Relative luminance or redness, followed in every cell.
  struct Measure {
    float step = 0.0f;
    bool stepExcluded = false;  // the change must exceed the step, not merely reach it
    std::vector<Swing> swings;
    // Per cell, bit i set when a transition counted i frames ago.
    std::vector<std::uint64_t> recent;
  };

  void layOut(int width, int height);
  void sumCells(const unsigned char *rgb);
  void followCells();
  void follow(Measure &measure, std::size_t cell, float value, bool flagged);
  void findWorst(const Measure &measure, Worst &worst);
  bool fieldFlashes(int transitions);
  long firstTransition(const Measure &measure, int transitions) const;

  Report result;
  Measure general;
  Measure red;
  int frameWidth = 0, frameHeight = 0;
  int cellSize = 1, columns = 0, rows = 0;
  // The 10-degree field in whole cells, and the flashing area (pixels) that fails it.
  int fieldColumns = 1, fieldRows = 1;
  double failingArea = 0.0;
  bool fresh = true;
  // Per cell: linearised R, G, B summed over its pixels; its pixels; its transitions this second.
  std::vector<float> cellSums;
  std::vector<int> cellArea;
  std::vector<std::uint8_t> counts;
  // Summed-area table of the cells that flash often enough, (columns + 1) x (rows + 1).
  std::vector<int> areaTable;
};
