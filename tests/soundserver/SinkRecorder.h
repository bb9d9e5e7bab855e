#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Records the monitor of one sink of a PulseAudio server as interleaved
// stereo signed 16-bit frames at 44.1 kHz, in fragments of about 10 ms, and
// notes for each fragment when the sink played it on the steady clock (the
// server's latency report for a monitor says how far ahead of its playing a
// sink hands its sound over). PulseAudio's own thread receives the sound;
// every member is for the thread that made the recorder, and the recording
// is read once stop() has returned.
class SinkRecorder final {
 public:
  static constexpr int Rate = 44100;

  // clientEnvironment: "NAME=value" entries as SoundServer::clientEnvironment
  // gives them; PULSE_SERVER names the server.
  SinkRecorder(const std::vector<std::string> &clientEnvironment, const std::string &sinkName);
  ~SinkRecorder();
  SinkRecorder(const SinkRecorder &) = delete;
  SinkRecorder &operator=(const SinkRecorder &) = delete;

  // The stream records, until stop(); when it never did, error() says why.
  bool recording() const;
  std::string error() const;
  // Waits until the sink plays what it hands over at once, as a desktop's
  // long-running server does; false when time runs out. A null sink renders
  // its first two seconds in one go, before any client asks for less
  // latency, and what a player gives it meanwhile waits behind them.
  bool waitUntilLive(double timeoutSeconds);
  // Ends the recording; what it holds stays.
  void stop();

  const std::vector<int16_t> &samples() const { return recorded; }
  long frameCount() const { return static_cast<long>(recorded.size() / 2); }
  // Seconds since the steady clock's epoch when the sink played the frame
  // (0 when nothing was timed).
  double playedAt(long frame) const;
  // The first frame played at or after that time (frameCount() when none).
  long frameAt(double seconds) const;

 private:
  struct Anchor {
    long frame;
    double seconds;
  };
  struct Connection;
  // PulseAudio's thread, with its lock held.
  void readFragments();

  std::unique_ptr<Connection> connection;
  std::vector<int16_t> recorded;
  std::vector<Anchor> anchors;
  std::string failure;
};
