#include "Players.h"

#include "perfect/PerfectPlayer.h"
#include "personas/Persona.h"
#include "personas/PersonaPlayer.h"

Player::Maker choosePlayer(const std::string &name, int flashesToWatch, bool firstTime, uint32_t seed,
                           std::string &error) {
  const Persona *persona = Persona::find(name);
  if (!persona && name != "perfect") {
    error = "--persona needs perfect, " + Persona::names() + ", not '" + name + "'";
    return Player::Maker();
  }
  if (!persona && firstTime) {
    error = "--first-time needs a persona: " + Persona::names();
    return Player::Maker();
  }
  if (persona)
    return [persona, firstTime, seed](EventPusher &events, Hand &, const TwoFloats &area) -> std::unique_ptr<Player> {
      return std::make_unique<PersonaPlayer>(*persona, events, area, firstTime, seed);
    };
  return [flashesToWatch](EventPusher &, Hand &hand, const TwoFloats &area) -> std::unique_ptr<Player> {
    return std::make_unique<PerfectPlayer>(hand, area, flashesToWatch);
  };
}
