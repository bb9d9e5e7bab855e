#pragma once

#include <string>
#include <vector>

// A file-system path as a wide string, with the UTF-8 copy the operating
// system sees. Components are separated by "/".
class FilePath {
 public:
  FilePath() = default;
  explicit FilePath(const std::wstring &path);

  void setPath(const std::wstring &path);
  const std::wstring &getPath() const { return path; }
  const std::string &getUtf8Path() const { return utf8Path; }

  bool exists() const;
  bool isFile() const;
  bool isDirectory() const;
  // One level only, mode 0775; true on success.
  bool createAsDirectory() const;
  // False for an empty path or when the copy fails.
  bool copyTo(const std::wstring &destination) const;

  // Directory entries other than "." and "..", in ascending byte order of
  // their names. 0 / an empty path when not listable or out of range.
  int getNumChildren() const;
  FilePath getChild(int index) const;
  // Every child at once, in the same order.
  std::vector<FilePath> getChildren() const;
  // path + "/" + name, unchecked.
  FilePath getChild(const std::wstring &name) const;

  // The text before the last "/"; the whole path when there is none.
  FilePath getParent() const;
  // The text after the last "/"; the whole path when there is none.
  std::wstring getNameWithExtension() const;
  // getNameWithExtension() cut before its last full stop.
  std::wstring getName() const;
  // Empty for an empty path or a directory; the text after the last full stop
  // of the name; the whole path when the name has no full stop.
  std::wstring getExtension() const;

  // Where the shipped data files are: $MURMEL_WORLDS_DATA, then
  // "../share/murmel-worlds" beside the executable, then "data" beside it;
  // the first that is a folder. Empty when none is.
  static FilePath getDataFilesDir();
  // The folder of the running executable.
  static FilePath getCurrentExecutableDir();
  // $HOME, else the password database's home folder, else empty.
  static FilePath getHomeDir();
  // $XDG_CONFIG_HOME when absolute, else <home>/.config; empty without a home.
  static FilePath getAppDataPath();
  // The user's and the system's font folders, most personal first.
  static std::vector<FilePath> getFontsDirs();

 private:
  std::vector<std::string> listEntries() const;

  std::wstring path;
  std::string utf8Path;
};
