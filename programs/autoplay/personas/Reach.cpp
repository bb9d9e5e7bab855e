#include "personas/Reach.h"

#include "personas/Persona.h"

#include <algorithm>
#include <cmath>

namespace {

// How far past the landing point the first stroke goes, as a share of the way.
const double overshootMin = 0.02;
const double overshootMax = 0.06;
// The share of a sub-movement's time spent settling back from the overshoot.
const double settlingShare = 0.15;
// Nearer than this, a hand just shifts onto its target without overshooting.
const float shortReach = 2.0f;

// Minimum jerk: the share of the way covered at a share of the time.
double minimumJerk(double tau) { return tau * tau * tau * (10.0 + tau * (-15.0 + tau * 6.0)); }

}  // namespace

Reach::Reach(const Persona &persona, const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
             double start)
    : origin(from), aim(target), rest(from), begin(start) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  double t = start;
  TwoFloats at = from;
  for (int attempt = 0; attempt <= mostCorrections; ++attempt) {
    const TwoFloats landing = endPoint(at, target, width, random, attempt == mostCorrections);
    if (attempt == 0) first = landing;
    if (attempt > 0) {
      t += correctionLatency;
      ++correctionCount;
    }
    // The whole sub-movement, overshoot and settling alike, takes Fitts's time.
    const float distance = (landing - at).length();
    const double seconds = fittsSeconds(persona, distance, width);
    if (distance < shortReach) {
      addStrokes(persona, at, landing, seconds, t);
    } else {
      const float overshoot =
          static_cast<float>(overshootMin + (overshootMax - overshootMin) * static_cast<double>(unit(random)));
      const TwoFloats beyond = at + (landing - at) * (1.0f + overshoot);
      addStrokes(persona, at, beyond, seconds * (1.0 - settlingShare), t);
      addStrokes(persona, beyond, landing, seconds * settlingShare, t);
    }
    at = landing;
    if ((landing - target).length() <= width * 0.5f) break;
  }
  rest = at;
}

TwoFloats Reach::endPoint(const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
                          bool inside) {
  const float sigma = width / static_cast<float>(effectiveWidth);
  std::normal_distribution<float> along(0.0f, sigma), across(0.0f, sigma * 0.5f);
  TwoFloats direction = (target - from).normal();
  if (direction.x == 0.0f && direction.y == 0.0f) direction = TwoFloats(1.0f, 0.0f);
  const TwoFloats side(-direction.y, direction.x);
  const TwoFloats off = direction * along(random) + side * across(random);
  const float reach = off.length();
  // The last correction is taken slowly enough to land inside.
  if (inside && reach > width * 0.45f) return target + off * (width * 0.45f / reach);
  return target + off;
}

double Reach::fittsSeconds(const Persona &persona, float distance, float width) {
  return persona.fittsIntercept + persona.fittsSlope * std::log2(distance / std::max(width, 1.0f) + 1.0);
}

void Reach::addStrokes(const Persona &persona, const TwoFloats &from, const TwoFloats &to, double seconds, double &t) {
  const float distance = (to - from).length();
  if (distance <= 0.0f) return;
  const int count = persona.strokeLength > 0.0f ? static_cast<int>(std::ceil(distance / persona.strokeLength)) : 1;
  for (int i = 0; i < count; ++i) {
    // The finger lifts and comes down again where the last stroke ended.
    if (i > 0) t += persona.liftSeconds;
    const TwoFloats a = from + (to - from) * (static_cast<float>(i) / count);
    const TwoFloats b = from + (to - from) * (static_cast<float>(i + 1) / count);
    // Never faster than the hand's peak speed.
    const double strokeSeconds = std::max(seconds / count, minimumJerkPeak * distance / count / persona.peakSpeed);
    strokes.push_back(Stroke{t, strokeSeconds, a, b});
    t += strokeSeconds;
  }
}

TwoFloats Reach::at(double seconds) const {
  if (strokes.empty() || seconds <= strokes.front().start) return origin;
  auto stroke =
      std::upper_bound(strokes.begin(), strokes.end(), seconds, [](double t, const Stroke &s) { return t < s.start; });
  const Stroke &s = *(stroke - 1);
  if (seconds >= s.start + s.seconds) return s.to;
  return s.from + (s.to - s.from) * static_cast<float>(minimumJerk((seconds - s.start) / s.seconds));
}

bool Reach::lifted(double seconds) const {
  for (size_t i = 0; i + 1 < strokes.size(); ++i) {
    if (seconds > strokes[i].start + strokes[i].seconds && seconds < strokes[i + 1].start) return true;
  }
  return false;
}

double Reach::end() const { return strokes.empty() ? begin : strokes.back().start + strokes.back().seconds; }
