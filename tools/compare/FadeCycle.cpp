#include "FadeCycle.h"

#include "game/MurmelSounder.h"

namespace {

// The instruments' fade length.
constexpr long long instrumentFadeFrames = 100000;

}  // namespace

FadeCycle::FadeCycle(MurmelSounder &sounder, const std::vector<std::wstring> &names, int channelCount, int blockFrames)
    : sounder(sounder),
      names(names),
      blockFrames(blockFrames),
      fadeFrames(instrumentFadeFrames / blockFrames * blockFrames),
      channels(static_cast<size_t>(channelCount)) {
  for (int c = 0; c < channelCount; ++c)
    channels[static_cast<size_t>(c)].due = cycleFrames() * c / channelCount / blockFrames * blockFrames;
}

void FadeCycle::afterBlock(long long frames) {
  // A fade-out, stepped in float, may end a few frames after the fade-in's
  // length; a channel starts again only once some slot has let go, so that no
  // more than `channels` ever play.
  int free = static_cast<int>(channels.size()) - sounder.getNumActiveSlots();
  for (size_t c = 0; c < channels.size(); ++c) {
    Channel &channel = channels[c];
    if (frames < channel.due) continue;
    if (channel.rising) {
      sounder.deactivateSound(channel.handle);
      channel.rising = false;
      channel.due = frames + fadeFrames;
      continue;
    }
    channel.handle = free > 0 ? sounder.activateSound(names[c % names.size()]) : -1;
    if (channel.handle < 0) {
      // A fade-out has a block to go.
      ++retries;
      channel.due = frames + blockFrames;
      continue;
    }
    --free;
    channel.rising = true;
    channel.due = frames + fadeFrames;
  }
}
