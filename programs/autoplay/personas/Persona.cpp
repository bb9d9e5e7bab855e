#include "personas/Persona.h"

#include <cstdio>

namespace {

// A pixel or two of tremor at a physiological rate for a steady hand.
constexpr float steadyTremor = 1.5f;
constexpr double steadyTremorHz = 9.0;

// Fitts's slopes are one over a throughput within the ranges surveyed by
// Soukoreff and MacKenzie (2004): about 3.7 to 4.9 bits a second for mice,
// about 1 to 2.9 for touchpads.
// name, reaction, peak speed, Fitts a, b, stroke, lift, circle turn, radius min, max, shake Hz, shake
// amplitude, tremor, tremor Hz, mouse rate
const Persona personas[] = {
    {"brisk", 0.25, 3000.0f, 0.1, 1.0 / 4.9, 0.0f, 0.0, 0.6, 150.0f, 200.0f, 5.0, 120.0f, steadyTremor, steadyTremorHz,
     1000.0},
    {"calm", 0.35, 1500.0f, 0.1, 1.0 / 4.2, 0.0f, 0.0, 1.0, 100.0f, 180.0f, 3.0, 100.0f, steadyTremor, steadyTremorHz,
     500.0},
    {"slow", 0.5, 600.0f, 0.15, 1.0 / 3.7, 0.0f, 0.0, 1.5, 80.0f, 150.0f, 2.0, 80.0f, steadyTremor, steadyTremorHz,
     125.0},
    {"trackpad", 0.4, 800.0f, 0.15, 1.0 / 2.0, 300.0f, 0.15, 1.2, 70.0f, 120.0f, 2.5, 60.0f, steadyTremor,
     steadyTremorHz, 125.0},
    {"shaky", 0.35, 1500.0f, 0.1, 1.0 / 3.7, 0.0f, 0.0, 0.9, 100.0f, 180.0f, 3.0, 100.0f, 6.0f, 8.0, 500.0},
};

}  // namespace

const Persona *Persona::find(const std::string &name) {
  for (const Persona &persona : personas) {
    if (name == persona.name) return &persona;
  }
  return nullptr;
}

std::string Persona::table() {
  std::string text =
      "| persona | reaction (mean) | peak speed | Fitts a, b | throughput | trackpad strokes | circles | shake | "
      "tremor while moving | mouse reports |\n"
      "|---|---|---|---|---|---|---|---|---|---|\n";
  char row[320];
  for (const Persona &p : personas) {
    char strokes[64] = "–";
    if (p.strokeLength > 0.0f)
      std::snprintf(strokes, sizeof strokes, "at most %.0f units, %.2f s lifts", p.strokeLength, p.liftSeconds);
    std::snprintf(row, sizeof row,
                  "| `%s` | %.2f s | %.0f units/s | %.2f s, %.3f s/bit | %.1f bits/s | %s | %.1f s a turn, radius "
                  "%.0f–%.0f | %.1f Hz, ±%.0f | ±%.1f at %.0f Hz | %.0f a second |\n",
                  p.name, p.reactionSeconds, p.peakSpeed, p.fittsIntercept, p.fittsSlope, 1.0 / p.fittsSlope, strokes,
                  p.circleSeconds, p.circleRadiusMin, p.circleRadiusMax, p.shakeHz, p.shakeAmplitude, p.tremorAmplitude,
                  p.tremorHz, p.mouseRateHz);
    text += row;
  }
  return text;
}

std::string Persona::names() {
  std::string list;
  for (const Persona &persona : personas) list += (list.empty() ? "" : ", ") + std::string(persona.name);
  return list;
}
