#include "personas/PersonaWorld2.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

void PersonaWorld2::act(const Sight &sight, MotorModel &hand) { hand.circleAround(sight.view().area * 0.5f); }
