#include "framework/app/KeyManager.h"

#include "framework/app/ConfigFile.h"

namespace {

FilePath keyConfigPath() { return ConfigFile::settingsFilePath(L"keyconfig.txt"); }

}  // namespace

KeyManager::KeyManager() { loadMappings(); }

KeyManager::~KeyManager() {
  // A file made during the run (by hand, or by a second copy of the game) wins.
  if (saveOnExit && !keyConfigPath().exists()) saveMappings();
}

void KeyManager::loadMappings() {
  const FilePath path = keyConfigPath();
  if (!path.exists()) {
    saveOnExit = true;
    return;
  }
  UTF8File file(path);
  std::wstring line;
  // The line delivered with the end of the file is not used.
  while (!file.readLine(line)) {
    const size_t space = line.find(L' ');
    const std::wstring action = space == std::wstring::npos ? line : line.substr(0, space);
    const std::wstring key = space == std::wstring::npos ? line : line.substr(space + 1);
    mappings.insert(std::make_pair(key, action));
  }
}

void KeyManager::saveMappings() {
  // Nowhere to keep it without a home folder; never over something that is
  // not a file (a folder of that name).
  const FilePath path = keyConfigPath();
  if (path.getPath().empty() || (path.exists() && !path.isFile())) return;
  ConfigFile::prepareSettingsFolder();
  UTF8File file(path);
  for (const auto &mapping : mappings) file.writeText(mapping.second + L" " + mapping.first + L"\n");
}

void KeyManager::addMapping(const std::wstring &action, const std::wstring &key, bool isDefault) {
  if (isDefault && !saveOnExit) {
    for (const auto &mapping : mappings) {
      if (mapping.second == action) return;
    }
  }
  mappings.insert(std::make_pair(key, action));
}

void KeyManager::getActions(const std::wstring &key, std::vector<std::wstring> &actions) const {
  actions.clear();
  const auto range = mappings.equal_range(key);
  for (auto it = range.first; it != range.second; ++it) actions.push_back(it->second);
}
