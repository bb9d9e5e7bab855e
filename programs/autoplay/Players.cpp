#include "Players.h"

#include "perfect/PerfectPlayer.h"
#include "personas/Persona.h"
#include "personas/PersonaPlayer.h"

Player::Maker choosePlayer(const Persona *persona, int flashesToWatch) {
  if (persona)
    return [persona](EventPusher &events, Hand &, const TwoFloats &area) -> std::unique_ptr<Player> {
      return std::make_unique<PersonaPlayer>(*persona, events, area);
    };
  return [flashesToWatch](EventPusher &, Hand &hand, const TwoFloats &area) -> std::unique_ptr<Player> {
    return std::make_unique<PerfectPlayer>(hand, area, flashesToWatch);
  };
}
