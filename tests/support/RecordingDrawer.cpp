#include "support/RecordingDrawer.h"

#include "framework/drawing/AtlasImage.h"

std::vector<RecordingDrawer::Call> RecordingDrawer::callsOf(const std::string &operation) const {
  std::vector<Call> found;
  for (const Call &call : calls) {
    if (call.operation == operation) found.push_back(call);
  }
  return found;
}

void RecordingDrawer::loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) {
  Call call;
  call.operation = pixels ? "loadSingleImage" : "loadSingleImage(null)";
  call.name = name;
  call.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  calls.push_back(call);
  delete[] pixels;
}

void RecordingDrawer::loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) {
  Call call;
  call.operation = pixels ? "loadTextureAtlas" : "loadTextureAtlas(null)";
  call.name = atlas.numImages > 0 ? atlas.images[0].name : L"";
  call.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  calls.push_back(call);
  delete[] pixels;
}

void RecordingDrawer::loadShader(const std::wstring &, const std::wstring &, const std::wstring &name) {
  Call call;
  call.operation = "loadShader";
  call.name = name;
  calls.push_back(call);
}

void RecordingDrawer::loadFont(const std::wstring &fontName, float, const std::wstring &name) {
  Call call;
  call.operation = "loadFont";
  call.name = fontName + L"/" + name;
  calls.push_back(call);
}

void RecordingDrawer::drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale,
                                const ThreeFloats &colour, float alpha) {
  calls.push_back(Call{"drawImage", name, position, scale, colour, alpha});
}

void RecordingDrawer::fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour,
                               float alpha) {
  calls.push_back(Call{"fillRect", L"", position, size, colour, alpha});
}
