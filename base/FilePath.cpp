#include "base/FilePath.h"

#include "base/UTF8File.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

FilePath fromUtf8(const std::string &utf8) {
  std::wstring wide;
  UTF8File::charToWstring(utf8, wide);
  return FilePath(wide);
}

// An environment variable, or empty when unset.
std::string environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool canOpenAsDirectory(const std::string &utf8) {
  DIR *dir = opendir(utf8.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}

}  // namespace

FilePath::FilePath(const std::wstring &path) { setPath(path); }

void FilePath::setPath(const std::wstring &newPath) {
  path = newPath;
  utf8Path.clear();
  UTF8File::wstringToChar(path, utf8Path);
}

bool FilePath::exists() const {
  if (path.empty()) return false;
  struct stat info;
  return stat(utf8Path.c_str(), &info) == 0;
}

bool FilePath::isFile() const { return exists() && !canOpenAsDirectory(utf8Path); }

bool FilePath::isDirectory() const { return exists() && canOpenAsDirectory(utf8Path); }

bool FilePath::createAsDirectory() const { return !path.empty() && mkdir(utf8Path.c_str(), 0775) == 0; }

bool FilePath::copyTo(const std::wstring &destination) const {
  if (path.empty() || destination.empty()) return false;
  std::string target;
  if (!UTF8File::wstringToChar(destination, target)) return false;
  std::FILE *in = std::fopen(utf8Path.c_str(), "rb");
  if (!in) return false;
  std::FILE *out = std::fopen(target.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return false;
  }
  char buffer[65536];
  bool ok = true;
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    if (std::fwrite(buffer, 1, got, out) != got) {
      ok = false;
      break;
    }
  }
  ok = ok && !std::ferror(in);
  std::fclose(in);
  // A failed flush (a full disk) is a failed copy too.
  ok = (std::fclose(out) == 0) && ok;
  return ok;
}

std::vector<std::string> FilePath::listEntries() const {
  std::vector<std::string> entries;
  if (path.empty()) return entries;
  DIR *dir = opendir(utf8Path.c_str());
  if (!dir) return entries;
  while (const dirent *entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") entries.push_back(name);
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end());
  return entries;
}

int FilePath::getNumChildren() const { return static_cast<int>(listEntries().size()); }

FilePath FilePath::getChild(int index) const {
  const std::vector<std::string> entries = listEntries();
  if (index < 0 || index >= static_cast<int>(entries.size())) return FilePath();
  return fromUtf8(utf8Path + "/" + entries[static_cast<size_t>(index)]);
}

std::vector<FilePath> FilePath::getChildren() const {
  std::vector<FilePath> children;
  for (const std::string &entry : listEntries()) children.push_back(fromUtf8(utf8Path + "/" + entry));
  return children;
}

FilePath FilePath::getChild(const std::wstring &name) const { return FilePath(path + L"/" + name); }

FilePath FilePath::getParent() const {
  const size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? *this : FilePath(path.substr(0, slash));
}

std::wstring FilePath::getNameWithExtension() const {
  const size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FilePath::getName() const {
  const std::wstring name = getNameWithExtension();
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring FilePath::getExtension() const {
  if (path.empty() || isDirectory()) return std::wstring();
  // Only the name's own full stop counts: "/a.d/file" has no extension.
  const std::wstring name = getNameWithExtension();
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? path : name.substr(dot + 1);
}

FilePath FilePath::getDataFilesDir() {
  std::vector<FilePath> candidates;
  const std::string fromEnvironment = environment("MURMEL_WORLDS_DATA");
  if (!fromEnvironment.empty()) candidates.push_back(fromUtf8(fromEnvironment));
  const FilePath executableDir = getCurrentExecutableDir();
  if (!executableDir.getPath().empty()) {
    // Installed first: a program in <prefix>/bin reads <prefix>/share; "data"
    // beside it is the build folder's link to the source tree.
    candidates.push_back(executableDir.getParent().getChild(L"share").getChild(L"murmel-worlds"));
    candidates.push_back(executableDir.getChild(L"data"));
  }
  for (const FilePath &candidate : candidates) {
    if (candidate.isDirectory()) return candidate;
  }
  return FilePath();
}

FilePath FilePath::getCurrentExecutableDir() {
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return FilePath();
  return fromUtf8(std::string(buffer, static_cast<size_t>(length))).getParent();
}

FilePath FilePath::getHomeDir() {
  const std::string home = environment("HOME");
  if (!home.empty()) return fromUtf8(home);
  passwd record;
  passwd *found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &record, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
    return fromUtf8(found->pw_dir);
  return FilePath();
}

FilePath FilePath::getAppDataPath() {
  const std::string configHome = environment("XDG_CONFIG_HOME");
  if (!configHome.empty() && configHome[0] == '/') return fromUtf8(configHome);
  const FilePath home = getHomeDir();
  if (home.getPath().empty()) return FilePath();
  return home.getChild(L".config");
}

std::vector<FilePath> FilePath::getFontsDirs() {
  std::vector<FilePath> dirs;
  const FilePath home = getHomeDir();
  const std::string dataHome = environment("XDG_DATA_HOME");
  if (!dataHome.empty() && dataHome[0] == '/')
    dirs.push_back(fromUtf8(dataHome).getChild(L"fonts"));
  else if (!home.getPath().empty())
    dirs.push_back(home.getChild(L".local").getChild(L"share").getChild(L"fonts"));
  if (!home.getPath().empty()) dirs.push_back(home.getChild(L".fonts"));
  dirs.push_back(FilePath(L"/usr/local/share/fonts"));
  dirs.push_back(FilePath(L"/usr/share/fonts"));
  return dirs;
}
