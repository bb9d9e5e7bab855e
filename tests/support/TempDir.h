#pragma once

#include <string>

// A fresh folder under $TMPDIR (or /tmp), removed with its contents on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::string &path() const { return root; }
  std::wstring widePath() const;
  // Writes bytes to root/relative, creating nothing else.
  void writeFile(const std::string &relative, const std::string &bytes) const;
  std::string readFile(const std::string &relative) const;

 private:
  std::string root;
};
