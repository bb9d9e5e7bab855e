#include "framework/drawing/GLVersion.h"

#include <GL/gl.h>

#include <cstring>
#include <cwctype>
#include <locale>
#include <sstream>

namespace {

bool isNamePart(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) || c == L'_'; }

// Every whole-word `from` in text becomes `to`.
void replaceWord(std::wstring &text, const std::wstring &from, const std::wstring &to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at)) {
    const size_t end = at + from.size();
    if ((at > 0 && isNamePart(text[at - 1])) || (end < text.size() && isNamePart(text[end]))) {
      at = end;
      continue;
    }
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

}  // namespace

GLVersion GLVersion::parse(const char *versionString) {
  GLVersion version;
  if (!versionString) return version;
  const char *esPrefix = "OpenGL ES";
  const char *text = versionString;
  if (std::strncmp(text, esPrefix, std::strlen(esPrefix)) == 0) {
    version.es = true;
    // Past the prefix and a profile such as "-CM" to the number.
    text += std::strlen(esPrefix);
    while (*text && *text != ' ') ++text;
  }
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  double number = 0.0;
  stream >> number;
  if (!stream.fail()) version.number = number;
  return version;
}

GLVersion GLVersion::ofCurrentContext() { return parse(reinterpret_cast<const char *>(glGetString(GL_VERSION))); }

std::wstring GLVersion::shaderSource(const std::wstring &source, bool fragment) const {
  if (!es) return source;
  std::wstring text = source;
  for (const wchar_t *size : {L"2", L"3", L"4"})
    replaceWord(text, std::wstring(L"mat") + size + L"x" + size, std::wstring(L"mat") + size);
  const std::wstring header = fragment ? L"#version 100\nprecision mediump float;" : L"#version 100";
  // The version line comes first, after nothing but white space; without
  // one, the source starts with the header.
  const size_t directive = text.find(L"#version");
  const bool leading = directive != std::wstring::npos && text.find_first_not_of(L" \t\r\n") == directive;
  if (!leading) return header + L"\n" + text;
  const size_t lineEnd = text.find(L'\n', directive);
  text.replace(directive, (lineEnd == std::wstring::npos ? text.size() : lineEnd) - directive, header);
  return text;
}
