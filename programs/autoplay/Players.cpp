#include "Players.h"

#include "perfect/PerfectPlayer.h"
#include "personas/Persona.h"
#include "personas/PersonaPlayer.h"

Player::Maker choosePlayer(const std::string &name, int flashesToWatch, std::string &error) {
  const Persona *persona = Persona::find(name);
  if (!persona && name != "perfect") {
    error = "--persona needs perfect, " + Persona::names() + ", not '" + name + "'";
    return Player::Maker();
  }
  if (persona)
    return [persona](EventPusher &events, Hand &, const TwoFloats &area) -> std::unique_ptr<Player> {
      return std::make_unique<PersonaPlayer>(*persona, events, area);
    };
  return [flashesToWatch](EventPusher &, Hand &hand, const TwoFloats &area) -> std::unique_ptr<Player> {
    return std::make_unique<PerfectPlayer>(hand, area, flashesToWatch);
  };
}
