#include "base/UTF8File.h"

#include <cstdint>

namespace {

const char byteOrderMark[3] = {'\xEF', '\xBB', '\xBF'};

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

UTF8File::UTF8File(const FilePath &path) : path(path) {}

UTF8File::~UTF8File() {
  if (stream.is_open()) stream.close();
}

void UTF8File::setFilePath(const FilePath &newPath) { path = newPath; }

void UTF8File::checkParentDir() {
  const FilePath parent = path.getParent();
  if (!parent.exists()) parent.createAsDirectory();
}

void UTF8File::initStream(bool forReading) {
  if (failed) return;
  checkParentDir();
  if (forReading) {
    stream.open(path.getUtf8Path(), std::ios::in | std::ios::binary);
    char head[3];
    stream.read(head, 3);
    // Fewer than three bytes leaves the stream failed: such a file reads as empty.
    if (stream && !(head[0] == byteOrderMark[0] && head[1] == byteOrderMark[1] && head[2] == byteOrderMark[2]))
      stream.seekg(0);
  } else {
    stream.open(path.getUtf8Path(), std::ios::out | std::ios::trunc | std::ios::binary);
    stream.write(byteOrderMark, 3);
  }
  if (!stream) failed = true;
}

bool UTF8File::readLine(std::wstring &line) {
  line.clear();
  if (!stream.is_open()) initStream(true);
  if (failed || !stream.good()) return true;

  std::string bytes;
  std::streambuf *buffer = stream.rdbuf();
  for (;;) {
    const int c = buffer->sgetc();
    if (c == std::char_traits<char>::eof()) {
      stream.setstate(std::ios::eofbit);
      charToWstring(bytes, line);
      return true;
    }
    if (c == '\n') {
      buffer->sbumpc();
      break;
    }
    if (bytes.size() == maxLineBytes) {
      // Too long: deliver what fits; the stream delivers nothing more.
      stream.setstate(std::ios::failbit);
      charToWstring(bytes, line);
      return true;
    }
    bytes.push_back(static_cast<char>(c));
    buffer->sbumpc();
  }
  charToWstring(bytes, line);
  return false;
}

void UTF8File::readFile(std::wstring &text, bool addLineBreaks) {
  text.clear();
  std::wstring line;
  bool last;
  do {
    last = readLine(line);
    if (failed) {
      text.clear();
      return;
    }
    text += line;
    if (addLineBreaks) text += L'\n';
  } while (!last);
}

void UTF8File::writeText(const std::wstring &text) {
  if (!stream.is_open()) initStream(false);
  if (failed) return;
  std::string bytes;
  if (!wstringToChar(text, bytes)) return;
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.flush();
}

UTF8File &operator<<(UTF8File &file, const std::wstring &text) {
  file.writeText(text);
  return file;
}

bool UTF8File::wstringToChar(const std::wstring &in, std::string &out) {
  std::string result;
  result.reserve(in.size());
  for (const wchar_t wide : in) {
    const uint32_t c = static_cast<uint32_t>(wide);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c < 0x80) {
      result.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      result.push_back(static_cast<char>(0xC0 | (c >> 6)));
      result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      result.push_back(static_cast<char>(0xE0 | (c >> 12)));
      result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      result.push_back(static_cast<char>(0xF0 | (c >> 18)));
      result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  out.swap(result);
  return true;
}

bool UTF8File::charToWstring(const std::string &in, std::wstring &out) {
  std::wstring result;
  result.reserve(in.size());
  const size_t size = in.size();
  for (size_t i = 0; i < size;) {
    const unsigned char lead = static_cast<unsigned char>(in[i]);
    uint32_t c;
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
      c = lead;
      length = 1;
      minimum = 0;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1F;
      length = 2;
      minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0F;
      length = 3;
      minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      c = lead & 0x07;
      length = 4;
      minimum = 0x10000;
    } else {
      return false;  // a stray continuation byte or an impossible lead byte
    }
    if (size - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(in[i + k]);
      if (!isContinuation(next)) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    result.push_back(static_cast<wchar_t>(c));
    i += length;
  }
  out.swap(result);
  return true;
}

std::string UTF8File::toUtf8(const std::wstring &in) {
  std::string out;
  wstringToChar(in, out);
  return out;
}
