#pragma once

// Fits the stereo frames a device's callback writes to the channel count the
// hardware opened, and the hardware's frames to stereo: one channel carries
// the average of left and right (and gives its signal to both), more than two
// carry left and right in the first two channels and silence in the others.
// For the devices' audio threads: no allocation, no lock.
class StereoChannels {
 public:
  // Channel `channel` of a `channels`-channel frame made from one stereo frame.
  static float toDevice(const float *stereoFrame, int channel, int channels) {
    if (channels == 1) return (stereoFrame[0] + stereoFrame[1]) * 0.5f;
    return channel < 2 ? stereoFrame[channel] : 0.0f;
  }
  // The channel of a `channels`-channel frame that gives the stereo channel
  // `stereoChannel` (0 left, 1 right).
  static int fromDevice(int stereoChannel, int channels) { return channels == 1 ? 0 : stereoChannel; }

  // Writes `frames` stereo frames as `channels`-channel frames.
  static void toDevice(const float *stereo, float *device, int frames, int channels);
};
