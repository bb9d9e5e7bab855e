#pragma once

#include "personas/SceneView.h"

#include <vector>

// What a persona has taken in: the screen as it was its reaction time ago,
// and, further back, what it saw before that, each with where its own hand
// was then (a player knows where the hand was when the colours changed).
// Recorded once a frame; frames are 1/60 s.
class Sight {
 public:
  static constexpr double frameSeconds = 1.0 / 60.0;

  // memorySeconds: how far back before the reaction time it can look.
  Sight(double reactionSeconds, double memorySeconds);

  void record(const SceneView &view, const TwoFloats &hand);

  // The latest screen the persona has taken in, or one seen `earlier` seconds before it.
  const SceneView &view(double earlier = 0.0) const;
  // Where the hand was when that screen was shown.
  const TwoFloats &handThen(double earlier = 0.0) const;
  // The persona's clock: the time of the latest frame recorded, from 0 at the first.
  double now() const { return recorded > 0 ? static_cast<double>(recorded - 1) * frameSeconds : 0.0; }
  double reactionSeconds() const { return reaction; }
  // How far back before the reaction time it remembers.
  double memorySeconds() const { return memory; }

 private:
  struct Moment {
    SceneView view;
    TwoFloats hand;
  };
  const Moment &moment(double earlier) const;

  double reaction;
  double memory;
  int reactionFrames;
  std::vector<Moment> moments;
  long recorded = 0;
};
