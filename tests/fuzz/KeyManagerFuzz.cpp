// "keyconfig.txt" of arbitrary bytes, loaded with the game's default keys
// added. An existing file is never written: it must come out as it went in.
#include "FuzzScratch.h"

#include "framework/app/KeyManager.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string path = FuzzScratch::get().settingsFolder() + "/keyconfig.txt";
  FuzzScratch::writeFile(path, data, size);
  {
    KeyManager keys;
    keys.addMapping(L"P1Up", L"CursorUp", true);
    keys.addMapping(L"Escape", L"Escape", true);
    keys.addMapping(L"Action", L"Space", true);
    std::vector<std::wstring> actions;
    for (const wchar_t *key : {L"CursorUp", L"Escape", L"Space", L"z", L"", L"Shift-a", L"Joy0Button3"})
      keys.getActions(key, actions);
  }
  if (FuzzScratch::readFile(path) != std::vector<uint8_t>(data, data + size)) fuzzFailure("keyconfig.txt changed");
  return 0;
}
