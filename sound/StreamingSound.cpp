#include "sound/StreamingSound.h"

#include "app/Assertion.h"

#include <algorithm>

namespace {

// A full fade takes 100000 frames; the level moves by 0.001 per frame.
constexpr float fadeStep = 0.00001f;
constexpr float levelStep = 0.001f;

// One frame's envelope and level step. True when a fade-out has just ended.
inline bool stepEnvelope(bool fadingOut, float &fade, float &level, float target) {
  if (fadingOut) {
    if (fade > 0.0f) fade -= fadeStep;
  } else if (fade < 1.0f) {
    fade += fadeStep;
  }
  if (target > level)
    level = std::min(level + levelStep, target);
  else if (target < level)
    level = std::max(level - levelStep, target);
  return fadingOut && !(fade > 0.0f);
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

void StreamingSound::startPlaying(float *data, int size, const std::wstring &name) {
  loader.reset();
  preloadedData = data;
  preloadedSize = std::max(size, 0);
  this->name = name;
  length = preloadedSize / 2;
  playPosition = 0;
  // The slot is idle, so its fade level is at or just below 0.
  float startFade = 1.0f;
  if (fade.load(std::memory_order_relaxed)) {
    startFade = fadeLevel.load(std::memory_order_relaxed) + fadeStep;
    if (!(startFade > 0.0f)) startFade = fadeStep;
  }
  begin(startFade);
}

void StreamingSound::startPlaying(boost::shared_ptr<SoundFileLoader> newLoader, const InitialBuffers &initialBuffers) {
  MW_ASSERT(newLoader);
  MW_ASSERT(initialBuffers.size() >= NumBuffers);
  // clang-format off
  MW_ASSERT(initialBuffers[0].size() >= (BufferSize*2));
  // clang-format on
  preloadedData = nullptr;
  preloadedSize = 0;
  loader = newLoader;
  currentBuffer = 0;
  for (size_t i = 0; i < initialBuffers.size(); ++i) {
    MW_ASSERT(i < NumBuffers);
    needsUpdate[i].store(false, std::memory_order_relaxed);
    const size_t count = std::min(initialBuffers[i].size(), buffers[i].size());
    std::copy_n(initialBuffers[i].begin(), count, buffers[i].begin());
    std::fill(buffers[i].begin() + static_cast<long>(count), buffers[i].end(), 0.0f);
  }
  for (int i = 0; i < NumBuffers; ++i) bufferStart[i] = static_cast<long long>(i) * BufferSize;
  bufferIndex = 0;
  streamFrame = 0;
  dueFrame.store(0, std::memory_order_relaxed);
  readPosition = NumBuffers * BufferSize;
  nextStart = NumBuffers * BufferSize;
  nextRefill = 0;
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

void StreamingSound::getAudio(float *output, int numSamples) {
  float fade = fadeLevel.load(std::memory_order_acquire);
  if (!(fade > 0.0f)) return;
  MW_ASSERT(numSamples <= BufferSize);
  fade = applyRequests(fade);

  const float panning = pan.load(std::memory_order_relaxed);
  const float leftGain = panning < 0.5f ? 1.0f : (0.5f - (panning - 0.5f)) * 2.0f;
  const float rightGain = panning < 0.5f ? 2.0f * panning : 1.0f;
  const float target = targetLevel.load(std::memory_order_relaxed);
  const bool looping = loop.load(std::memory_order_relaxed);
  const bool streamed = static_cast<bool>(loader);

  float *out = output;
  int remaining = numSamples;
  while (remaining > 0 && fade > 0.0f) {
    // An empty sound ends at once, even when looping: a loop over nothing
    // would never leave this block.
    if (length == 0) {
      finished();
      fade = 0.0f;
      break;
    }
    long long run = std::min<long long>(remaining, length - playPosition);
    int done;
    if (streamed && !catchUp()) {
      // The streaming thread has not refilled the buffer yet: time goes on in
      // silence, so that the sound is where it should be once it comes.
      done = miss(static_cast<int>(run), fade, target);
    } else {
      const float *source;
      if (streamed) {
        source = buffers[currentBuffer].data() + 2 * bufferIndex;
        run = std::min<long long>(run, BufferSize - bufferIndex);
      } else {
        source = preloadedData + 2 * playPosition;
      }
      done = mix(source, out, static_cast<int>(run), fade, leftGain, rightGain, target);
      if (streamed) advance(done);
    }
    out += 2 * done;
    remaining -= done;
    playPosition += done;
    streamFrame += done;
    if (playPosition >= length) {
      finished();
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

// Mixes up to `frames` frames; stops early at the frame where a fade-out ends.
int StreamingSound::mix(const float *source, float *output, int frames, float &fade, float leftGain, float rightGain,
                        float target) {
  float gain = level;
  if (!fadingOut && fade >= 1.0f && gain == target) {
    // Steady: neither the envelope nor the level moves.
    for (int i = 0; i < frames; ++i) {
      output[2 * i] += source[2 * i] * fade * gain * leftGain * 0.5f;
      output[2 * i + 1] += source[2 * i + 1] * fade * gain * rightGain * 0.5f;
    }
    return frames;
  }
  for (int i = 0; i < frames; ++i) {
    output[2 * i] += source[2 * i] * fade * gain * leftGain * 0.5f;
    output[2 * i + 1] += source[2 * i + 1] * fade * gain * rightGain * 0.5f;
    if (stepEnvelope(fadingOut, fade, gain, target)) {
      level = gain;
      return i + 1;
    }
  }
  level = gain;
  return frames;
}

// Frames that playback misses still move the envelope, so that a fade-out
// ends on time. Stops early at the frame where a fade-out ends.
int StreamingSound::miss(int frames, float &fade, float target) {
  float gain = level;
  if (!fadingOut && fade >= 1.0f && gain == target) return frames;
  for (int i = 0; i < frames; ++i) {
    if (stepEnvelope(fadingOut, fade, gain, target)) {
      level = gain;
      return i + 1;
    }
  }
  level = gain;
  return frames;
}

void StreamingSound::finished() {
  Callback *listener = callback.load(std::memory_order_seq_cst);
  if (listener) listener->soundFinished(name);
}

void StreamingSound::threadUpdate() {
  if (!(fadeLevel.load(std::memory_order_relaxed) > 0.0f)) return;
  // Claim the slot, then look again: a slot that went idle in between is
  // left alone, and one that is claimed is not restarted (isIdle). A slot
  // that another thread is refilling is skipped.
  bool unclaimed = false;
  if (!refilling.compare_exchange_strong(unclaimed, true, std::memory_order_seq_cst)) return;
  if (fadeLevel.load(std::memory_order_seq_cst) > 0.0f && loader) {
    // Buffers are handed over in ring order and refilled in the same order.
    for (int i = 0; i < NumBuffers && needsUpdate[nextRefill].load(std::memory_order_acquire); ++i) {
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

  float *data = buffers[index].data();
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
