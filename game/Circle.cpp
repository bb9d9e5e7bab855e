#include "game/Circle.h"

Circle::Circle() {
  SingleImage::imageData = Circle::imageData;
  SingleImage::imageDataSize = Circle::imageDataSize;
}
