#include "base/UTF8File.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string bom = "\xEF\xBB\xBF";

std::vector<std::wstring> readLines(const FilePath &path, std::vector<bool> *lastFlags = nullptr) {
  UTF8File file(path);
  std::vector<std::wstring> lines;
  std::wstring line;
  for (int guard = 0; guard < 1000; ++guard) {
    const bool last = file.readLine(line);
    lines.push_back(line);
    if (lastFlags) lastFlags->push_back(last);
    if (last) break;
  }
  return lines;
}

}  // namespace

TEST(UTF8File, WritesByteOrderMarkThenUtf8) {
  TempDir dir;
  {
    UTF8File file(FilePath(dir.widePath() + L"/out.txt"));
    file << L"gr\u00fc\u00df " << L"\u2603\n";
    file.writeText(L"\U0001F600");
    EXPECT_FALSE(file.hasFailed());
  }
  EXPECT_EQ(bom + "gr\xC3\xBC\xC3\x9F \xE2\x98\x83\n\xF0\x9F\x98\x80", dir.readFile("out.txt"));

  // A second file on the same path truncates.
  { UTF8File(FilePath(dir.widePath() + L"/out.txt")).writeText(L"x"); }
  EXPECT_EQ(bom + "x", dir.readFile("out.txt"));
}

TEST(UTF8File, ReadsLinesWithAndWithoutByteOrderMark) {
  TempDir dir;
  dir.writeFile("with.txt", bom + "a\n\xC3\xA9t\xC3\xA9\n");
  dir.writeFile("without.txt", "abc\nd");
  std::vector<bool> last;
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"\u00e9t\u00e9", L""}),
            readLines(FilePath(dir.widePath() + L"/with.txt"), &last));
  EXPECT_EQ((std::vector<bool>{false, false, true}), last);

  // A last line without a line feed comes with true.
  last.clear();
  EXPECT_EQ((std::vector<std::wstring>{L"abc", L"d"}), readLines(FilePath(dir.widePath() + L"/without.txt"), &last));
  EXPECT_EQ((std::vector<bool>{false, true}), last);
}

TEST(UTF8File, ReadFileCollectsTheFinalEmptyRead) {
  TempDir dir;
  dir.writeFile("ab.txt", bom + "a\nb\n");
  UTF8File file(FilePath(dir.widePath() + L"/ab.txt"));
  std::wstring text = L"old";
  file.readFile(text, true);
  EXPECT_EQ(L"a\nb\n\n", text);

  UTF8File again(FilePath(dir.widePath() + L"/ab.txt"));
  again.readFile(text, false);
  EXPECT_EQ(L"ab", text);
}

TEST(UTF8File, ShortFilesReadAsEmpty) {
  TempDir dir;
  dir.writeFile("two.txt", "a\n");
  dir.writeFile("empty.txt", "");
  dir.writeFile("bom.txt", bom);
  for (const wchar_t *name : {L"/two.txt", L"/empty.txt"}) {
    UTF8File file(FilePath(dir.widePath() + name));
    std::wstring line = L"stale";
    EXPECT_TRUE(file.readLine(line));
    EXPECT_EQ(L"", line);
    EXPECT_TRUE(file.hasFailed());
  }
  UTF8File onlyMark(FilePath(dir.widePath() + L"/bom.txt"));
  std::wstring text = L"stale";
  onlyMark.readFile(text, true);
  EXPECT_EQ(L"\n", text);
}

TEST(UTF8File, LongLinesAreCutAndEndTheFile) {
  TempDir dir;
  const std::string exact(UTF8File::maxLineBytes, 'e');
  const std::string longLine(20000, 'x');
  dir.writeFile("exact.txt", bom + exact + "\nnext\n");
  dir.writeFile("long.txt", bom + longLine + "\nnext\n");

  std::vector<bool> last;
  const auto exactLines = readLines(FilePath(dir.widePath() + L"/exact.txt"), &last);
  ASSERT_EQ(3u, exactLines.size());
  EXPECT_EQ(UTF8File::maxLineBytes, exactLines[0].size());
  EXPECT_EQ(L"next", exactLines[1]);

  UTF8File file(FilePath(dir.widePath() + L"/long.txt"));
  std::wstring line;
  EXPECT_TRUE(file.readLine(line));
  EXPECT_EQ(std::wstring(UTF8File::maxLineBytes, L'x'), line);
  EXPECT_TRUE(file.readLine(line));
  EXPECT_EQ(L"", line);
}

TEST(UTF8File, InvalidLineReadsAsEmpty) {
  TempDir dir;
  dir.writeFile("bad.txt", bom + "ok\n\xC0\xAF\nfine\n");
  EXPECT_EQ((std::vector<std::wstring>{L"ok", L"", L"fine", L""}), readLines(FilePath(dir.widePath() + L"/bad.txt")));
}

TEST(UTF8File, UnopenableFileFailsQuietly) {
  TempDir dir;
  dir.writeFile("plain", "x");
  // A path under a regular file cannot be opened, even by root.
  const FilePath impossible(dir.widePath() + L"/plain/inner.txt");
  UTF8File reader(impossible);
  std::wstring text = L"stale";
  reader.readFile(text, true);
  EXPECT_EQ(L"", text);
  EXPECT_TRUE(reader.hasFailed());

  UTF8File writer(impossible);
  writer.writeText(L"lost");
  EXPECT_TRUE(writer.hasFailed());
  EXPECT_EQ("x", dir.readFile("plain"));
}

TEST(UTF8File, CreatesOneMissingParentLevelOnly) {
  TempDir dir;
  { UTF8File(FilePath(dir.widePath() + L"/Murmel Worlds/config.txt")).writeText(L"-w 1"); }
  EXPECT_EQ(bom + "-w 1", dir.readFile("Murmel Worlds/config.txt"));

  UTF8File deep(FilePath(dir.widePath() + L"/one/two/file.txt"));
  deep.writeText(L"x");
  EXPECT_TRUE(deep.hasFailed());
  EXPECT_FALSE(FilePath(dir.widePath() + L"/one").exists());

  // Reading creates the missing parent too.
  UTF8File reader(FilePath(dir.widePath() + L"/reading/none.txt"));
  std::wstring line;
  EXPECT_TRUE(reader.readLine(line));
  EXPECT_TRUE(FilePath(dir.widePath() + L"/reading").isDirectory());
}

TEST(UTF8Codec, EncodesEveryLengthAtItsBoundaries) {
  const std::wstring wide = {L'\0', 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
  std::string utf8;
  ASSERT_TRUE(UTF8File::wstringToChar(wide, utf8));
  const std::string expected = std::string("\x00\x7F", 2) + "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80" +
                               "\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  EXPECT_EQ(expected, utf8);
  std::wstring back;
  ASSERT_TRUE(UTF8File::charToWstring(utf8, back));
  EXPECT_EQ(wide, back);
}

TEST(UTF8Codec, RejectsInvalidWideCharactersLeavingOutputUnchanged) {
  for (const wchar_t bad : {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0xDFFF), static_cast<wchar_t>(0x110000),
                            static_cast<wchar_t>(-1)}) {
    std::string out = "kept";
    EXPECT_FALSE(UTF8File::wstringToChar(std::wstring(L"ok") + bad, out));
    EXPECT_EQ("kept", out);
  }
}

TEST(UTF8Codec, RejectsInvalidUtf8LeavingOutputUnchanged) {
  const std::vector<std::string> invalid = {
      "\xC0\x80",              // overlong NUL
      "\xC1\xBF",              // overlong two-byte
      "\xE0\x80\xAF",          // overlong three-byte
      "\xF0\x8F\xBF\xBF",      // overlong four-byte
      "\xED\xA0\x80",          // high surrogate
      "\xED\xBF\xBF",          // low surrogate
      "\xF4\x90\x80\x80",      // above U+10FFFF
      "\xF8\x88\x80\x80\x80",  // five-byte form
      "\xFF",
      "\xE2\x98",       // truncated
      "a\xF0\x9F\x98",  // truncated at the end
      "\x80",           // stray continuation
      "ab\xBF",
      "\xC3\x28",  // lead without continuation
  };
  for (const std::string &bytes : invalid) {
    std::wstring out = L"kept";
    EXPECT_FALSE(UTF8File::charToWstring(bytes, out)) << testing::PrintToString(bytes);
    EXPECT_EQ(L"kept", out);
  }
  std::wstring out = L"kept";
  EXPECT_TRUE(UTF8File::charToWstring("", out));
  EXPECT_EQ(L"", out);
}
