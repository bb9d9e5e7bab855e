#pragma once

#include "personas/PixelEyes.h"
#include "personas/ReactionTime.h"

#include <cstdint>
#include <vector>

// What a persona has taken in: the screen as its eyes made it out some
// reaction time ago (a time drawn afresh now and then from the persona's
// spread, never running the picture backwards), what it saw before that,
// and where its own hand has been. Recorded once a frame; frames are 1/60 s.
class Sight {
 public:
  static constexpr double frameSeconds = 1.0 / 60.0;

  // memorySeconds: how far back before the reaction time it can look.
  Sight(double reactionSeconds, double memorySeconds, uint32_t seed);

  void record(const Glance &glance, const TwoFloats &hand);

  // The latest screen the persona has taken in, or one seen `earlier` seconds before it.
  const Glance &view(double earlier = 0.0) const;
  // Where the hand was `ago` seconds before now, as the persona feels it.
  const TwoFloats &handAbout(double ago) const;
  // The persona's clock: the time of the latest frame recorded, from 0 at the first.
  double now() const { return recorded > 0 ? static_cast<double>(recorded - 1) * frameSeconds : 0.0; }
  // The persona's typical reaction time (the one it would guess).
  double reactionSeconds() const { return meanReaction; }
  // How far back before the reaction time it remembers.
  double memorySeconds() const { return memory; }

 private:
  struct Moment {
    Glance glance;
    TwoFloats hand;
  };
  const Moment &at(long frame) const;

  ReactionTime reaction;
  double meanReaction;
  double memory;
  std::vector<Moment> moments;
  long recorded = 0;
  // The frame the persona has taken in, and when it draws its next reaction time.
  long seen = 0;
  long nextDraw = 0;
  long delayFrames = 0;
};
