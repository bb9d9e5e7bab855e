#pragma once

class Take;

// The struck instruments: wood, hand drum and hanging tuned drums. Each
// returns an eight-bar loop (one bar is one second).
Take forgeClackyThing();
Take forgeHandDrum();
Take forgeDanglyDrumThing();
