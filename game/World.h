#pragma once

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <array>

// One of the eight scenes of the game: a background colour and three rings on
// the shared world plane. The gameplay state draws the rings from these public
// fields and moves the camera; a world never draws, it only changes its fields
// in reaction to the mouse and reports when it is done.
//
// Calling protocol (main thread only; no field is guarded):
// - subclassTick() once per frame while the world is ticked by the gameplay state;
// - mouseMove() with screen positions in drawing-area units, only for the
//   current world and only while no camera journey is under way;
// - worldDone() every frame for the current world; once true it stays true;
// - barStart() at every bar of the music's bar clock, for every world. The
//   gameplay state hands the bars over from the audio thread and calls this on
//   the main thread, so no world needs atomics.
//
// Screen and plane: while a world is played the camera centres on its
// homePosition, so screen point p is plane point homePosition + (p - half the
// drawing area). Targets laid out for a 1280 x 720 area move by the offset of
// this screen's centre from (640, 360); drawingAreaSize is written by the
// gameplay state after construction, so anything derived from it is worked
// out when it is used.
class World {
 public:
  World(const ThreeFloats &background, const ThreeFloats &ring0, const ThreeFloats &ring1, const ThreeFloats &ring2,
        const ThreeFloats &ringSizes, const TwoFloats &position);
  virtual ~World() = default;

  virtual void mouseMove(const TwoFloats &position) = 0;
  virtual bool worldDone() const = 0;
  virtual void barStart() {}
  virtual void subclassTick() {}

  // Moves all three rings to one point; homePosition stays.
  void setPosition(const TwoFloats &position);
  // Copies three colours, in ring order.
  void setRingColours(const ThreeFloats *colours);

  // Half the drawing area: where the camera's point appears on the screen.
  TwoFloats screenCentre() const { return drawingAreaSize * 0.5f; }
  // How far this screen's centre lies from that of the 1280 x 720 layout.
  TwoFloats screenShift() const { return screenCentre() - referenceCentre(); }
  TwoFloats screenToPlane(const TwoFloats &screen) const { return screen + (homePosition - screenCentre()); }
  TwoFloats planeToScreen(const TwoFloats &plane) const { return plane + (screenCentre() - homePosition); }

  static TwoFloats referenceCentre() { return TwoFloats(640.0f, 360.0f); }
  static float distance(const TwoFloats &a, const TwoFloats &b);
  static float colourDistance(const ThreeFloats &a, const ThreeFloats &b);
  static bool samePoint(const TwoFloats &a, const TwoFloats &b) { return a.x == b.x && a.y == b.y; }
  static bool sameColour(const ThreeFloats &a, const ThreeFloats &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
  // (1 - t) * from + t * to.
  static ThreeFloats mix(const ThreeFloats &from, const ThreeFloats &to, float t);
  // One step of a glide: a fraction of the way to the target, landing on it
  // once closer than snapDistance.
  static TwoFloats glide(const TwoFloats &from, const TwoFloats &to, float fraction, float snapDistance);

  ThreeFloats backgroundColour;
  std::array<ThreeFloats, 3> ringColours;
  // Relative radius of ring 0, 1, 2 in x, y, z; on screen a ring's radius is
  // that times scale times 512.
  ThreeFloats ringSizes;
  // Overall size; may be set slightly below 0 (measure visibility with its magnitude).
  float scale = 0.05f;
  std::array<TwoFloats, 3> ringPositions;
  TwoFloats homePosition;
  TwoFloats drawingAreaSize{1280.0f, 720.0f};
  // Drawing-area units of one window pixel: the smallest move a mouse can
  // make. Written by the gameplay state with drawingAreaSize.
  TwoFloats pixelSize{1.0f, 1.0f};
};
