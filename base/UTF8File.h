#pragma once

#include "base/FilePath.h"

#include <fstream>
#include <string>

// A UTF-8 text file with a byte-order mark, read a line at a time or written
// as text. Opened lazily on the first read or write; a file that cannot be
// opened sets the failed flag, after which every read and write does nothing.
// Also the program's one converter between wide strings and UTF-8.
class UTF8File {
 public:
  // The longest line readLine delivers, in bytes.
  static constexpr size_t maxLineBytes = 16383;

  UTF8File() = default;
  explicit UTF8File(const FilePath &path);
  ~UTF8File();

  UTF8File(const UTF8File &) = delete;
  UTF8File &operator=(const UTF8File &) = delete;

  void setFilePath(const FilePath &path);

  // Reads up to the next line feed (consumed, not stored) into line.
  // True when no further line can follow: this read reached the end of the
  // file, the file could not be opened, or the line was longer than
  // maxLineBytes (its first maxLineBytes bytes are delivered).
  bool readLine(std::wstring &line);
  // Replaces text with every line, each followed by a line feed if asked.
  void readFile(std::wstring &text, bool addLineBreaks);
  // Writes text as UTF-8, without a line break; the first write truncates
  // the file and writes the byte-order mark.
  void writeText(const std::wstring &text);

  bool hasFailed() const { return failed; }

  // Strict UTF-8 codecs, independent of the process locale. On invalid input
  // (overlong forms, surrogates, values above U+10FFFF, truncated sequences,
  // stray continuation bytes) out is left unchanged and false is returned.
  static bool wstringToChar(const std::wstring &in, std::string &out);
  // The same as a value, for messages: empty when the text does not convert.
  static std::string toUtf8(const std::wstring &in);
  static bool charToWstring(const std::string &in, std::wstring &out);

 private:
  void initStream(bool forReading);
  void checkParentDir();

  FilePath path;
  std::fstream stream;
  bool failed = false;
};

UTF8File &operator<<(UTF8File &file, const std::wstring &text);
