#include "personas/SceneView.h"

const SceneView::Ring *SceneView::ring(int ofWorld, int ringIndex) const {
  for (int i = 0; i < ringCount; ++i) {
    if (rings[i].world == ofWorld && rings[i].index == ringIndex) return &rings[i];
  }
  return nullptr;
}

const SceneView::Ring *SceneView::largestRing(int ofWorld) const {
  const Ring *largest = nullptr;
  for (int i = 0; i < ringCount; ++i) {
    if (rings[i].world == ofWorld && (!largest || rings[i].radius > largest->radius)) largest = &rings[i];
  }
  return largest;
}
