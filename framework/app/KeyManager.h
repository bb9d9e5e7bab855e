#pragma once

#include <map>
#include <string>
#include <vector>

// Maps key names ("CursorUp", "Shift-a", "Joy0Button3") to action names.
// Loads "keyconfig.txt" when built; writes it when destroyed, and only on a
// run that found none and when it is still missing then, so hand edits (and
// a file made meanwhile) are never overwritten.
class KeyManager {
 public:
  KeyManager();
  virtual ~KeyManager();

  KeyManager(const KeyManager &) = delete;
  KeyManager &operator=(const KeyManager &) = delete;

  void loadMappings();
  void saveMappings();
  // A default is skipped when a loaded file already maps the action at all.
  void addMapping(const std::wstring &action, const std::wstring &key, bool isDefault);
  // Every action mapped to key, in the order added.
  void getActions(const std::wstring &key, std::vector<std::wstring> &actions) const;

 private:
  std::multimap<std::wstring, std::wstring> mappings;
  bool saveOnExit = false;
};
