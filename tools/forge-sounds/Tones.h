#pragma once

class Take;

// The ringing instruments: finger bells (eight bars), a singing bowl
// (sixteen bars) and a drone (sixteen bars). One bar is one second.
Take forgeFingerBell();
Take forgeSingingBowl();
Take forgeDrone();
