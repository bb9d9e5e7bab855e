#include "base/Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

// The integer-noise step written out independently, in 64-bit arithmetic
// reduced to 32 bits after every operation.
double referenceNoise(int64_t counter) {
  const uint64_t mask = 0xffffffffu;
  const uint64_t c = static_cast<uint64_t>(counter) & mask;
  const uint64_t n = (((c << 13) & mask) ^ c) & mask;
  uint64_t inner = (n * n) & mask;
  inner = (inner * 15731u) & mask;
  inner = (inner + 789221u) & mask;
  const uint64_t m = (((n * inner) & mask) + 1376312589u) & 0x7fffffffu;
  return 1.0 - static_cast<double>(m) / 1073741824.0;
}

}  // namespace

TEST(Random, StepsMatchTheNoiseFormula) {
  for (const int64_t seed : {int64_t(0), int64_t(1), int64_t(41), int64_t(1765135200), int64_t(-7)}) {
    Random random(static_cast<int32_t>(seed));
    for (int step = 1; step <= 5; ++step) {
      const float expected = static_cast<float>(referenceNoise(seed + step));
      EXPECT_EQ(expected, random.nextSigned()) << "seed " << seed << " step " << step;
    }
  }
  // Two known values, worked out by hand from the formula.
  EXPECT_FLOAT_EQ(static_cast<float>(1.0 - 1376312589.0 / 1073741824.0), Random::noise(0));
  EXPECT_EQ(static_cast<float>(referenceNoise(1)), Random::noise(1));
}

TEST(Random, CounterWrapsAroundWithoutTrap) {
  Random random(0x7fffffff);
  const float value = random.nextSigned();
  EXPECT_EQ(INT32_MIN, random.getCounter());
  EXPECT_EQ(static_cast<float>(referenceNoise(INT32_MIN)), value);
}

TEST(Random, ValuesStayInTheirRanges) {
  Random random(-1000000);
  float lowest = 2, highest = -2;
  for (int i = 0; i < 2000000; ++i) {
    const float value = random.nextSigned();
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
    ASSERT_GE(value, -1.0f);
    ASSERT_LE(value, 1.0f);
  }
  EXPECT_LT(lowest, -0.999f);
  EXPECT_GT(highest, 0.999f);
  for (int i = 0; i < 100000; ++i) {
    const float unit = random.nextUnit();
    ASSERT_GE(unit, 0.0f);
    ASSERT_LE(unit, 1.0f);
  }
}

TEST(Random, ExtremeNoiseValuesRoundIntoRange) {
  // m = 0x7fffffff gives 1 - 1.9999999990686774 in double, -1 in float.
  EXPECT_EQ(-1.0f, static_cast<float>(0x7fffffff * -9.313225746154785e-10 + 1.0));
  for (int32_t c = -3000000; c < 3000000; c += 3) {
    const float value = Random::noise(c);
    ASSERT_GE(value, -1.0f);
    ASSERT_LE(value, 1.0f);
  }
}

TEST(Random, GlobalIsOneSharedGeneratorSeededWithTheTime) {
  Random &first = Random::getGlobal();
  EXPECT_EQ(&first, &Random::getGlobal());
  const int32_t before = first.getCounter();
  const int64_t now = static_cast<int64_t>(time(nullptr));
  EXPECT_LE(std::llabs(now - before), 3600);  // seeded from the clock, stepped little since
  Random::getGlobal().nextUnit();
  EXPECT_EQ(before + 1, first.getCounter());
}

TEST(Random, ABlockOfDrawsIsTheSameAsSingleDrawsAcrossTheWrap) {
  for (int count : {1, 4, 11, 256}) {
    Random block(0x7fffffff - 5), single(0x7fffffff - 5);
    std::vector<float> values(static_cast<size_t>(count));
    block.nextSigned(values.data(), count);
    for (int i = 0; i < count; ++i) ASSERT_EQ(single.nextSigned(), values[static_cast<size_t>(i)]) << count;
    EXPECT_EQ(single.getCounter(), block.getCounter());
  }
}

// Single draws and blocks of draws from several threads: no step is lost.
TEST(Random, ConcurrentStepsAreNeverLost) {
  Random random(0);
  const int perThread = 200000, blockSize = 250;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&random, t] {
      std::vector<float> block(blockSize);
      for (int i = 0; i < perThread; i += t % 2 ? blockSize : 1) {
        if (t % 2)
          random.nextSigned(block.data(), blockSize);
        else
          random.nextSigned();
      }
    });
  for (auto &thread : threads) thread.join();
  EXPECT_EQ(4 * perThread, random.getCounter());
}
