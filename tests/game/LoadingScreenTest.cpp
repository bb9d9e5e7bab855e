#include "game/LoadingScreen.h"

#include "framework/sound/SoundFileLoader.h"
#include "framework/sound/Sounder.h"

#include "support/DataFolder.h"
#include "support/FakeApplication.h"
#include "support/PngFile.h"
#include "support/RecordingDrawer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Keeps the names of the sound files handed to it.
class RecordingSounder final : public Sounder {
 public:
  void getAudio(float *, float *, int) override {}
  void loadSoundFileResource(boost::shared_ptr<SoundFileLoader> loader) override { names.push_back(loader->getName()); }
  void setMute(bool) override {}
  bool isMuted() const override { return false; }
  std::vector<std::wstring> names;
};

// Draws frames until the screen asks for the next state; the frames drawn.
int runToSwitch(LoadingScreen &screen, FakeApplication &app, RecordingDrawer &drawer,
                std::vector<std::vector<RecordingDrawer::Call>> *frames = nullptr) {
  const boost::shared_ptr<Drawer> shared(&drawer, [](Drawer *) {});
  for (int frame = 1; frame <= 500; ++frame) {
    drawer.calls.clear();
    screen.draw(shared);
    if (frames) frames->push_back(drawer.calls);
    if (!app.requestedStates.empty()) return frame;
  }
  return -1;
}

}  // namespace

TEST(LoadingScreen, BuiltInCatalogueLoadsOneEntryPerFrameThenFades) {
  DataFolder data;
  FakeApplication app;
  RecordingSounder sounder;
  RecordingDrawer drawer;
  LoadingScreen screen(&app, &sounder);
  EXPECT_EQ(L"LoadingScreen", screen.getName());

  std::vector<std::vector<RecordingDrawer::Call>> frames;
  const int switchFrame = runToSwitch(screen, app, drawer, &frames);
  EXPECT_EQ(20, screen.getTotalSteps());
  // The last step is on frame 20; the switch comes 49 frames later.
  EXPECT_EQ(69, switchFrame);
  EXPECT_EQ((std::vector<std::wstring>{L"-start state-"}), app.requestedStates);

  // Frame 1 the atlas, frame 2 the disc, then the sounds in catalogue order.
  auto loads = [&](int frame, const std::string &operation) {
    int count = 0;
    for (const auto &call : frames[static_cast<size_t>(frame - 1)]) count += call.operation == operation;
    return count;
  };
  EXPECT_EQ(1, loads(1, "loadTextureAtlas"));
  EXPECT_EQ(1, loads(2, "loadSingleImage"));
  EXPECT_EQ(18u, sounder.names.size());
  EXPECT_EQ(L"ClackyThing", sounder.names.front());
  EXPECT_EQ(L"Speech_World7", sounder.names.back());

  // The bar: 4 rectangles a frame; on frame 11 the fill is half of w - 160.
  const std::vector<RecordingDrawer::Call> &eleventh = frames[10];
  ASSERT_GE(eleventh.size(), 4u);
  EXPECT_FLOAT_EQ(560.0f, eleventh[3].size.x);
  EXPECT_FLOAT_EQ(80.0f, eleventh[3].position.x);
  EXPECT_FLOAT_EQ(360.0f - 48.0f, eleventh[3].position.y);
  EXPECT_FLOAT_EQ(0.0f, frames[0][3].size.x);
  // From frame 20 on, a black cover whose alpha grows by 0.02 a frame.
  ASSERT_EQ(5u, frames[19].size());
  EXPECT_NEAR(0.02f, frames[19][4].alpha, 1e-6f);
  EXPECT_NEAR(0.98f, frames[67][4].alpha, 1e-4f);
  EXPECT_GE(screen.getFade(), 1.0f);
}

TEST(LoadingScreen, EveryKindOfResourceInOrder) {
  DataFolder data;
  FakeApplication app;
  TempDir folder;
  const std::vector<uint8_t> pixel = {10, 20, 30, 255};
  folder.writeFile("b.png", PngFile::encode(1, 1, PngFile::Rgba, pixel));
  folder.writeFile("a.png", PngFile::encode(1, 1, PngFile::Rgba, pixel));
  app.resources.registerImageFolder(FilePath(folder.widePath()));
  app.resources.registerShader(boost::shared_ptr<Shader>(new Shader(L"void main(){}", L"void main(){}", L"Glow")));
  app.resources.registerFont(boost::shared_ptr<Font>(new Font{FilePath(L"/fonts/Comfortaa-Light.ttf"), 24, L"Body"}));

  RecordingSounder sounder;
  RecordingDrawer drawer;
  LoadingScreen screen(&app, &sounder);
  std::vector<std::vector<RecordingDrawer::Call>> frames;
  runToSwitch(screen, app, drawer, &frames);
  EXPECT_EQ(24, screen.getTotalSteps());

  std::vector<std::string> loaded;
  for (const auto &frame : frames) {
    for (const auto &call : frame) {
      if (call.operation.rfind("load", 0) == 0)
        loaded.push_back(call.operation + " " + std::string(call.name.begin(), call.name.end()));
    }
  }
  EXPECT_EQ((std::vector<std::string>{"loadTextureAtlas Title", "loadSingleImage Circle", "loadSingleImage a",
                                      "loadSingleImage b", "loadShader Glow", "loadFont Comfortaa-Light/Body"}),
            loaded);
  EXPECT_EQ(18u, sounder.names.size());
}

TEST(LoadingScreen, FoldersThatAreEmptyOrLoseFilesStillLoadEverything) {
  struct Case {
    const char *what;
    std::vector<std::string> files;  // written before the count
    std::vector<std::string> lost;   // removed after the first frame
    int totalSteps;
    std::vector<std::string> loaded;
  };
  const Case cases[] = {
      {"empty folder", {}, {}, 20, {"loadTextureAtlas Title", "loadSingleImage Circle"}},
      {"a file lost during loading",
       {"a.png", "b.png"},
       {"b.png"},
       22,
       {"loadTextureAtlas Title", "loadSingleImage Circle", "loadSingleImage a", "loadSingleImage(null) b"}},
  };
  const std::vector<uint8_t> pixel = {10, 20, 30, 255};
  for (const Case &c : cases) {
    DataFolder data;
    FakeApplication app;
    TempDir folder;
    for (const std::string &file : c.files) folder.writeFile(file, PngFile::encode(1, 1, PngFile::Rgba, pixel));
    app.resources.registerImageFolder(FilePath(folder.widePath()));
    RecordingSounder sounder;
    RecordingDrawer drawer;
    LoadingScreen screen(&app, &sounder);
    const boost::shared_ptr<Drawer> shared(&drawer, [](Drawer *) {});
    screen.draw(shared);
    for (const std::string &file : c.lost) std::remove((folder.path() + "/" + file).c_str());
    std::vector<std::vector<RecordingDrawer::Call>> frames{drawer.calls};
    const int switchFrame = runToSwitch(screen, app, drawer, &frames) + 1;

    EXPECT_EQ(c.totalSteps, screen.getTotalSteps()) << c.what;
    EXPECT_EQ(c.totalSteps + 49, switchFrame) << c.what;
    EXPECT_EQ(18u, sounder.names.size()) << c.what;
    std::vector<std::string> loaded;
    for (const auto &frame : frames) {
      for (const auto &call : frame) {
        if (call.operation.rfind("load", 0) == 0)
          loaded.push_back(call.operation + " " + std::string(call.name.begin(), call.name.end()));
      }
    }
    EXPECT_EQ(c.loaded, loaded) << c.what;
  }
}
