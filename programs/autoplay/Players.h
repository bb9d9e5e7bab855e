#pragma once

#include "harness/Player.h"

#include <cstdint>

// Who plays, from the command line: the persona when one is named (a
// first-time player when firstTime, its hand seeded with seed), else the
// perfect player, which lets flashesToWatch of world 3's red flashes go by.
Player::Maker choosePlayer(const std::string &name, int flashesToWatch, bool firstTime, uint32_t seed,
                           std::string &error);
