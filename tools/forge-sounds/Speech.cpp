#include "Speech.h"

#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "Biquad.h"
#include "PeakLimiter.h"
#include "Reverb.h"
#include "base/Assertion.h"
#include "base/UTF8File.h"
#include "game/SpokenPassages.h"

namespace {

const double pi = 3.141592653589793;

uint32_t readLittle(const std::string &bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

// A WAV written to a pipe cannot go back to fill in its sizes: the data runs
// to the end of the bytes.
std::vector<float> Speech::parseWav(const std::string &bytes, int &rate) {
  std::vector<float> samples;
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return samples;
  size_t at = 12;
  int channels = 0, bits = 0;
  while (at + 8 <= bytes.size()) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = readLittle(bytes, at + 4, 4);
    at += 8;
    if (id == "fmt " && at + 16 <= bytes.size()) {
      channels = static_cast<int>(readLittle(bytes, at + 2, 2));
      rate = static_cast<int>(readLittle(bytes, at + 4, 4));
      bits = static_cast<int>(readLittle(bytes, at + 14, 2));
    } else if (id == "data") {
      if (channels != 1 || bits != 16) return samples;
      for (size_t i = at; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<float>(static_cast<int16_t>(readLittle(bytes, i, 2))) / 32768.0f);
      return samples;
    }
    at += size + (size & 1);
  }
  return samples;
}

// A windowed sinc, evaluated where each output sample falls between the
// input samples. Those places repeat every `up` outputs, so each phase's
// kernel is worked out once, and scaled to unit gain so no phase stands out.
std::vector<float> Speech::resample(const std::vector<float> &in, int fromRate, int toRate) {
  if (fromRate <= 0 || toRate <= 0) return {};
  const long common = std::gcd(fromRate, toRate);
  const long up = toRate / common, down = fromRate / common;
  // Going down, the band and the kernel's reach scale with the ratio, so the
  // cut stays short of the new Nyquist frequency and just as steep.
  const double ratio = std::min(1.0, static_cast<double>(toRate) / fromRate);
  const double band = 0.92 * ratio;
  const int taps = static_cast<int>(std::ceil(24.0 / ratio));
  std::vector<double> kernels(static_cast<size_t>(up * 2 * taps));
  for (long phase = 0; phase < up; ++phase) {
    double *kernel = &kernels[static_cast<size_t>(phase * 2 * taps)];
    double sum = 0.0;
    for (int k = -taps + 1; k <= taps; ++k) {
      const double d = k - static_cast<double>(phase) / static_cast<double>(up);
      const double window = 0.42 + 0.5 * std::cos(pi * d / taps) + 0.08 * std::cos(2 * pi * d / taps);
      const double sinc = d == 0.0 ? 1.0 : std::sin(pi * band * d) / (pi * band * d);
      kernel[k + taps - 1] = band * sinc * window;
      sum += kernel[k + taps - 1];
    }
    for (int k = 0; k < 2 * taps; ++k) kernel[k] /= sum;
  }
  const long count = static_cast<long>(in.size());
  std::vector<float> out(static_cast<size_t>((count * up + down - 1) / down));
  for (size_t n = 0; n < out.size(); ++n) {
    const long position = static_cast<long>(n) * down;
    const long base = position / up;
    const double *kernel = &kernels[static_cast<size_t>((position % up) * 2 * taps)];
    double value = 0.0;
    for (int k = -taps + 1; k <= taps; ++k) {
      const long index = base + k;
      if (index >= 0 && index < count) value += in[static_cast<size_t>(index)] * kernel[k + taps - 1];
    }
    out[n] = static_cast<float>(value);
  }
  return out;
}

namespace {

// Evens out loud and soft syllables so the words carry at a modest peak.
void compress(std::vector<float> &samples) {
  float peak = 0.0f;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  const float threshold = peak * 0.25f;
  const float attack = 1.0f - std::exp(-1.0f / (0.003f * Take::rate));
  const float release = 1.0f - std::exp(-1.0f / (0.12f * Take::rate));
  float envelope = 0.0f;
  for (float &s : samples) {
    const float level = std::fabs(s);
    envelope += (level > envelope ? attack : release) * (level - envelope);
    if (envelope > threshold) s *= std::pow(envelope / threshold, 1.0f / 3.0f) * threshold / envelope;
  }
}

}  // namespace

const std::vector<Speech::Passage> &Speech::passages() {
  static const std::vector<Passage> list = [] {
    std::vector<Passage> made;
    for (const SpokenPassages::Passage &shared : SpokenPassages::passages) {
      Passage passage;
      UTF8File::wstringToChar(shared.soundName, passage.name);
      UTF8File::wstringToChar(shared.text, passage.text);
      // The introduction is the long one.
      const bool intro = passage.name == "Speech_Intro";
      passage.shortestSeconds = intro ? 8.0f : 3.0f;
      passage.longestSeconds = intro ? 12.0f : 8.0f;
      made.push_back(passage);
    }
    return made;
  }();
  return list;
}

std::vector<float> Speech::runVoice(const std::string &text, int &rate) {
  // The text goes in whole before the sound is read, so it must fit the
  // smallest buffer a pipe is sure to have.
  MW_ASSERT(text.size() <= PIPE_BUF);
  int toVoice[2], fromVoice[2];
  if (pipe(toVoice) != 0) return {};
  if (pipe(fromVoice) != 0) {
    close(toVoice[0]);
    close(toVoice[1]);
    return {};
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(toVoice[0], STDIN_FILENO);
    dup2(fromVoice[1], STDOUT_FILENO);
    for (int end : {toVoice[0], toVoice[1], fromVoice[0], fromVoice[1]}) close(end);
    // The HTS voice, a little slower than its own pace: calm, and clear over
    // the music. It gives the same samples for the same text on every run,
    // so the files regenerate byte for byte.
    const char *arguments[] = {"text2wave",
                               "-eval",
                               "(voice_cmu_us_slt_arctic_hts)",
                               "-eval",
                               "(set! hts_engine_params (append hts_engine_params '((\"-r\" 0.95))))",
                               "-o",
                               "-",
                               nullptr};
    execvp("text2wave", const_cast<char *const *>(arguments));
    _exit(127);
  }
  close(toVoice[0]);
  close(fromVoice[1]);
  std::string bytes;
  if (child > 0) {
    // A voice that did not start closes its end: the write then fails
    // instead of ending the forge with SIGPIPE.
    struct sigaction ignore = {}, previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    const ssize_t written = write(toVoice[1], text.data(), text.size());
    sigaction(SIGPIPE, &previous, nullptr);
    close(toVoice[1]);
    char buffer[65536];
    ssize_t count;
    while ((count = read(fromVoice[0], buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(count));
    int status = 0;
    waitpid(child, &status, 0);
    if (written != static_cast<ssize_t>(text.size()) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) bytes.clear();
  } else {
    close(toVoice[1]);
  }
  close(fromVoice[0]);
  return parseWav(bytes, rate);
}

std::optional<Take> Speech::speak(const std::string &text) {
  int rate = 0;
  std::vector<float> voice = runVoice(text, rate);
  if (rate != Take::rate) voice = resample(voice, rate, Take::rate);

  // The voice's own silence before and after the words goes; ours replaces it.
  const auto loud = [](float s) { return std::fabs(s) > 0.01f; };
  const auto first = std::find_if(voice.begin(), voice.end(), loud);
  const auto last = std::find_if(voice.rbegin(), voice.rend(), loud).base();
  if (first >= last) return std::nullopt;
  std::vector<float> words(first, last);
  compress(words);

  const long leadIn = Take::framesOf(0.2);
  const long tail = Take::framesOf(0.9);
  Take take(leadIn + static_cast<long>(words.size()) + tail, false);
  for (size_t i = 0; i < words.size(); ++i) take.add(leadIn + static_cast<long>(i), words[i], words[i]);
  Biquad::highPass(90.0f, 0.7f).applyTo(take);
  // The synthetic voice is bright; a softer top suits the game.
  Biquad::highShelf(4500.0f, -5.0f).applyTo(take);
  Reverb(0.45f, 0.7f, 0.45f).applyTo(take, 0.22f, 0.012f);

  PeakLimiter::apply(take, 6.0f, 0.003f);

  // The room's last trace fades out, so the passage ends in silence.
  const long fade = Take::framesOf(0.3);
  for (long i = 0; i < fade; ++i) {
    const float gain = 0.5f + 0.5f * static_cast<float>(std::cos(pi * static_cast<double>(i) / fade));
    const size_t at = static_cast<size_t>(take.getFrames() - fade + i);
    take.channel(0)[at] *= gain;
    take.channel(1)[at] *= gain;
  }
  return take;
}
