#include "base/UTF8File.h"
#include "base/Random.h"

#include <benchmark/benchmark.h>

static void BM_RandomStep(benchmark::State &state) {
  Random random(12345);
  for (auto _ : state) benchmark::DoNotOptimize(random.nextSigned());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomStep);

static void BM_SharedRandomStep(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(Random::getGlobal().nextUnit());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SharedRandomStep);

static std::wstring mixedText(size_t utf8Bytes) {
  // ASCII, two-, three- and four-byte characters in turn.
  const std::wstring pattern = L"Murmel \u00e9t\u00e9 \u2603 \U0001F3B5 ";
  std::wstring text;
  std::string encoded;
  while (encoded.size() < utf8Bytes) {
    text += pattern;
    UTF8File::wstringToChar(text, encoded);
  }
  return text;
}

static void BM_Utf8Encode4KiB(benchmark::State &state) {
  const std::wstring text = mixedText(4096);
  std::string out;
  for (auto _ : state) {
    UTF8File::wstringToChar(text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size()));
}
BENCHMARK(BM_Utf8Encode4KiB);

static void BM_Utf8Decode4KiB(benchmark::State &state) {
  std::string bytes;
  UTF8File::wstringToChar(mixedText(4096), bytes);
  std::wstring out;
  for (auto _ : state) {
    UTF8File::charToWstring(bytes, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_Utf8Decode4KiB);
