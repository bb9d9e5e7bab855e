#include "framework/drawing/FontAtlas.h"

#include <vector>

namespace {

// Font folders nest by foundry and family; a few levels cover them, and a
// limit keeps a symbolic link back up the tree from looping.
const int maxFolderDepth = 6;

FilePath findIn(const FilePath &folder, const std::wstring &fileName, int depth) {
  const FilePath direct = folder.getChild(fileName);
  if (direct.isFile()) return direct;
  if (depth >= maxFolderDepth) return FilePath();
  for (const FilePath &child : folder.getChildren()) {
    if (!child.isDirectory()) continue;
    const FilePath found = findIn(child, fileName, depth + 1);
    if (!found.getPath().empty()) return found;
  }
  return FilePath();
}

}  // namespace

FilePath FontAtlas::findFontFile(const std::wstring &fontName) {
  // A name that is a path would reach outside the font folders.
  if (fontName.empty() || fontName.find(L'/') != std::wstring::npos) return FilePath();
  const std::wstring fileName = fontName + L".ttf";
  std::vector<FilePath> folders = FilePath::getFontsDirs();
  const FilePath data = FilePath::getDataFilesDir();
  if (!data.getPath().empty()) folders.push_back(data.getChild(L"fonts"));
  for (const FilePath &folder : folders) {
    if (!folder.isDirectory()) continue;
    const FilePath found = findIn(folder, fileName, 0);
    if (!found.getPath().empty()) return found;
  }
  return FilePath();
}
