#include "personas/MotorModel.h"

#include "personas/Persona.h"

#include <algorithm>
#include <cmath>

namespace {

const double twoPi = 6.283185307179586;
// A circle is joined from its starting point, reached this precisely.
const float circleEntryWidth = 40.0f;
// A slow drift: a small figure about the hand's place, under 70 units a second.
const float driftReach = 40.0f;
const double driftRate[2] = {1.3, 0.9};
// A shake swings a little up and down as well.
const float shakeLift = 0.15f;
// How long a fast side-to-side shake is kept up at full pace before the arm
// tires, how far it falls off, and how quickly (our own choice: no study
// fits a mouse shake); rest recovers at the same pace.
const double shakeEndurance = 8.0;
const double tiredShare = 0.6;
const double tiringSeconds = 5.0;

}  // namespace

MotorModel::MotorModel(const Persona &persona, const TwoFloats &area, const TwoFloats &start, uint32_t seed)
    : persona(persona), area(area), random(seed), hand(start) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int axis = 0; axis < 2; ++axis) {
    tremorHz[axis] = persona.tremorHz * (0.85 + 0.3 * unit(random));
    tremorPhase[axis] = unit(random) * twoPi;
  }
}

MotorModel::~MotorModel() = default;

void MotorModel::reachTo(const TwoFloats &target, float width) {
  if (motion == Motion::reaching && (reach.target() - target).length() <= width * 0.25f) return;
  if (motion == Motion::resting && (hand - target).length() <= width * 0.5f) return;
  reach = Reach(persona, hand, target, width, random, now);
  motion = Motion::reaching;
}

void MotorModel::hold() { motion = Motion::resting; }

void MotorModel::circleAround(const TwoFloats &centre) {
  if (motion == Motion::circling && (circle->getCentre() - centre).length() < 1e-3f) return;
  circle.reset(new CircleMotion(persona, centre, static_cast<uint32_t>(random())));
  reach = Reach(persona, hand, circle->start(), circleEntryWidth, random, now);
  motion = Motion::circling;
}

void MotorModel::shakeAround(const TwoFloats &centre) {
  if (motion == Motion::shaking) return;
  const float room = persona.shakeAmplitude + 1.0f;
  shakePhase = 0.0;
  about = TwoFloats(std::clamp(centre.x, room, std::max(room, area.x - room)),
                    std::clamp(centre.y, room * shakeLift, std::max(room * shakeLift, area.y - room * shakeLift)));
  from = hand;
  since = now;
  motion = Motion::shaking;
}

void MotorModel::driftAround() {
  if (motion == Motion::drifting) return;
  about = hand;
  since = now;
  motion = Motion::drifting;
}

bool MotorModel::takeClick() {
  if (!clickWanted || motion != Motion::resting) return false;
  clickWanted = false;
  return true;
}

double MotorModel::shakeVigour() const {
  const double over = std::max(0.0, shakeSeconds - shakeEndurance);
  return tiredShare + (1.0 - tiredShare) * std::exp(-over / tiringSeconds);
}

TwoFloats MotorModel::shakeAt(double seconds) {
  // The phase runs on at the rate of the moment, so a tiring shake slows without a jump.
  shakePhase += twoPi * persona.shakeHz * shakeVigour() * std::max(0.0, seconds - now);
  const float amplitude = persona.shakeAmplitude * static_cast<float>(shakeVigour());
  const TwoFloats swing(amplitude * static_cast<float>(std::sin(shakePhase)),
                        amplitude * shakeLift * static_cast<float>(std::sin(2.0 * shakePhase)));
  // The first half swing carries the hand over from where it was to the shake's middle.
  const float carry = static_cast<float>(std::max(0.0, 1.0 - (seconds - since) * 2.0 * persona.shakeHz));
  return about + swing + (from - about) * carry;
}

TwoFloats MotorModel::driftAt(double seconds) const {
  const double t = seconds - since;
  return about +
         TwoFloats(static_cast<float>(std::sin(driftRate[0] * t)), static_cast<float>(std::sin(driftRate[1] * t))) *
             driftReach;
}

TwoFloats MotorModel::handAt(double seconds) {
  switch (motion) {
    case Motion::resting: return hand;
    case Motion::reaching:
      if (seconds < reach.end()) return reach.at(seconds);
      motion = Motion::resting;
      return reach.landing();
    case Motion::circling:
      if (seconds < reach.end()) return reach.at(seconds);
      return circle->advance(seconds - std::max(now, reach.end()));
    case Motion::shaking: return shakeAt(seconds);
    case Motion::drifting: return driftAt(seconds);
  }
  return hand;
}

TwoFloats MotorModel::tremorAt(double seconds) const {
  return TwoFloats(static_cast<float>(std::sin(twoPi * tremorHz[0] * seconds + tremorPhase[0])),
                   static_cast<float>(std::sin(twoPi * tremorHz[1] * seconds + tremorPhase[1]))) *
         persona.tremorAmplitude;
}

bool MotorModel::pointerAt(double seconds, TwoFloats &pointer) {
  // Shaking tires the arm; anything else lets it recover.
  const double elapsed = std::max(0.0, seconds - now);
  shakeSeconds = motion == Motion::shaking
                     ? shakeSeconds + elapsed
                     : std::max(0.0, std::min(shakeSeconds, shakeEndurance + 3.0 * tiringSeconds) - elapsed);
  hand = handAt(seconds);
  now = seconds;
  const bool lifted = (motion == Motion::reaching || motion == Motion::circling) && reach.lifted(seconds);
  if (lifted) return false;
  // A hand at rest reports nothing, once it has reported where it came to rest.
  if (motion == Motion::resting) {
    if (restReported) return false;
    restReported = true;
    pointer = hand;
    return true;
  }
  restReported = false;
  pointer = hand + tremorAt(seconds);
  return true;
}
