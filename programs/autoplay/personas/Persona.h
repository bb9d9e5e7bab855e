#pragma once

#include <string>

// A human player model's figures: how quickly it reacts, moves, draws circles
// and shakes the mouse, and how its mouse reports. Distances in drawing-area
// units, times in seconds. The table of named personas is in Persona.cpp.
struct Persona {
  const char *name = "";
  double reactionSeconds = 0.0;
  // The fastest a reach may go (a minimum-jerk reach peaks at 1.875 D / T).
  float peakSpeed = 0.0f;
  // Fitts's law for its device, MT = a + b log2(D / W + 1): a in seconds, b in seconds a bit.
  double fittsIntercept = 0.0;
  double fittsSlope = 0.0;
  // A trackpad finger covers at most this much before it must lift; 0 for a mouse.
  float strokeLength = 0.0f;
  double liftSeconds = 0.0;
  double circleSeconds = 0.0;
  float circleRadiusMin = 0.0f;
  float circleRadiusMax = 0.0f;
  double shakeHz = 0.0;
  float shakeAmplitude = 0.0f;
  // A moving hand trembles: this much, at this rate, on every movement (a hand at rest reports nothing).
  float tremorAmplitude = 0.0f;
  double tremorHz = 0.0;
  // Motion reports a second.
  double mouseRateHz = 0.0;

  // The persona of that name; null when there is none.
  static const Persona *find(const std::string &name);
  // The names, comma-separated, for the usage text.
  static std::string names();
  // Every persona's figures as a Markdown table, one row each.
  static std::string table();
};
