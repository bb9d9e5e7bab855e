#include "personas/PersonaWorld5.h"

#include "personas/MotorModel.h"

void PersonaWorld5::act(const Sight &, MotorModel &hand) { hand.driftAround(); }
