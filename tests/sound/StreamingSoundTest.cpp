#include "framework/sound/PreloadedSound.h"
#include "framework/sound/StreamingSound.h"
#include "support/MemorySoundLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int B = StreamingSound::BufferSize;

class CountingCallback final : public StreamingSound::Callback {
 public:
  void soundFinished(const std::wstring &name, AudioFrame) override {
    ++calls;
    lastName = name;
  }
  int calls = 0;
  std::wstring lastName;
};

// A slot is several hundred kilobytes: keep it off the stack.
std::unique_ptr<StreamingSound> makeSlot() { return std::unique_ptr<StreamingSound>(new StreamingSound()); }

// A streamed sound as a sounder keeps it: the loader, and the first ring
// buffer decoded at load time.
struct Streamed {
  boost::shared_ptr<SoundFileLoader> loader;
  StreamingSound::FirstBuffer firstBuffer;
};

Streamed streamed(const std::wstring &name, const std::vector<float> &stereo, long long reportedLength = -1) {
  Streamed sound{boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(name, stereo, reportedLength)),
                 StreamingSound::FirstBuffer(2 * B, 0.0f)};
  long long position = 0;
  sound.loader->loadChunk(sound.firstBuffer.data(), position, 2 * B, 0);
  return sound;
}

void start(StreamingSound &slot, const Streamed &sound) { slot.startPlaying(sound.loader, sound.firstBuffer); }

PreloadedSound preload(const std::vector<float> &stereo) {
  MemorySoundLoader loader(L"Sound", stereo);
  return PreloadedSound(loader);
}

// A sound held in memory as a sounder holds it, and the floats it plays.
struct Preloaded {
  explicit Preloaded(const std::vector<float> &stereo) : sound(preload(stereo)) {
    for (long long i = 0; i < 2 * sound.getFrameCount(); ++i)
      heard.push_back(static_cast<float>(sound.getSamples()[i]) * sound.getSampleScale());
  }
  PreloadedSound sound;
  std::vector<float> heard;
};

// Plays `frames` frames in device-sized blocks, refilling after each block as
// the streaming thread would, and returns the output.
std::vector<float> play(StreamingSound &slot, int frames, int block = 4096, bool refill = true) {
  std::vector<float> output(2 * static_cast<size_t>(frames), 0.0f);
  for (int done = 0; done < frames; done += block) {
    slot.getAudio(output.data() + 2 * done, std::min(block, frames - done));
    if (refill) slot.threadUpdate();
  }
  return output;
}

// The mix as first written, frame by frame: the output of a slot must not
// change with the way it is computed.
struct ReferenceSlot {
  const std::vector<float> &file;
  bool loop;
  float pan, level, target, fade;
  bool fadingOut = false;
  long long position = 0;

  void getAudio(float *output, int frames) {
    if (!(fade > 0.0f)) return;
    const float leftGain = pan < 0.5f ? 1.0f : (0.5f - (pan - 0.5f)) * 2.0f;
    const float rightGain = pan < 0.5f ? 2.0f * pan : 1.0f;
    const long long length = static_cast<long long>(file.size() / 2);
    for (int i = 0; i < frames; ++i) {
      output[2 * i] += file[static_cast<size_t>(2 * position)] * fade * level * leftGain * 0.5f;
      output[2 * i + 1] += file[static_cast<size_t>(2 * position + 1)] * fade * level * rightGain * 0.5f;
      ++position;
      if (fadingOut) {
        if (fade > 0.0f) fade -= 0.00001f;
      } else if (fade < 1.0f) {
        fade += 0.00001f;
      }
      if (target > level)
        level = std::min(level + 0.001f, target);
      else if (target < level)
        level = std::max(level - 0.001f, target);
      if (fadingOut && !(fade > 0.0f)) return;
      if (position >= length) {
        if (!loop) fade = 0.0f;
        if (!loop) return;
        position = 0;
      }
    }
  }
};

enum Change { None, Stop, Level1, Restore };

// Makes a case's change to the slot and to the reference alike.
void applyChange(Change change, bool fade, int block, StreamingSound &slot, ReferenceSlot &reference) {
  if (change == Stop) {
    slot.stopPlaying();
    if (fade) reference.fadingOut = true;
    if (!fade) reference.fade = 0.0f;
  } else if (change == Level1) {
    slot.setLevel(1.0f);
    reference.target = 1.0f;
  } else if (change == Restore) {
    slot.stopPlaying();
    reference.fadingOut = true;
    play(slot, block);
    reference.getAudio(std::vector<float>(2 * block).data(), block);
    slot.setFade(false);
    reference.fadingOut = false;
    reference.fade = 1.0f;
  }
}

}  // namespace

// Slots against the reference, block after block, bit for bit: the products
// keep their order, halving is exact and every envelope step is rounded as a
// float loop rounds it, so no difference is allowed.
TEST(StreamingSound, MixesTheSameSamplesAsFrameByFrame) {
  const struct {
    const char *name;
    bool streamed, loop, fade;
    float pan, level;
    int fileFrames, block, blocks;
    int changeAt;
    Change change;
  } cases[] = {
      {"preloaded", false, true, false, 0.3f, 0.66f, 50000, 4096, 3, 0, None},
      {"streamed across the loop", true, true, false, 0.8f, 1.5f, 3 * B + 1234, 4096, 12, 0, None},
      {"fading in to full", false, true, true, 0.5f, 0.66f, 30000, 4096, 27, 0, None},
      {"streamed fading in, odd blocks", true, true, true, 0.1f, 1.0f, 4 * B, 4095, 27, 0, None},
      {"fading out from full", false, true, true, 1.0f, 1.5f, 70001, 4096, 55, 26, Stop},
      {"streamed fading out mid fade-in", true, true, true, 0.6f, 0.66f, 4 * B + 7, 4096, 12, 5, Stop},
      {"level glides up", false, true, false, 0.5f, 0.2f, 9000, 1000, 5, 1, Level1},
      {"level glides down while fading in", false, true, true, 0.5f, 4.0f, 90000, 4096, 30, 24, Level1},
      {"fade cancelled mid fade-out", false, true, true, 0.7f, 1.0f, 5000, 4096, 8, 3, Restore},
      {"cut", false, true, false, 0.5f, 1.0f, 5000, 4096, 4, 2, Stop},
      {"ending mid-block", false, false, false, 0.5f, 1.0f, 5000, 4096, 3, 0, None},
      {"streamed ending mid-block", true, false, false, 0.2f, 4.0f, 3 * B + 999, 4096, 10, 0, None},
  };
  for (const auto &c : cases) {
    std::vector<float> file = MemorySoundLoader::ramp(c.fileFrames, 1000.0f);
    for (size_t i = 0; i < file.size(); ++i) file[i] = std::sin(file[i] * 7.3f) * 0.9f;
    const Streamed sound = streamed(L"Sound", file);
    const Preloaded inMemory(file);
    auto slot = makeSlot();
    slot->setFade(c.fade);
    slot->setLoop(c.loop);
    slot->setPan(c.pan);
    slot->setLevel(c.level);
    if (c.streamed)
      start(*slot, sound);
    else
      slot->startPlaying(inMemory.sound, L"Sound");
    // A preloaded sound plays its 16-bit samples, scaled back to floats.
    ReferenceSlot reference{
        c.streamed ? file : inMemory.heard, c.loop, c.pan, c.level, c.level, c.fade ? 0.00001f : 1.0f};

    for (int block = 0; block < c.blocks; ++block) {
      if (block == c.changeAt) applyChange(c.change, c.fade, c.block, *slot, reference);
      std::vector<float> out(2 * static_cast<size_t>(c.block), 0.25f), expected = out;
      slot->getAudio(out.data(), c.block);
      slot->threadUpdate();
      reference.getAudio(expected.data(), c.block);
      ASSERT_EQ(expected, out) << c.name << ", block " << block;
    }
    EXPECT_EQ(reference.fade > 0.0f, slot->isActive()) << c.name;
  }
}

TEST(StreamingSound, PanSplitsACentredFullScaleSoundToHalfOnEachSide) {
  const Preloaded ones(std::vector<float>(2 * 8, 1.0f));
  const struct {
    float pan, left, right;
  } cases[] = {{0.0f, 0.5f, 0.0f}, {0.25f, 0.5f, 0.25f}, {0.5f, 0.5f, 0.5f}, {0.75f, 0.25f, 0.5f}, {1.0f, 0.0f, 0.5f}};
  for (const auto &c : cases) {
    auto slot = makeSlot();
    slot->setPan(c.pan);
    slot->startPlaying(ones.sound, L"Ones");
    const std::vector<float> out = play(*slot, 1);
    EXPECT_FLOAT_EQ(c.left, out[0]) << "pan " << c.pan;
    EXPECT_FLOAT_EQ(c.right, out[1]) << "pan " << c.pan;
  }
}

TEST(StreamingSound, PreloadedSoundPlaysEachFrameOnceAndReportsItsEndOnce) {
  const Preloaded three({0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.2f});
  CountingCallback callback;
  auto slot = makeSlot();
  slot->registerCallback(&callback);
  slot->startPlaying(three.sound, L"Three");
  EXPECT_TRUE(slot->isActive());
  const std::vector<float> out = play(*slot, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(three.heard[static_cast<size_t>(i)] * 0.5f, out[static_cast<size_t>(i)]);
  for (size_t i = 6; i < out.size(); ++i) EXPECT_EQ(0.0f, out[i]);
  EXPECT_FALSE(slot->isActive());
  EXPECT_EQ(1, callback.calls);
  EXPECT_EQ(L"Three", callback.lastName);
}

TEST(StreamingSound, EmptySoundEndsAtOnceEvenWhenLooping) {
  const Preloaded nothing({});
  CountingCallback callback;
  auto slot = makeSlot();
  slot->setLoop(true);
  slot->registerCallback(&callback);
  slot->startPlaying(nothing.sound, L"Empty");
  const std::vector<float> out = play(*slot, 64);
  EXPECT_FALSE(slot->isActive());
  EXPECT_EQ(1, callback.calls);
  for (float v : out) EXPECT_EQ(0.0f, v);
}

TEST(StreamingSound, FadesInAndOutOverOneHundredThousandFrames) {
  const Preloaded ones(std::vector<float>(2 * 1000, 1.0f));
  auto slot = makeSlot();
  slot->setFade(true);
  slot->setLoop(true);
  slot->startPlaying(ones.sound, L"Ones");
  std::vector<float> out = play(*slot, 120000);
  EXPECT_NEAR(0.25f, out[2 * 50000], 0.001f);
  EXPECT_LT(out[2 * 99000], 0.5f);
  EXPECT_NEAR(0.5f, out[2 * 101000], 1e-5f);

  slot->stopPlaying();
  out = play(*slot, 120000, 1000);
  EXPECT_NEAR(0.25f, out[2 * 50000], 0.001f);
  size_t silentFrom = 0;
  while (out[2 * silentFrom] != 0.0f) ++silentFrom;
  EXPECT_NEAR(100000.0, static_cast<double>(silentFrom), 1000.0);
  EXPECT_FALSE(slot->isActive());
}

TEST(StreamingSound, StopWithoutFadeSilencesTheNextBlock) {
  const Preloaded ones(std::vector<float>(2 * 1000, 1.0f));
  auto slot = makeSlot();
  slot->setLoop(true);
  slot->startPlaying(ones.sound, L"Ones");
  play(*slot, 4096);
  slot->stopPlaying();
  for (float v : play(*slot, 4096)) EXPECT_EQ(0.0f, v);
  EXPECT_FALSE(slot->isActive());
}

TEST(StreamingSound, IdleSlotStaysSilentUntilTheNewSoundIsStarted) {
  const Preloaded first(std::vector<float>(2 * 100, 0.25f));
  const Preloaded second(MemorySoundLoader::ramp(100, 1000.0f));
  auto slot = makeSlot();
  slot->startPlaying(first.sound, L"First");
  play(*slot, 200);
  ASSERT_TRUE(slot->isIdle());

  slot->setFade(false);
  slot->stopPlaying();
  EXPECT_FALSE(slot->isActive());
  for (float v : play(*slot, 64)) EXPECT_EQ(0.0f, v);

  // The stop posted to the idle slot is not held against the new sound.
  slot->startPlaying(second.sound, L"Second");
  const std::vector<float> out = play(*slot, 2);
  EXPECT_EQ(second.heard[0] * 0.5f, out[0]);
  EXPECT_EQ(second.heard[2] * 0.5f, out[2]);
}

TEST(StreamingSound, StreamedSoundPlaysToItsLastFrameThenStopsWithOneFinish) {
  const int frames = 3 * B + 20000;
  const std::vector<float> file = MemorySoundLoader::ramp(frames, 1e6f);
  CountingCallback callback;
  auto slot = makeSlot();
  slot->registerCallback(&callback);
  start(*slot, streamed(L"Long", file));
  const std::vector<float> out = play(*slot, frames + 10000);
  for (int i = 0; i < 2 * frames; ++i) ASSERT_EQ(file[static_cast<size_t>(i)] * 0.5f, out[static_cast<size_t>(i)]) << i;
  for (size_t i = 2 * frames; i < out.size(); ++i) ASSERT_EQ(0.0f, out[i]);
  EXPECT_EQ(1, callback.calls);
  EXPECT_EQ(L"Long", callback.lastName);
  EXPECT_FALSE(slot->isActive());
}

TEST(StreamingSound, StreamedLoopGoesOnSeamlesslyFromTheFilesEndToItsStart) {
  const int frames = 3 * B + 1234;
  const std::vector<float> file = MemorySoundLoader::ramp(frames, 1e6f);
  CountingCallback callback;
  auto slot = makeSlot();
  slot->setLoop(true);
  slot->registerCallback(&callback);
  start(*slot, streamed(L"Loop", file));
  const int played = 3 * frames + 500;
  const std::vector<float> out = play(*slot, played);
  for (int i = 0; i < played; ++i) {
    const size_t source = static_cast<size_t>(i % frames);
    ASSERT_EQ(file[2 * source] * 0.5f, out[2 * static_cast<size_t>(i)]) << "frame " << i;
  }
  EXPECT_EQ(3, callback.calls);
  EXPECT_TRUE(slot->isActive());
}

// Only the first buffer is decoded ahead: it plays with no refill at all, and
// one round of the streaming thread within it fills the rest of the ring.
TEST(StreamingSound, StreamStartsFromItsFirstBufferAndOneRoundDecodesTheRest) {
  const std::vector<float> file = MemorySoundLoader::ramp(4 * B, 1e6f);
  auto slot = makeSlot();
  start(*slot, streamed(L"Long", file));
  std::vector<float> out = play(*slot, B - 1, 4096, false);
  slot->threadUpdate();
  const std::vector<float> rest = play(*slot, 2 * B + 1, 4096, false);
  out.insert(out.end(), rest.begin(), rest.end());
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(file[i] * 0.5f, out[i]) << i;
  EXPECT_EQ(0, slot->getMissedFrames());
}

// Playback that finds its next buffer not yet refilled plays silence rather
// than what is being written, and time goes on: once the buffer comes (even
// with playback going on while it is decoded) the sound plays from where it
// would be had it never waited, and it ends or loops on time.
TEST(StreamingSound, StarvedStreamPlaysSilenceThenSkipsWhatItMissed) {
  const int frames = 5 * B;
  const std::vector<float> file = MemorySoundLoader::ramp(frames, 1e6f);
  for (bool looping : {false, true}) {
    const Streamed sound = streamed(L"Long", file);
    CountingCallback callback;
    auto slot = makeSlot();
    slot->setLoop(looping);
    slot->registerCallback(&callback);
    start(*slot, sound);
    int played = B + 5000;
    std::vector<float> out = play(*slot, played, 4096, false);
    for (size_t i = 2 * B; i < out.size(); ++i) ASSERT_EQ(0.0f, out[i]);
    static_cast<MemorySoundLoader &>(*sound.loader).beforeNextLoad([&] {
      play(*slot, 4096, 4096, false);
      played += 4096;
    });
    slot->threadUpdate();
    out = play(*slot, 100, 100, false);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(file[2 * static_cast<size_t>(played + i)] * 0.5f, out[2 * i]) << i;
    EXPECT_EQ(5000 + 4096, slot->getMissedFrames());

    // Starved through the end of the file.
    play(*slot, frames + 2000 - played - 100, 4096, false);
    EXPECT_EQ(1, callback.calls);
    EXPECT_EQ(looping, slot->isActive());
    slot->threadUpdate();
    out = play(*slot, 100);
    for (int i = 0; i < 100; ++i)
      ASSERT_EQ(looping ? file[2 * static_cast<size_t>(2000 + i)] * 0.5f : 0.0f, out[2 * i]);
  }
}

TEST(StreamingSound, ADecoderThatDeliversLessThanItReportsPlaysSilenceNotStaleData) {
  const int delivered = 3 * B + 100;
  CountingCallback callback;
  auto slot = makeSlot();
  slot->registerCallback(&callback);
  start(*slot, streamed(L"Short", MemorySoundLoader::ramp(delivered, 1e6f), 8LL * B));
  const std::vector<float> out = play(*slot, 9 * B);
  EXPECT_NE(0.0f, out[2 * (delivered - 1)]);
  for (size_t i = 2 * delivered; i < out.size(); ++i) ASSERT_EQ(0.0f, out[i]) << i;
  EXPECT_EQ(1, callback.calls);
}

TEST(StreamingSoundDeathTest, StreamingNeedsOneWholeFirstBuffer) {
  auto slot = makeSlot();
  const Streamed sound = streamed(L"Sound", {});
  for (size_t floats : {0, 2 * B - 2, 2 * B + 2})
    EXPECT_DEATH(slot->startPlaying(sound.loader, StreamingSound::FirstBuffer(floats)),
                 "^sound/StreamingSound:[0-9]+: failed assertion `firstBuffer.size\\(\\) == 2 \\* BufferSize'\n$")
        << floats;
}
