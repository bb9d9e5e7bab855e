#include "personas/PersonaWorld6.h"

#include "personas/Sight.h"

namespace {

// A station of this world answers at once: a glance will do.
const double linger = 0.1;

}  // namespace

void PersonaWorld6::act(const Sight &sight, MotorModel &hand) { comb.step(sight, hand, linger); }
