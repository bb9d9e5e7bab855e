#include "PersonaWorld2.h"

#include "MotorModel.h"
#include "Sight.h"

void PersonaWorld2::act(const Sight &sight, MotorModel &hand) { hand.circleAround(sight.view().area * 0.5f); }
