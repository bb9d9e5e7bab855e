#include "game/LoadingScreen.h"

#include "app/Assertion.h"
#include "drawing/Drawer.h"
#include "drawing/ImageLoader.h"
#include "resources/ResourceManager.h"
#include "sound/Sounder.h"

GameStateCreator<LoadingScreen> LoadingScreen::creator;

namespace {

const ThreeFloats black(0.0f, 0.0f, 0.0f);
const ThreeFloats white(1.0f, 1.0f, 1.0f);

}  // namespace

LoadingScreen::LoadingScreen(Application *app, Sounder *sounder) : GameState(app, sounder), sounder(sounder) {}

int LoadingScreen::stageSize(int which) const {
  const ResourceManager &resources = *getResourceManager();
  switch (which) {
    case Atlases: return resources.getNumTextureAtlases();
    case SingleImages: return resources.getNumSingleImages();
    case ImageFolders: {
      int children = 0;
      for (int i = 0; i < resources.getNumImageFolders(); ++i) children += resources.getImageFolder(i).getNumChildren();
      return children;
    }
    case Shaders: return resources.getNumShaders();
    case Fonts: return resources.getNumFonts();
    case Sounds: return resources.getNumSounds();
    default: return 0;
  }
}

void LoadingScreen::countSteps() {
  for (int kind = Atlases; kind <= Sounds; ++kind) {
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
  for (int kind = after + 1; kind <= Sounds; ++kind) {
    if (kind == ImageFolders ? getResourceManager()->getNumImageFolders() > 0 : stageSize(kind) > 0) return kind;
  }
  return after;
}

void LoadingScreen::loadStep(Drawer &drawer) {
  ResourceManager &resources = *getResourceManager();
  ImageLoader loader;
  switch (stage) {
    case Atlases: {
      const boost::shared_ptr<TextureAtlas> atlas = resources.getTextureAtlas(index);
      const ImageLoader::ImageData image = loader.loadImage(reinterpret_cast<const char *>(atlas->imageData),
                                                            static_cast<unsigned>(atlas->imageDataSize));
      drawer.loadTextureAtlas(image.data, image.width, image.height, *atlas);
      if (++index >= resources.getNumTextureAtlases()) {
        stage = nextStage(Atlases);
        index = 0;
      }
      break;
    }
    case SingleImages: {
      const boost::shared_ptr<SingleImage> single = resources.getSingleImage(index);
      const ImageLoader::ImageData image = loader.loadImage(reinterpret_cast<const char *>(single->imageData),
                                                            static_cast<unsigned>(single->imageDataSize));
      drawer.loadSingleImage(image.data, image.width, image.height, single->getName());
      if (++index >= resources.getNumSingleImages()) {
        stage = nextStage(SingleImages);
        index = 0;
      }
      break;
    }
    case ImageFolders: {
      const FilePath &folder = resources.getImageFolder(index);
      const FilePath child = folder.getChild(childIndex);
      const ImageLoader::ImageData image = loader.loadImage(child);
      drawer.loadSingleImage(image.data, image.width, image.height, child.getName());
      if (++childIndex >= folder.getNumChildren()) {
        childIndex = 0;
        if (++index >= resources.getNumImageFolders()) {
          stage = nextStage(ImageFolders);
          index = 0;
        }
      }
      break;
    }
    case Shaders: {
      const boost::shared_ptr<Shader> shader = resources.getShaders(index);
      drawer.loadShader(shader->getVertexSource(), shader->getFragmentSource(), shader->getName());
      if (++index >= resources.getNumShaders()) {
        stage = nextStage(Shaders);
        index = 0;
      }
      break;
    }
    case Fonts: {
      const boost::shared_ptr<Font> font = resources.getFont(index);
      drawer.loadFont(font->file.getName(), font->size, font->name);
      if (++index >= resources.getNumFonts()) {
        stage = nextStage(Fonts);
        index = 0;
      }
      break;
    }
    case Sounds: {
      const boost::shared_ptr<SoundFileLoader> sound = resources.getSound(index);
      // A file no loader knows is a step like any other, with nothing to hand on.
      if (sound && sounder) sounder->loadSoundFileResource(sound);
      if (++index >= resources.getNumSounds()) {
        stage = Nothing;
        index = 0;
      }
      break;
    }
    default: MW_ASSERT(0);
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
