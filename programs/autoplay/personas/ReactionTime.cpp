#include "personas/ReactionTime.h"

#include <algorithm>

ReactionTime::ReactionTime(double meanSeconds, uint32_t seed)
    : random(seed), normal(std::max(meanSeconds - tau, floorSeconds), sigma), exponential(1.0 / tau) {}

double ReactionTime::next() { return std::max(floorSeconds, normal(random) + exponential(random)); }
