#include "game/SpokenPassages.h"

const SpokenPassages::Passage SpokenPassages::passages[numPassages] = {
    {L"Speech_Intro",
     L"Welcome, traveller. Eight small worlds are waiting for you. Look, and listen, and let each one show you the "
     L"way."},
    {L"Speech_World0", L"Something here is cold. Somewhere, it is warm. Follow the warmth."},
    {L"Speech_World1", L"Every place wears other colours. Find where these rings belong."},
    {L"Speech_World2", L"Round and round, the way a ring is drawn. Again, and again."},
    {L"Speech_World3", L"Watch for the flash. Move with it, and rest in between."},
    {L"Speech_World4", L"Here, everything turns the other way, as in a mirror."},
    {L"Speech_World5", L"So restless. Be slow, be calm, and they will settle."},
    {L"Speech_World6", L"One ring at a time. Each has its own place."},
    {L"Speech_World7", L"The last world. Gather what you have learned, and the worlds will gather too."},
};

int SpokenPassages::indexOf(const std::wstring &soundName) {
  for (int i = 0; i < numPassages; ++i)
    if (soundName == passages[i].soundName) return i;
  return -1;
}
