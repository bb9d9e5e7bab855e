#include "framework/sound/FileSounder.h"

#include "base/Assertion.h"
#include "framework/sound/ResamplingLoader.h"
#include "framework/sound/SoundFileLoader.h"

#include <algorithm>

namespace {

// The first ring buffer of a streamed sound. A decoder that delivers less
// than it promised leaves silence, and one that makes no progress ends the
// reading.
StreamingSound::FirstBuffer decodeFirstBuffer(SoundFileLoader &loader) {
  StreamingSound::FirstBuffer buffer(2 * StreamingSound::BufferSize, 0.0f);
  int filled = 0;
  while (filled < StreamingSound::BufferSize) {
    long long position = filled;
    const int reached = loader.loadChunk(buffer.data(), position, static_cast<int>(buffer.size()), filled);
    if (reached <= filled) break;
    filled = reached;
  }
  return buffer;
}

// A handle as an int: the slot above the start's low bits.
constexpr int startBits = 23;
constexpr unsigned startMask = (1u << startBits) - 1;
static_assert(FileSounder::NumSlots <= (1 << (31 - startBits)), "a handle must fit an int");

}  // namespace

FileSounder::FileSounder(const std::string &threadName) : Thread(threadName) {}

FileSounder::~FileSounder() { stopStreaming(); }

void FileSounder::stopStreaming() { stopThread(); }

int FileSounder::step() {
  updateStreams();
  return ThreadPeriodMs;
}

void FileSounder::updateStreams() {
  std::lock_guard<std::mutex> onePass(passLock);
  for (StreamingSound &slot : slots) slot.threadUpdate(1);
  for (StreamingSound &slot : slots) slot.threadUpdate();
}

void FileSounder::getAudio(float *input, float *output, int numSamples) {
  if (numSamples <= 0) return;
  fence.enter();
  mix(input, output, numSamples, getClock().mixedFrames());
  if (muted.load(std::memory_order_relaxed)) std::fill(output, output + 2 * numSamples, 0.0f);
  getClock().advance(numSamples);
  fence.leave();
}

bool FileSounder::mixSlots(float *output, int numSamples, AudioFrame firstFrame) {
  bool anyActive = false;
  for (StreamingSound &slot : slots) {
    if (!slot.isActive()) continue;
    anyActive = true;
    // A slot crosses at most one ring-buffer boundary per call.
    for (int done = 0; done < numSamples; done += StreamingSound::BufferSize)
      slot.getAudio(output + 2 * done, std::min(StreamingSound::BufferSize, numSamples - done), firstFrame + done);
  }
  return anyActive;
}

void FileSounder::loadSoundFileResource(boost::shared_ptr<SoundFileLoader> loader) {
  MW_ASSERT(loader);
  // Every sound plays at the device's rate; the usual file passes untouched,
  // and one the build cannot bring to it is left out.
  loader = ResamplingLoader::toRate(loader, getSamplerate());
  if (!loader) return;
  const std::wstring name = loader->getName();
  // A later file of the same name is dropped whole, so that the first wins
  // whichever map it lands in.
  const auto inserted = streamedSounds.insert(std::make_pair(name, StreamedSound{loader, {}}));
  if (!inserted.second) return;
  if (std::max(loader->getFileLength(), 0LL) >= streamingThreshold)
    inserted.first->second.firstBuffer = decodeFirstBuffer(*loader);
  else
    preloadedSounds.emplace(name, PreloadedSound(*loader));
}

bool FileSounder::isKnown(const std::wstring &name) const {
  return preloadedSounds.count(name) > 0 || streamedSounds.count(name) > 0;
}

bool FileSounder::isStreamed(const std::wstring &name) const {
  return preloadedSounds.count(name) == 0 && streamedSounds.count(name) > 0;
}

int FileSounder::getNumActiveSlots() const {
  return static_cast<int>(
      std::count_if(slots.begin(), slots.end(), [](const StreamingSound &slot) { return slot.isActive(); }));
}

long long FileSounder::getMissedFrames() const {
  long long missed = 0;
  for (const StreamingSound &slot : slots) missed += slot.getMissedFrames();
  return missed;
}

int FileSounder::findIdleSlot() const {
  for (int i = 0; i < NumSlots; ++i)
    if (slots[static_cast<size_t>(i)].isIdle()) return i;
  return -1;
}

void FileSounder::startConfiguredSlot(int slot, const std::wstring &name) {
  const auto preloaded = preloadedSounds.find(name);
  if (preloaded != preloadedSounds.end()) {
    getSlot(slot).startPlaying(preloaded->second, name);
    return;
  }
  const auto streamed = streamedSounds.find(name);
  if (streamed != streamedSounds.end())
    getSlot(slot).startPlaying(streamed->second.loader, streamed->second.firstBuffer);
}

void FileSounder::unregisterCallback(StreamingSound::Callback *callback) {
  for (StreamingSound &slot : slots) slot.unregisterCallback(callback);
  fence.waitForBlock();
}

FileSounder::SlotHandle FileSounder::handleOf(int slot) const {
  SlotHandle handle;
  handle.slot = slot;
  handle.start = slots[static_cast<size_t>(slot)].getStartCount();
  return handle;
}

bool FileSounder::isCurrent(const SlotHandle &handle) const {
  return handle.slot >= 0 && handle.slot < NumSlots &&
         (slots[static_cast<size_t>(handle.slot)].getStartCount() & startMask) == (handle.start & startMask);
}

int FileSounder::toInt(const SlotHandle &handle) {
  if (handle.slot < 0) return -1;
  return (handle.slot << startBits) | static_cast<int>(handle.start & startMask);
}

FileSounder::SlotHandle FileSounder::fromInt(int handle) {
  SlotHandle result;
  if (handle < 0 || (handle >> startBits) >= NumSlots) return result;
  result.slot = handle >> startBits;
  result.start = static_cast<unsigned>(handle) & startMask;
  return result;
}
