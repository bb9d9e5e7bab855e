// The UTF-8 codec both ways: what one direction accepts the other gives back
// exactly; what it rejects leaves the output as it was. Then the same bytes
// as a text file, read line by line.
#include "FuzzScratch.h"

#include "base/UTF8File.h"

#include <cstring>
#include <string>

namespace {

void bytesRoundTrip(const std::string &bytes) {
  std::wstring wide = L"untouched";
  if (!UTF8File::charToWstring(bytes, wide)) {
    if (wide != L"untouched") fuzzFailure("rejected UTF-8 changed the output");
    return;
  }
  std::string back = "untouched";
  if (!UTF8File::wstringToChar(wide, back)) fuzzFailure("decoded text does not encode");
  if (back != bytes) fuzzFailure("UTF-8 does not round-trip");
}

void wideRoundTrip(const std::wstring &wide) {
  bool valid = true;
  for (const wchar_t c : wide) {
    const uint32_t u = static_cast<uint32_t>(c);
    if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) valid = false;
  }
  std::string bytes = "untouched";
  if (UTF8File::wstringToChar(wide, bytes) != valid) fuzzFailure("code point validity misjudged");
  if (!valid) {
    if (bytes != "untouched") fuzzFailure("rejected text changed the output");
    return;
  }
  std::wstring back = L"untouched";
  if (!UTF8File::charToWstring(bytes, back) || back != wide) fuzzFailure("text does not round-trip");
}

void readAsFile(const uint8_t *data, size_t size) {
  const std::string path = FuzzScratch::get().folder() + "/text.txt";
  FuzzScratch::writeFile(path, data, size);
  std::wstring name;
  UTF8File::charToWstring(path, name);
  UTF8File file{FilePath(name)};
  std::wstring line;
  // Each line takes at least its line feed: more reads than bytes means a loop.
  size_t reads = 0;
  while (!file.readLine(line)) {
    if (++reads > size + 1) fuzzFailure("readLine does not reach the end");
    if (line.size() > UTF8File::maxLineBytes) fuzzFailure("line longer than the limit");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  bytesRoundTrip(std::string(reinterpret_cast<const char *>(data), size));
  std::wstring wide(size / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(&wide[0], data, wide.size() * sizeof(wchar_t));
  wideRoundTrip(wide);
  readAsFile(data, size);
  return 0;
}
