#pragma once

#include "harness/Player.h"


// Who plays, from the command line: the persona when one is named, else the
// perfect player, which lets flashesToWatch of world 3's red flashes go by.
Player::Maker choosePlayer(const std::string &name, int flashesToWatch, std::string &error);
