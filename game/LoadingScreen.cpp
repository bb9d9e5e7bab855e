#include "game/LoadingScreen.h"

#include "base/Assertion.h"
#include "framework/drawing/Drawer.h"
#include "framework/drawing/ImageLoader.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/Sounder.h"

GameStateCreator<LoadingScreen> LoadingScreen::creator;

namespace {

const ThreeFloats black(0.0f, 0.0f, 0.0f);
const ThreeFloats white(1.0f, 1.0f, 1.0f);

// What one loading step works with.
struct Step {
  const ResourceManager &resources;
  const std::vector<FilePath> &folderImages;
  Drawer &drawer;
  Sounder *sounder;
};

ImageLoader::ImageData decode(const unsigned char *data, int size) {
  return ImageLoader().loadImage(reinterpret_cast<const char *>(data), static_cast<unsigned>(size));
}

// One kind of resource: how many steps it takes, and one step of it.
struct Kind {
  int (*size)(const ResourceManager &resources, const std::vector<FilePath> &folderImages);
  void (*load)(const Step &step, int index);
};

// In loading order, indexed by LoadingScreen's stages.
const Kind kinds[] = {
    {[](const ResourceManager &resources, const std::vector<FilePath> &) { return resources.getNumTextureAtlases(); },
     [](const Step &step, int index) {
       const boost::shared_ptr<TextureAtlas> atlas = step.resources.getTextureAtlas(index);
       const ImageLoader::ImageData image = decode(atlas->imageData, atlas->imageDataSize);
       step.drawer.loadTextureAtlas(image.data, image.width, image.height, *atlas);
     }},
    {[](const ResourceManager &resources, const std::vector<FilePath> &) { return resources.getNumSingleImages(); },
     [](const Step &step, int index) {
       const boost::shared_ptr<SingleImage> single = step.resources.getSingleImage(index);
       const ImageLoader::ImageData image = decode(single->imageData, single->imageDataSize);
       step.drawer.loadSingleImage(image.data, image.width, image.height, single->getName());
     }},
    {[](const ResourceManager &, const std::vector<FilePath> &images) { return static_cast<int>(images.size()); },
     [](const Step &step, int index) {
       // A file lost since the count still takes its step, with nothing decoded.
       const FilePath &file = step.folderImages[static_cast<size_t>(index)];
       const ImageLoader::ImageData image = ImageLoader().loadImage(file);
       step.drawer.loadSingleImage(image.data, image.width, image.height, file.getName());
     }},
    {[](const ResourceManager &resources, const std::vector<FilePath> &) { return resources.getNumShaders(); },
     [](const Step &step, int index) {
       const boost::shared_ptr<Shader> shader = step.resources.getShaders(index);
       step.drawer.loadShader(shader->getVertexSource(), shader->getFragmentSource(), shader->getName());
     }},
    {[](const ResourceManager &resources, const std::vector<FilePath> &) { return resources.getNumFonts(); },
     [](const Step &step, int index) {
       const boost::shared_ptr<Font> font = step.resources.getFont(index);
       step.drawer.loadFont(font->file.getName(), font->size, font->name);
     }},
    {[](const ResourceManager &resources, const std::vector<FilePath> &) { return resources.getNumSounds(); },
     [](const Step &step, int index) {
       const boost::shared_ptr<SoundFileLoader> sound = step.resources.getSound(index);
       // A file no loader knows is a step like any other, with nothing to hand on.
       if (sound && step.sounder) step.sounder->loadSoundFileResource(sound);
     }},
};

}  // namespace

LoadingScreen::LoadingScreen(Application *app, Sounder *sounder) : GameState(app, sounder), sounder(sounder) {}

int LoadingScreen::stageSize(int which) const {
  if (which < Atlases || which >= Nothing) return 0;
  return kinds[which].size(*getResourceManager(), folderImages);
}

void LoadingScreen::countSteps() {
  const ResourceManager &resources = *getResourceManager();
  for (int i = 0; i < resources.getNumImageFolders(); ++i) {
    const std::vector<FilePath> files = resources.getImageFolder(i).getChildren();
    folderImages.insert(folderImages.end(), files.begin(), files.end());
  }
  for (int kind = Atlases; kind < Nothing; ++kind) {
    totalSteps += stageSize(kind);
    if (totalSteps > 0 && stage == Nothing) stage = kind;
  }
  if (stage == Nothing) {
    stepsDone = 1;
    totalSteps = 1;
    fade += 0.02f;
  }
}

int LoadingScreen::nextStage(int after) const {
  for (int kind = after + 1; kind < Nothing; ++kind) {
    if (stageSize(kind) > 0) return kind;
  }
  return Nothing;
}

void LoadingScreen::loadStep(Drawer &drawer) {
  static_assert(sizeof kinds / sizeof kinds[0] == Nothing, "one kind per stage");
  if (stage < Atlases || stage >= Nothing) MW_ASSERT(0);
  kinds[stage].load(Step{*getResourceManager(), folderImages, drawer, sounder}, index);
  if (++index >= stageSize(stage)) {
    stage = nextStage(stage);
    index = 0;
  }
}

void LoadingScreen::draw(boost::shared_ptr<Drawer> drawer) {
  MW_ASSERT(drawer.get() != 0);
  if (stepsDone < 1 && totalSteps == 0) countSteps();

  const TwoFloats size = drawer->getDrawingAreaSize();
  const float w = size.x, h = size.y;
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(w, h), black, 1.0f);
  drawer->fillRect(TwoFloats(64, 0.5f * h - 64), TwoFloats(w - 128, 128), white, 1.0f);
  drawer->fillRect(TwoFloats(72, 0.5f * h - 56), TwoFloats(w - 144, 112), black, 1.0f);
  drawer->fillRect(TwoFloats(80, 0.5f * h - 48),
                   TwoFloats((w - 160) * (static_cast<float>(stepsDone) / static_cast<float>(totalSteps)), 96), white,
                   1.0f);

  if (fade <= 0.0f) {
    loadStep(*drawer);
    ++stepsDone;
    if (stepsDone >= totalSteps) fade += 0.02f;
  }
  if (fade > 0.0f) {
    drawer->fillRect(TwoFloats(0, 0), TwoFloats(w, h), black, fade);
    fade += 0.02f;
  }
  if (fade >= 1.0f) nextState(L"-start state-", L"");
}
