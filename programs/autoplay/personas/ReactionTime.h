#pragma once

#include <cstdint>
#include <random>

// A persona's reaction times, drawn one at a time from an ex-Gaussian (a
// normal plus an exponential tail), the shape response times are commonly
// fitted with (Ratcliff, 1979; Luce, "Response Times", 1986). Its mean is
// the persona's reaction time; the spread (sigma 40 ms) and tail (tau
// 100 ms) are our choice within the ranges such fits report. Nothing is
// quicker than the floor.
class ReactionTime {
 public:
  static constexpr double sigma = 0.04;
  static constexpr double tau = 0.1;
  static constexpr double floorSeconds = 0.1;

  ReactionTime(double meanSeconds, uint32_t seed);
  double next();

 private:
  std::mt19937 random;
  std::normal_distribution<double> normal;
  std::exponential_distribution<double> exponential;
};
