#pragma once

class Take;

// The grainy instruments: a ridged scraper and a rain stick. Each returns an
// eight-bar loop (one bar is one second).
Take forgeScraper();
Take forgeRainStick();
