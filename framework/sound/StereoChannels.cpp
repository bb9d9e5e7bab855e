#include "framework/sound/StereoChannels.h"

void StereoChannels::toDevice(const float *stereo, float *device, int frames, int channels) {
  for (int frame = 0; frame < frames; ++frame, stereo += 2, device += channels)
    for (int channel = 0; channel < channels; ++channel) device[channel] = toDevice(stereo, channel, channels);
}
