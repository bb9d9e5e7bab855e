#include "framework/sound/StreamingSound.h"

#include "base/Assertion.h"
#include "framework/sound/Floats4.h"
#include "framework/sound/PreloadedSound.h"

#include <algorithm>
#include <cmath>

namespace {

// A full fade takes 100000 frames; the level moves by 0.001 per frame.
constexpr float fadeStep = 0.00001f;
constexpr float levelStep = 0.001f;
// How far ahead of the mix the source is fetched: 128 slots each start a
// new stretch of memory every block, more than the hardware follows alone.
constexpr int prefetchFrames = 128;

// A stretch of an envelope in which frame j has the value first + j * step,
// exactly as a float loop adding the envelope's step frame by frame rounds
// it. Worked out once per stretch rather than per frame: that loop's chain
// of additions was what made moving envelopes slow.
struct Run {
  float first;
  float step;
  int frames;
};

float valueAt(const Run &run, int frame) { return run.first + static_cast<float>(frame) * run.step; }

// The longest run from x (at most `frames`) in steps of `step`. Inside one
// binade every sum rounds on the same grid, so by the same amount, apart
// from a step that rounds a tie to the even neighbour of an odd x; a run
// stays in its binade, and a step that leaves it is a run of one frame.
Run runFrom(float x, float step, int frames) {
  const float next = x + step;
  const float after = next + step;
  int exponent = 0;
  std::frexp(x, &exponent);
  const double low = std::ldexp(1.0, exponent - 1), high = 2.0 * low;
  const float d = next - x;
  if (frames == 1 || !(x > 0.0f) || next < low || !(next < high) || after < low || !(after < high) || after - next != d)
    return Run{x, step, 1};
  // Steps from x + j * d whose sum stays in the binade, one fewer to be safe
  // against the division's rounding; the run is one frame longer.
  const double steps =
      step > 0.0f ? std::ceil((high - step - x) / d) - 1.0 : std::floor((x + step - low) / std::fabs(d));
  return Run{x, d, static_cast<int>(std::min<double>(std::max(steps, 0.0) + 1.0, frames))};
}

// A run of a level gliding to target, ending before it would pass the target
// (where the glide clamps).
Run glideRun(float level, float target, int frames) {
  Run run = runFrom(level, target > level ? levelStep : -levelStep, frames);
  if (run.frames > 1) {
    const double reach = std::ceil((static_cast<double>(target) - level) / run.step) - 1.0;
    run.frames = static_cast<int>(std::min<double>(std::max(reach, 1.0), run.frames));
  }
  return run;
}

// A source sample as a float: a ring's as it is, a preloaded one scaled.
// The scale is one product before the envelope's, in the frame loop's order.
float sampleAt(const float *source, int index, float) { return source[index]; }
float sampleAt(const std::int16_t *source, int index, float scale) { return static_cast<float>(source[index]) * scale; }
Floats4 twoFramesAt(const float *source, int frame, float) { return loadFloats4(source + 2 * frame); }
Floats4 twoFramesAt(const std::int16_t *source, int frame, float scale) {
  return loadInt16sAsFloats4(source + 2 * frame) * scale;
}

// output += source * fade * level * gain of its side, two frames at a time.
// The products keep their order, so the sum is the same as frame by frame.
template <typename Sample>
void addSteady(const Sample *__restrict source, float scale, float *__restrict output, int frames, float fade,
               float level, float halfLeft, float halfRight) {
  const Floats4 gains = {halfLeft, halfRight, halfLeft, halfRight};
  int i = 0;
  for (; i + 2 <= frames; i += 2) {
    __builtin_prefetch(source + 2 * (i + prefetchFrames));
    storeFloats4(output + 2 * i, loadFloats4(output + 2 * i) + twoFramesAt(source, i, scale) * fade * level * gains);
  }
  if (i < frames) {
    output[2 * i] += sampleAt(source, 2 * i, scale) * fade * level * halfLeft;
    output[2 * i + 1] += sampleAt(source, 2 * i + 1, scale) * fade * level * halfRight;
  }
}

// The same with the fade level and the gain of each frame from their runs.
template <typename Sample>
void addRamped(const Sample *__restrict source, float scale, float *__restrict output, int frames, const Run &fades,
               const Run &levels, float halfLeft, float halfRight) {
  const Floats4 gains = {halfLeft, halfRight, halfLeft, halfRight};
  Floats4 frame = {0.0f, 1.0f, 2.0f, 3.0f};
  int i = 0;
  for (; i + 4 <= frames; i += 4, frame += 4.0f) {
    __builtin_prefetch(source + 2 * (i + prefetchFrames));
    const Floats4 fade = fades.first + frame * fades.step;
    const Floats4 level = levels.first + frame * levels.step;
    const Floats4 first = twoFramesAt(source, i, scale) * Floats4{fade[0], fade[0], fade[1], fade[1]} *
                          Floats4{level[0], level[0], level[1], level[1]} * gains;
    const Floats4 second = twoFramesAt(source, i + 2, scale) * Floats4{fade[2], fade[2], fade[3], fade[3]} *
                           Floats4{level[2], level[2], level[3], level[3]} * gains;
    storeFloats4(output + 2 * i, loadFloats4(output + 2 * i) + first);
    storeFloats4(output + 2 * i + 4, loadFloats4(output + 2 * i + 4) + second);
  }
  for (; i < frames; ++i) {
    const float fade = valueAt(fades, i), level = valueAt(levels, i);
    output[2 * i] += sampleAt(source, 2 * i, scale) * fade * level * halfLeft;
    output[2 * i + 1] += sampleAt(source, 2 * i + 1, scale) * fade * level * halfRight;
  }
}

}  // namespace

StreamingSound::StreamingSound() {
  for (std::atomic<bool> &flag : needsUpdate) flag.store(false, std::memory_order_relaxed);
}

void StreamingSound::setFade(bool fade) {
  this->fade.store(fade, std::memory_order_relaxed);
  if (!fade) postRequest(RestoreRequest, FadeOutRequest | CutRequest);
}

void StreamingSound::setLevel(float level) { targetLevel.store(level, std::memory_order_relaxed); }

void StreamingSound::setPan(float pan) { this->pan.store(pan, std::memory_order_relaxed); }

void StreamingSound::setLoop(bool loop) { this->loop.store(loop, std::memory_order_relaxed); }

void StreamingSound::registerCallback(Callback *callback) { this->callback.store(callback, std::memory_order_seq_cst); }

void StreamingSound::unregisterCallback(Callback *callback) {
  this->callback.compare_exchange_strong(callback, nullptr, std::memory_order_seq_cst);
}

void StreamingSound::stopPlaying() {
  postRequest(fade.load(std::memory_order_relaxed) ? FadeOutRequest : CutRequest, RestoreRequest);
}

bool StreamingSound::isActive() const { return fadeLevel.load(std::memory_order_acquire) > 0.0f; }

bool StreamingSound::isIdle() const {
  return !(fadeLevel.load(std::memory_order_seq_cst) > 0.0f) && !refilling.load(std::memory_order_seq_cst);
}

void StreamingSound::postRequest(unsigned request, unsigned cancels) {
  unsigned pending = requests.load(std::memory_order_relaxed);
  while (!requests.compare_exchange_weak(pending, (pending & ~cancels) | request, std::memory_order_release,
                                         std::memory_order_relaxed)) {
  }
}

float StreamingSound::applyRequests(float fade) {
  const unsigned pending = requests.exchange(0, std::memory_order_acquire);
  if (pending & RestoreRequest) {
    fadingOut = false;
    fade = 1.0f;
  }
  if (pending & FadeOutRequest) fadingOut = true;
  if (pending & CutRequest) fade = 0.0f;
  return fade;
}

void StreamingSound::startPlaying(const PreloadedSound &sound, const std::wstring &name) {
  loader.reset();
  preloadedSamples = sound.getSamples();
  preloadedScale = sound.getSampleScale();
  this->name = name;
  length = sound.getFrameCount();
  playPosition = 0;
  // The slot is idle, so its fade level is at or just below 0.
  float startFade = 1.0f;
  if (fade.load(std::memory_order_relaxed)) {
    startFade = fadeLevel.load(std::memory_order_relaxed) + fadeStep;
    if (!(startFade > 0.0f)) startFade = fadeStep;
  }
  begin(startFade);
}

void StreamingSound::startPlaying(boost::shared_ptr<SoundFileLoader> newLoader, const FirstBuffer &firstBuffer) {
  MW_ASSERT(newLoader);
  MW_ASSERT(firstBuffer.size() == 2 * BufferSize);
  preloadedSamples = nullptr;
  preloadedScale = 0.0f;
  loader = newLoader;
  // Published to the other threads with the fade level, as the rest of the sound is.
  if (!buffers) buffers.reset(new std::array<Buffer, NumBuffers>);
  std::copy(firstBuffer.begin(), firstBuffer.end(), (*buffers)[0].begin());
  bufferStart[0] = 0;
  // The rest of the ring is the streaming thread's to decode, in ring order,
  // while the first buffer plays.
  needsUpdate[0].store(false, std::memory_order_relaxed);
  for (int i = 1; i < NumBuffers; ++i) needsUpdate[i].store(true, std::memory_order_relaxed);
  currentBuffer = 0;
  bufferIndex = 0;
  streamFrame = 0;
  dueFrame.store(0, std::memory_order_relaxed);
  readPosition = BufferSize;
  nextStart = BufferSize;
  nextRefill = 1;
  sourceEnded = false;
  playPosition = 0;
  name = newLoader->getName();
  length = std::max(newLoader->getFileLength(), 0LL);
  begin(fade.load(std::memory_order_relaxed) ? fadeStep : 1.0f);
}

// Publishes the installed sound: everything written before this store is
// visible to the thread that reads the fade level above 0.
void StreamingSound::begin(float startFade) {
  requests.store(0, std::memory_order_relaxed);
  fadingOut = false;
  // A new sound starts at its own level; only a change while it plays glides.
  level = targetLevel.load(std::memory_order_relaxed);
  ++startCount;
  fadeLevel.store(startFade, std::memory_order_seq_cst);
}

void StreamingSound::getAudio(float *output, int numSamples, AudioFrame firstFrame) {
  float fade = fadeLevel.load(std::memory_order_acquire);
  if (!(fade > 0.0f)) return;
  MW_ASSERT(numSamples <= BufferSize);
  fade = applyRequests(fade);

  const float panning = pan.load(std::memory_order_relaxed);
  // The mix's factor 0.5 goes with the pan gains: halving is exact.
  const float halfLeft = (panning < 0.5f ? 1.0f : (0.5f - (panning - 0.5f)) * 2.0f) * 0.5f;
  const float halfRight = (panning < 0.5f ? 2.0f * panning : 1.0f) * 0.5f;
  const float target = targetLevel.load(std::memory_order_relaxed);
  const bool looping = loop.load(std::memory_order_relaxed);
  const bool streamed = static_cast<bool>(loader);

  float *out = output;
  int remaining = numSamples;
  while (remaining > 0 && fade > 0.0f) {
    // An empty sound ends at once, even when looping: a loop over nothing
    // would never leave this block.
    if (length == 0) {
      finished(firstFrame + (numSamples - remaining));
      fade = 0.0f;
      break;
    }
    long long run = std::min<long long>(remaining, length - playPosition);
    int done;
    if (streamed && !catchUp()) {
      // The streaming thread has not refilled the buffer yet: time goes on in
      // silence, so that the sound is where it should be once it comes.
      done = play<float>(nullptr, 1.0f, out, static_cast<int>(run), fade, halfLeft, halfRight, target);
      missedFrames.store(missedFrames.load(std::memory_order_relaxed) + done, std::memory_order_relaxed);
    } else if (streamed) {
      run = std::min<long long>(run, BufferSize - bufferIndex);
      done = play((*buffers)[currentBuffer].data() + 2 * bufferIndex, 1.0f, out, static_cast<int>(run), fade, halfLeft,
                  halfRight, target);
      advance(done);
    } else {
      done = play(preloadedSamples + 2 * playPosition, preloadedScale, out, static_cast<int>(run), fade, halfLeft,
                  halfRight, target);
    }
    out += 2 * done;
    remaining -= done;
    playPosition += done;
    streamFrame += done;
    if (playPosition >= length) {
      finished(firstFrame + (numSamples - remaining));
      if (!looping) {
        fade = 0.0f;
        break;
      }
      // A streamed loop goes on in the same buffer: the streaming thread
      // wrote the file's start right after its end.
      playPosition = 0;
    }
  }
  if (streamed) dueFrame.store(streamFrame, std::memory_order_relaxed);
  fadeLevel.store(fade, std::memory_order_seq_cst);
}

void StreamingSound::advance(int frames) {
  bufferIndex += frames;
  if (bufferIndex < BufferSize) return;
  needsUpdate[currentBuffer].store(true, std::memory_order_release);
  bufferIndex = 0;
  currentBuffer = (currentBuffer + 1) % NumBuffers;
}

bool StreamingSound::catchUp() {
  for (;;) {
    if (needsUpdate[currentBuffer].load(std::memory_order_acquire)) return false;
    const long long behind = streamFrame - (bufferStart[currentBuffer] + bufferIndex);
    if (behind <= 0) return true;
    advance(static_cast<int>(std::min<long long>(behind, BufferSize - bufferIndex)));
  }
}

// Mixes up to `frames` frames, or with no source only lets their time pass;
// stops early at the frame where a fade-out ends. Frames that playback misses
// still move the envelope, so that a fade-out ends on time.
template <typename Sample>
int StreamingSound::play(const Sample *source, float sampleScale, float *output, int frames, float &fade,
                         float halfLeft, float halfRight, float target) {
  float gain = level;
  int done = 0;
  while (done < frames && fade > 0.0f) {
    const bool fadeMoves = fadingOut || fade < 1.0f;
    const bool glides = gain != target;
    const int remaining = frames - done;
    if (!fadeMoves && !glides) {
      if (source)
        addSteady(source + 2 * done, sampleScale, output + 2 * done, remaining, fade, gain, halfLeft, halfRight);
      done = frames;
      break;
    }
    const float fadeBy = fadingOut ? -fadeStep : fadeStep;
    const Run fades = fadeMoves ? runFrom(fade, fadeBy, remaining) : Run{fade, 0.0f, remaining};
    const Run levels = glides ? glideRun(gain, target, remaining) : Run{gain, 0.0f, remaining};
    const int count = std::min(fades.frames, levels.frames);
    if (source) addRamped(source + 2 * done, sampleScale, output + 2 * done, count, fades, levels, halfLeft, halfRight);
    done += count;
    // One more step from the last frame, as the frame loop takes it; a
    // fade-out that it takes to 0 or below ends the sound here.
    if (fadeMoves) fade = valueAt(fades, count - 1) + fadeBy;
    if (glides) {
      const float last = valueAt(levels, count - 1);
      gain = target > gain ? std::min(last + levelStep, target) : std::max(last - levelStep, target);
    }
  }
  level = gain;
  return done;
}

void StreamingSound::finished(AudioFrame frame) {
  Callback *listener = callback.load(std::memory_order_seq_cst);
  if (listener) listener->soundFinished(name, frame);
}

void StreamingSound::threadUpdate(int maxBuffers) {
  if (!(fadeLevel.load(std::memory_order_relaxed) > 0.0f)) return;
  // Claim the slot, then look again: a slot that went idle in between is
  // left alone, and one that is claimed is not restarted (isIdle). A slot
  // that another thread is refilling is skipped.
  bool unclaimed = false;
  if (!refilling.compare_exchange_strong(unclaimed, true, std::memory_order_seq_cst)) return;
  if (fadeLevel.load(std::memory_order_seq_cst) > 0.0f && loader) {
    // Buffers are handed over in ring order and refilled in the same order.
    const int most = std::min(maxBuffers, NumBuffers);
    for (int i = 0; i < most && needsUpdate[nextRefill].load(std::memory_order_acquire); ++i) {
      refill(nextRefill);
      needsUpdate[nextRefill].store(false, std::memory_order_release);
      nextRefill = (nextRefill + 1) % NumBuffers;
    }
  }
  refilling.store(false, std::memory_order_release);
}

void StreamingSound::refill(int index) {
  // Playback kept waiting has gone on in silence: the buffer starts where it
  // is due by now, and what it missed is skipped in the file.
  const long long due = dueFrame.load(std::memory_order_relaxed);
  if (due > nextStart && length > 0) {
    const long long skipped = due - nextStart;
    readPosition = loop.load(std::memory_order_relaxed) ? (readPosition + skipped) % length : readPosition + skipped;
    nextStart = due;
  }
  bufferStart[index] = nextStart;
  nextStart += BufferSize;

  float *data = (*buffers)[index].data();
  int filled = 0;
  if (!sourceEnded) {
    filled = loader->loadChunk(data, readPosition, BufferSize * 2, 0);
    if (filled < BufferSize) {
      // The file ended inside this buffer and readPosition is back at 0.
      if (loop.load(std::memory_order_relaxed)) {
        filled = fillFromStart(data, filled);
      } else {
        sourceEnded = true;
        if (fade.load(std::memory_order_relaxed)) postRequest(FadeOutRequest, 0);
      }
    }
  }
  // Whatever the decoder could not deliver plays as silence, never as stale data.
  std::fill(data + 2 * filled, data + 2 * BufferSize, 0.0f);
}

// Continues the buffer with the file's beginning, as often as a short file
// needs; a decoder that makes no progress ends the attempt.
int StreamingSound::fillFromStart(float *buffer, int filled) {
  readPosition = 0;
  while (filled < BufferSize) {
    const int reached = loader->loadChunk(buffer, readPosition, BufferSize * 2, filled);
    if (reached <= filled) break;
    filled = reached;
  }
  return filled;
}
