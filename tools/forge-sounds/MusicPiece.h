#pragma once

class Take;

// The 32-bar piece that plays from the fourth world on. Its bar is the game's
// bar (one second, two beats); every bar opens with a clear downbeat, and the
// even bars, where the fourth world flashes, carry a brighter accent.
Take forgeMusic();
