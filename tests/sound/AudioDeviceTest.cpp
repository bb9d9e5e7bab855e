#include "base/FilePath.h"
#include "platforms/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "base/Thread.h"
#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/CallbackTimer.h"
#include "game/MurmelSounder.h"
#include "platforms/desktop/sound/PortAudioDevice.h"
#include "framework/sound/SilentClockAudioDevice.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/OggTestFile.h"
#include "support/ScopedEnv.h"
#include "support/SoundRecorder.h"
#include "support/TempDir.h"
#include "framework/app/Platform.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <functional>
#include <limits>
#include <memory>
#include <thread>

namespace {

bool waitFor(const std::function<bool()> &condition, int seconds = 10) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Writes a fixed pattern and checks what the device hands over.
class PatternCallback final : public AudioDeviceCallback {
 public:
  static constexpr float pattern[] = {1.5f, -1.5f, 0.99999f, -0.99999f, 0.5f, -0.5f, 0.0f, 1.0f, -1.0f, 2e-5f};
  static constexpr int patternSize = sizeof pattern / sizeof pattern[0];

  void getAudio(float *input, float *output, int numSamples) override {
    bool silent = true;
    for (int i = 0; i < 2 * numSamples; ++i) silent = silent && output[i] == 0.0f;
    if (input != output || numSamples != 4096 || !silent) wrongCall = true;
    for (int i = 0; i < 2 * numSamples; ++i) output[i] = pattern[i % patternSize];
    // Not a number cannot be converted; it must come out silent, not undefined.
    output[2 * numSamples - 1] = std::numeric_limits<float>::quiet_NaN();
    ++blocks;
  }
  std::atomic<int> blocks{0};
  std::atomic<bool> wrongCall{false};
};
constexpr float PatternCallback::pattern[];

// Writes stereo frames that tell left from right and one frame from the
// next, counting frames over all calls; every value is exact in 16 bits and
// none is 0, so that the first frame played can be found in a stream.
class StereoPattern final : public AudioDeviceCallback {
 public:
  static float left(long frame) { return static_cast<float>(1 + frame % 50) / 64.0f; }
  static float right(long frame) { return -static_cast<float>(1 + frame % 30) / 128.0f; }

  void getAudio(float *, float *output, int numSamples) override {
    for (int i = 0; i < 2 * numSamples; ++i)
      if (output[i] != 0.0f) wrongCall = true;
    for (int i = 0; i < numSamples; ++i) {
      output[2 * i] = left(frames + i);
      output[2 * i + 1] = right(frames + i);
    }
    frames += numSamples;
    ++blocks;
  }
  // What a device of that many channels should make of stereo frame `frame`.
  static float expected(long frame, int channel, int channels) {
    if (channels == 1) return (left(frame) + right(frame)) * 0.5f;
    return channel == 0 ? left(frame) : channel == 1 ? right(frame) : 0.0f;
  }
  long frames = 0;
  std::atomic<int> blocks{0};
  std::atomic<bool> wrongCall{false};
};

// What the application does: forward every block to the sounder.
class Forwarder final : public AudioDeviceCallback {
 public:
  explicit Forwarder(Sounder &sounder) : sounder(sounder) {}
  void getAudio(float *input, float *output, int numSamples) override {
    sounder.getAudio(input, output, numSamples);
    ++blocks;
  }
  Sounder &sounder;
  std::atomic<int> blocks{0};
};

// SDL's disk driver writes the device's stream to a file.
class SdlDiskAudio : public ::testing::Test {
 protected:
  SdlDiskAudio()
      : rawFile(dir.path() + "/stream.raw"),
        driver("SDL_AUDIODRIVER", "disk"),
        target("SDL_DISKAUDIOFILE", rawFile.c_str()) {}
  void SetUp() override { ASSERT_EQ(0, SDL_Init(SDL_INIT_AUDIO)) << SDL_GetError(); }
  void TearDown() override { SDL_Quit(); }

  // The stream's 16-bit samples from the first block the callback produced:
  // while the device is still paused, SDL writes silent blocks of its own.
  std::vector<int16_t> written(int channels = 2) const {
    const std::string bytes = dir.readFile("stream.raw");
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>(
          static_cast<uint16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8)));
    const long block = channels * 4096;
    auto start = samples.begin();
    while (samples.end() - start >= block && std::all_of(start, start + block, [](int16_t v) { return v == 0; }))
      start += block;
    return std::vector<int16_t>(start, samples.end());
  }

  TempDir dir;
  std::string rawFile;
  ScopedEnv driver;
  ScopedEnv target;
};

// Takes at least a millisecond a block.
class SlowCallback final : public AudioDeviceCallback {
 public:
  void getAudio(float *, float *, int) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++blocks;
  }
  std::atomic<int> blocks{0};
};

// A device given a timer times each of its callbacks, whole blocks.
void expectEveryCallTimed(AudioDevice &device) {
  SlowCallback callback;
  CallbackTimer timer(100);
  device.setCallback(&callback);
  device.setCallbackTimer(&timer);
  ASSERT_TRUE(device.start());
  ASSERT_TRUE(waitFor([&] { return timer.recordedCount() >= 3; }));
  device.stop();
  EXPECT_EQ(static_cast<std::size_t>(callback.blocks.load()), timer.recordedCount());
  for (const CallbackTimer::Record &call : timer.records(0, timer.recordedCount())) {
    EXPECT_EQ(4096, call.frames);
    EXPECT_GE(call.nanoseconds, 1'000'000);
  }
}

}  // namespace

TEST_F(SdlDiskAudio, AGivenTimerTimesEveryCallback) {
  SDL1_2AudioDevice device;
  expectEveryCallTimed(device);
}

TEST(SilentClockAudioDevice, AGivenTimerTimesEveryCallback) {
  Platform::install();
  SilentClockAudioDevice device;
  expectEveryCallTimed(device);
}

TEST_F(SdlDiskAudio, FloatsAreClampedScaledAndTruncatedTo16Bits) {
  PatternCallback callback;
  SDL1_2AudioDevice device;
  device.setCallback(&callback);
  ASSERT_TRUE(device.start());
  ASSERT_TRUE(waitFor([&] { return callback.blocks >= 3; }));
  device.stop();
  EXPECT_FALSE(callback.wrongCall.load());

  const std::vector<int16_t> samples = written();
  ASSERT_GE(samples.size(), 2u * 8192u);
  const int16_t expected[] = {32767, -32767, 32766, -32766, 16383, -16383, 0, 32767, -32767, 0};
  for (size_t i = 0; i + 1 < 2 * 4096; ++i)
    ASSERT_EQ(expected[i % PatternCallback::patternSize], samples[i]) << "sample " << i;
  EXPECT_EQ(0, samples[2 * 4096 - 1]);
}

TEST_F(SdlDiskAudio, StartsOnceReportsWhatItOpenedAndStartsAgainAfterStop) {
  PatternCallback callback;
  SDL1_2AudioDevice device;
  device.setAPI(L"anything");
  device.setCallback(&callback);
  device.setSamplerate(22050.9);
  ASSERT_TRUE(device.start());
  EXPECT_FALSE(device.start());
  EXPECT_EQ(22050.0, device.getSamplerate());
  EXPECT_EQ(2, device.getNumOutputs());
  EXPECT_EQ(2, device.getNumInputs());
  device.stop();
  device.stop();
  const int blocks = callback.blocks;
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(blocks, callback.blocks.load());
  ASSERT_TRUE(device.start());
  ASSERT_TRUE(waitFor([&] { return callback.blocks > blocks; }));
}

// The sounder writes stereo whatever the device opened: one channel gets the
// average, four get left and right and then silence.
TEST_F(SdlDiskAudio, DevicesOfOtherChannelCountsGetStereoBlocksAndConvertThem) {
  for (int channels : {1, 4}) {
    StereoPattern callback;
    SDL1_2AudioDevice device;
    device.setCallback(&callback);
    device.setNumChannels(0, channels);
    ASSERT_TRUE(device.start());
    EXPECT_EQ(channels, device.getNumOutputs());
    ASSERT_TRUE(waitFor([&] { return callback.blocks >= 3; }));
    device.stop();
    EXPECT_FALSE(callback.wrongCall.load());

    // The disk driver writes a one-channel stream to both sides of its file.
    const int fileChannels = std::max(channels, 2);
    const std::vector<int16_t> samples = written(fileChannels);
    ASSERT_GE(samples.size(), 3u * 4096 * static_cast<size_t>(fileChannels));
    for (size_t i = 0; i < 3u * 4096 * static_cast<size_t>(fileChannels); ++i) {
      const long frame = static_cast<long>(i) / fileChannels;
      const int channel = channels == 1 ? 0 : static_cast<int>(i) % channels;
      ASSERT_EQ(static_cast<int16_t>(StereoPattern::expected(frame, channel, channels) * 32767.0), samples[i])
          << channels << " channels, sample " << i;
    }
  }
}

// A known sound through the game sounder and the SDL device arrives in the
// stream exactly as the sounder mixed it, converted to 16 bits.
TEST_F(SdlDiskAudio, GameSounderOutputArrivesAs16BitSamples) {
  const std::string path = dir.path() + "/Tone.ogg";
  ASSERT_TRUE(OggTestFile::write(path, OggTestFile::sine(20000, 2, 44100, 440.0f, 0.6f), 2, 44100));
  auto prepare = [&](MurmelSounder &sounder) {
    sounder.killNoise();
    sounder.loadSoundFileResource(
        boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(FilePath(dir.widePath() + L"/Tone.ogg"))));
    sounder.triggerSound(L"Tone", 0.5f, nullptr);
  };
  std::unique_ptr<MurmelSounder> reference(new MurmelSounder());
  prepare(*reference);
  const std::vector<float> mixed = SoundRecorder::record(*reference, 6 * 4096);

  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  prepare(*sounder);
  Forwarder application(*sounder);
  SDL1_2AudioDevice device;
  device.setCallback(&application);
  ASSERT_TRUE(device.start());
  ASSERT_TRUE(waitFor([&] { return application.blocks >= 6; }));
  device.stop();

  const std::vector<int16_t> samples = written();
  ASSERT_GE(samples.size(), mixed.size());
  int loudest = 0;
  for (size_t i = 0; i < mixed.size(); ++i) {
    const float clamped = std::max(-1.0f, std::min(1.0f, mixed[i]));
    ASSERT_EQ(static_cast<int16_t>(clamped * 32767.0), samples[i]) << "sample " << i;
    loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
  }
  // 0.6 at level 4, halved by the centred pan, times 0.75: clipped at full scale.
  EXPECT_EQ(24575, loudest);
}

TEST(SdlAudioDeviceDeathTest, StartingWithoutACallbackIsAProgrammingError) {
  SDL1_2AudioDevice device;
  EXPECT_DEATH(device.start(), "^SDL1.2Backend/SDL1.2AudioDevice:[0-9]+: failed assertion `callback'\n$");
}

TEST(PortAudioDevice, HostApiNamesMapToPortAudiosTypesAndAnythingElseToCoreAudio) {
  const struct {
    const wchar_t *name;
    PaHostApiTypeId type;
  } cases[] = {{L"DirectSound", paDirectSound},
               {L"ASIO", paASIO},
               {L"MME", paMME},
               {L"WDM", paWDMKS},
               {L"WASAPI", paWASAPI},
               {L"ALSA", paALSA},
               {L"JACK", paJACK},
               {L"OSS", paOSS},
               {L"CoreAudio", paCoreAudio},
               {L"coreaudio", paCoreAudio},
               {L"", paCoreAudio},
               {L"alsa", paCoreAudio},
               {L"SDL", paCoreAudio}};
  PortAudioDevice device;
  EXPECT_EQ(paCoreAudio, device.getHostApiType());
  for (const auto &c : cases) {
    device.setAPI(c.name);
    EXPECT_EQ(c.type, device.getHostApiType()) << std::string(c.name, c.name + wcslen(c.name));
  }
}

// No sound card: every host interface fails to start, without a crash and
// without leaving PortAudio initialised. ALSA is given a card that is not
// there, whatever the machine's own configuration routes its default to (a
// sound server's plugin, for one, which leaks when it finds no server).
TEST(PortAudioDevice, FailureToStartReturnsFalseAndReleasesPortAudio) {
  TempDir dir;
  dir.writeFile("asound.conf", "pcm.!default { type hw card 0 }\nctl.!default { type hw card 0 }\n");
  ScopedEnv config("ALSA_CONFIG_PATH", (dir.path() + "/asound.conf").c_str());
  PatternCallback callback;
  for (const wchar_t *api : {L"ALSA", L"JACK", L"OSS", L"CoreAudio"}) {
    PortAudioDevice device;
    device.setAPI(api);
    device.setCallback(&callback);
    EXPECT_FALSE(device.start());
    EXPECT_EQ(paNotInitialized, Pa_GetHostApiCount());
    device.stop();
    EXPECT_EQ(0, callback.blocks.load());
  }
}

// ALSA's file plugin over its null device stands in for a sound card: it
// opens any channel count, takes the stream as fast as it comes and writes it
// to a file as raw floats.
TEST(PortAudioDevice, DevicesOfOtherChannelCountsGetStereoBlocksAndConvertThem) {
  for (int channels : {1, 2, 4}) {
    TempDir dir;
    const std::string stream = dir.path() + "/stream.raw";
    dir.writeFile("asound.conf", "pcm.!default {\n  type file\n  slave.pcm { type null }\n  file \"" + stream +
                                     "\"\n  format \"raw\"\n}\n");
    ScopedEnv config("ALSA_CONFIG_PATH", (dir.path() + "/asound.conf").c_str());
    StereoPattern callback;
    PortAudioDevice device;
    device.setAPI(L"ALSA");
    device.setCallback(&callback);
    device.setNumChannels(0, channels);
    ASSERT_TRUE(device.start()) << channels << " channels";
    ASSERT_TRUE(waitFor([&] { return callback.blocks >= 200; }));
    device.stop();
    EXPECT_FALSE(callback.wrongCall.load());

    const std::string bytes = dir.readFile("stream.raw");
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    // The stream starts with the device's own silence.
    size_t first = 0;
    while (first < samples.size() && samples[first] == 0.0f) ++first;
    first -= first % static_cast<size_t>(channels);
    const long frames = static_cast<long>(samples.size() - first) / channels;
    ASSERT_GT(frames, 1000) << channels << " channels";
    for (long frame = 0; frame < frames; ++frame)
      for (int channel = 0; channel < channels; ++channel)
        ASSERT_EQ(StereoPattern::expected(frame, channel, channels),
                  samples[first + static_cast<size_t>(frame * channels + channel)])
            << channels << " channels, frame " << frame << ", channel " << channel;
  }
}

// A sound server's ALSA plugin offers a few milliseconds as its low latency;
// so short a buffer runs dry whenever the processor is busy for a moment.
TEST(PortAudioDevice, AsksForAtLeastATenthOfASecondOfOutputBuffering) {
  TempDir dir;
  dir.writeFile("asound.conf", "pcm.!default {\n  type file\n  slave.pcm { type null }\n  file \"" + dir.path() +
                                   "/stream.raw\"\n  format \"raw\"\n}\n");
  ScopedEnv config("ALSA_CONFIG_PATH", (dir.path() + "/asound.conf").c_str());
  PatternCallback callback;
  PortAudioDevice device;
  device.setAPI(L"ALSA");
  device.setCallback(&callback);
  ASSERT_TRUE(device.start());
  // The host rounds to whole periods, possibly a little below what was asked.
  EXPECT_GE(device.getOutputLatencySeconds(), 0.9 * PortAudioDevice::MinimumOutputLatencySeconds);
  device.stop();
  EXPECT_EQ(0.0, device.getOutputLatencySeconds());
}

TEST(SilentClockAudioDevice, CallsBackWithSilentBlocksAtTheSampleRatesPace) {
  class Clocked final : public AudioDeviceCallback {
   public:
    void getAudio(float *input, float *output, int numSamples) override {
      bool silent = true;
      // Room for two channels even on a one-channel device.
      for (int i = 0; i < 2 * numSamples; ++i) silent = silent && input[i] == 0.0f && output[i] == 0.0f;
      if (numSamples != 4096 || !silent) wrongCall = true;
      for (int i = 0; i < 2 * numSamples; ++i) output[i] = 1.0f;
      if (blocks++ == 0) first = std::chrono::steady_clock::now();
      last = std::chrono::steady_clock::now();
    }
    std::atomic<int> blocks{0};
    std::atomic<bool> wrongCall{false};
    std::chrono::steady_clock::time_point first, last;
  } callback;
  Platform::install();
  SilentClockAudioDevice device;
  device.setCallback(&callback);
  device.setNumChannels(0, 1);
  device.setSamplerate(48000.0);
  ASSERT_TRUE(device.start());
  EXPECT_FALSE(device.start());
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  device.stop();
  const int blocks = callback.blocks;
  EXPECT_FALSE(callback.wrongCall.load());
  const double seconds = std::chrono::duration<double>(callback.last - callback.first).count();
  // Block n is due at n x 4096 / 48000 s after the first.
  EXPECT_NEAR(static_cast<double>(blocks - 1) * 4096.0 / 48000.0, seconds, 0.05);
  EXPECT_GE(blocks, 8);
  EXPECT_LE(blocks, 16);

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(blocks, callback.blocks.load());
  ASSERT_TRUE(device.start());
  ASSERT_TRUE(waitFor([&] { return callback.blocks > blocks; }));
}

TEST(SilentClockAudioDevice, RefusesARateThatIsNotPositive) {
  PatternCallback callback;
  SilentClockAudioDevice device;
  device.setCallback(&callback);
  device.setSamplerate(0.0);
  EXPECT_FALSE(device.start());
}
