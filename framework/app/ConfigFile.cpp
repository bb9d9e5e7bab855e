#include "framework/app/ConfigFile.h"

#include "framework/app/AppSettings.h"
#include "framework/app/CmdLineParams.h"

FilePath ConfigFile::settingsFolder() {
  // Without a home folder there is no such folder, not one at the root.
  const FilePath appData = FilePath::getAppDataPath();
  return appData.getPath().empty() ? FilePath() : appData.getChild(AppSettings::applicationName);
}

FilePath ConfigFile::settingsFilePath(const std::wstring &name) {
  const FilePath folder = settingsFolder();
  return folder.getPath().empty() ? FilePath() : folder.getChild(name);
}

void ConfigFile::prepareSettingsFolder() {
  const FilePath appData = FilePath::getAppDataPath();
  if (!appData.getPath().empty() && !appData.exists()) appData.createAsDirectory();
}

ConfigFile::ConfigFile(const CmdLineParams &params) : path(settingsFilePath(L"config.txt")), file(path) {
  for (const CmdLineParams::ParameterCallback &parameter : params.getParameters())
    values.insert(std::make_pair(parameter.shortForm, std::wstring()));
  // A folder where the file should be is no settings file.
  if (path.isFile()) {
    fileExisted = true;
    read();
  }
}

void ConfigFile::read() {
  std::wstring line;
  // The line delivered with the end of the file is not used, as for key bindings.
  while (!file.readLine(line)) {
    const size_t space = line.find(L' ');
    const std::wstring key = space == std::wstring::npos ? line : line.substr(0, space);
    const std::wstring value = space == std::wstring::npos ? line : line.substr(space + 1);
    if (!key.empty() && !value.empty()) values[key] = value;
  }
}

ConfigFile::~ConfigFile() {
  if (path.getPath().empty() || file.hasFailed() || path.exists()) return;
  prepareSettingsFolder();
  for (const auto &entry : values) {
    if (!entry.second.empty()) file.writeText(entry.first + L" " + entry.second + L"\n");
  }
}

void ConfigFile::setParameterValue(const std::wstring &key, const std::wstring &value) { values[key] = value; }

const std::wstring &ConfigFile::getParameterValue(const std::wstring &key) { return values[key]; }
