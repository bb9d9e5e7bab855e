// A program of its own: it replaces the global allocation functions to count
// every heap allocation while the sounder mixes and streams. Outside the
// sanitizer builds (whose run-times own malloc) it also counts C allocations,
// those of libvorbis and libogg included.

#include "base/FilePath.h"
#include "game/MurmelSounder.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void *allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void *memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

void *allocateAligned(std::size_t size, std::align_val_t alignment) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  const std::size_t align = static_cast<std::size_t>(alignment);
  if (void *memory = std::aligned_alloc(align, (size + align - 1) / align * align)) return memory;
  throw std::bad_alloc();
}

}  // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *memory, size_t size);

void *malloc(size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void *calloc(size_t count, size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
void *realloc(void *memory, size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(memory, size);
}
}
#endif

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void *operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void *operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }

namespace {

class Listener final : public StreamingSound::Callback, public MurmelSounder::Callback {
 public:
  void soundFinished(const std::wstring &, AudioFrame) override { ++finished; }
  void barStart(AudioFrame) override { ++bars; }
  int finished = 0;
  int bars = 0;
};

}  // namespace

// No thread back-end here: the test itself plays the streaming thread, so
// that every refill happens, in step, inside the counted window.
TEST(SoundAllocations, MixingAndStreamingAllocateNothing) {
  TempDir dir;
  for (const char *name : {"Music", "Speech"})
    ASSERT_TRUE(OggTestFile::write(dir.path() + "/" + name + ".ogg", OggTestFile::sine(100000, 2, 44100, 330.0f, 0.3f),
                                   2, 44100));
  ASSERT_TRUE(OggTestFile::write(dir.path() + "/Bell.ogg", OggTestFile::sine(5000, 1, 44100, 660.0f, 0.3f), 1, 44100));
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  for (const wchar_t *name : {L"Music", L"Speech", L"Bell"})
    sounder->loadSoundFileResource(
        boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(FilePath(dir.widePath() + L"/" + name + L".ogg"))));

  Listener listener;
  sounder->setCallback(&listener);
  sounder->playMusic(L"Music");
  sounder->activateSound(L"Bell");
  std::vector<float> block(2 * 4096);
  long mixing = 0, streaming = 0;
  for (int i = 0; i < 1000; ++i) {
    // A spoken passage now and then: it streams, ends, and reports its end.
    if (i % 100 == 0) sounder->triggerSound(L"Speech", 0.5f, &listener);
    std::fill(block.begin(), block.end(), 0.0f);
    allocations = 0;
    counting = true;
    sounder->getAudio(block.data(), block.data(), 4096);
    counting = false;
    mixing += allocations;
    allocations = 0;
    counting = true;
    sounder->updateStreams();
    counting = false;
    streaming += allocations;
  }
  EXPECT_EQ(0, mixing);
  EXPECT_EQ(0, streaming);
  // The window really mixed streams, looped the music and ended speeches.
  EXPECT_EQ(92, listener.bars);
  EXPECT_EQ(10, listener.finished);
  sounder->setCallback(nullptr);
  sounder->unregisterCallback(&listener);
}
