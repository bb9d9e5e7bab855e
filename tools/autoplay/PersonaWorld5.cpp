#include "PersonaWorld5.h"

#include "MotorModel.h"

void PersonaWorld5::act(const Sight &, MotorModel &hand) { hand.driftAround(); }
