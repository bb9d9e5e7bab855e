#include "SoundReport.h"

#include <vorbis/vorbisfile.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

namespace {

const int fftSize = 4096;

void fft(std::vector<std::complex<double>> &data) {
  const size_t n = data.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
  for (size_t length = 2; length <= n; length <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / static_cast<double>(length));
    for (size_t i = 0; i < n; i += length) {
      std::complex<double> w(1.0);
      for (size_t k = 0; k < length / 2; ++k, w *= step) {
        const std::complex<double> a = data[i + k], b = data[i + k + length / 2] * w;
        data[i + k] = a + b;
        data[i + k + length / 2] = a - b;
      }
    }
  }
}

float centroidOf(const std::vector<float> &mono, long rate) {
  double weighted = 0.0, total = 0.0;
  std::vector<std::complex<double>> frame(fftSize);
  for (size_t start = 0; start + fftSize <= mono.size(); start += fftSize / 2) {
    for (int i = 0; i < fftSize; ++i)
      frame[static_cast<size_t>(i)] =
          mono[start + static_cast<size_t>(i)] * (0.5 - 0.5 * std::cos(2 * M_PI * i / fftSize));
    fft(frame);
    for (int k = 1; k < fftSize / 2; ++k) {
      const double magnitude = std::abs(frame[static_cast<size_t>(k)]);
      weighted += magnitude * k * static_cast<double>(rate) / fftSize;
      total += magnitude;
    }
  }
  return total > 0.0 ? static_cast<float>(weighted / total) : 0.0f;
}

float decibels(float value) { return value > 0.0f ? 20.0f * std::log10(value) : -999.0f; }

}  // namespace

SoundReport::Figures SoundReport::measure(const std::string &path) {
  Figures figures;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return figures;
  const vorbis_info *info = ov_info(&file, 0);
  figures.opened = true;
  figures.channels = info->channels;
  figures.rate = info->rate;
  figures.frames = static_cast<long>(ov_pcm_total(&file, 0));
  std::vector<float> mono;
  double energy = 0.0;
  float **pcm;
  int section;
  long count;
  while ((count = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
    for (long i = 0; i < count; ++i) {
      float sum = 0.0f;
      for (int c = 0; c < figures.channels; ++c) {
        const float s = pcm[c][i];
        figures.peak = std::max(figures.peak, std::fabs(s));
        energy += static_cast<double>(s) * s;
        sum += s;
      }
      mono.push_back(sum / static_cast<float>(figures.channels));
    }
  }
  ov_clear(&file);
  const double samples = static_cast<double>(mono.size()) * figures.channels;
  figures.rms = samples > 0 ? static_cast<float>(std::sqrt(energy / samples)) : 0.0f;
  figures.centroid = centroidOf(mono, figures.rate);
  return figures;
}

void SoundReport::printHeader() {
  std::printf("%-16s %8s %5s %9s %9s %10s %9s\n", "file", "seconds", "bars", "peak dB", "RMS dB", "centroid", "KiB");
}

void SoundReport::printLine(const std::string &name, const Figures &figures, long fileBytes) {
  if (!figures.opened) {
    std::printf("%-16s does not open\n", name.c_str());
    return;
  }
  const double seconds = static_cast<double>(figures.frames) / static_cast<double>(figures.rate);
  char bars[32] = "-";
  if (figures.frames % 44100 == 0) std::snprintf(bars, sizeof bars, "%ld", figures.frames / 44100);
  std::printf("%-16s %8.3f %5s %9.2f %9.2f %8.0f Hz %9.1f\n", name.c_str(), seconds, bars, decibels(figures.peak),
              decibels(figures.rms), figures.centroid, fileBytes / 1024.0);
}
