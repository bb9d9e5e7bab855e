#include "soundserver/SinkRecorder.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

struct SinkRecorder::Connection {
  pa_threaded_mainloop *loop = nullptr;
  pa_context *context = nullptr;
  pa_stream *stream = nullptr;
};

namespace {

std::string serverOf(const std::vector<std::string> &environment) {
  const std::string name = "PULSE_SERVER=";
  for (const std::string &entry : environment)
    if (entry.rfind(name, 0) == 0) return entry.substr(name.size());
  return "";
}

void wake(pa_threaded_mainloop *loop) { pa_threaded_mainloop_signal(loop, 0); }

}  // namespace

SinkRecorder::SinkRecorder(const std::vector<std::string> &clientEnvironment, const std::string &sinkName)
    : connection(std::make_unique<Connection>()) {
  Connection &c = *connection;
  c.loop = pa_threaded_mainloop_new();
  c.context = pa_context_new(pa_threaded_mainloop_get_api(c.loop), "murmel sink recorder");
  pa_context_set_state_callback(
      c.context, [](pa_context *, void *loop) { wake(static_cast<pa_threaded_mainloop *>(loop)); }, c.loop);
  pa_threaded_mainloop_lock(c.loop);
  const std::string server = serverOf(clientEnvironment);
  if (pa_threaded_mainloop_start(c.loop) < 0 ||
      pa_context_connect(c.context, server.empty() ? nullptr : server.c_str(), PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    failure = "cannot reach the server at " + server;
    pa_threaded_mainloop_unlock(c.loop);
    return;
  }
  pa_context_state_t state;
  while ((state = pa_context_get_state(c.context)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state))
    pa_threaded_mainloop_wait(c.loop);

  const pa_sample_spec format = {PA_SAMPLE_S16LE, Rate, 2};
  if (state == PA_CONTEXT_READY) c.stream = pa_stream_new(c.context, "monitor", &format, nullptr);
  if (c.stream) {
    pa_stream_set_state_callback(
        c.stream, [](pa_stream *, void *loop) { wake(static_cast<pa_threaded_mainloop *>(loop)); }, c.loop);
    pa_stream_set_read_callback(
        c.stream, [](pa_stream *, size_t, void *self) { static_cast<SinkRecorder *>(self)->readFragments(); }, this);
    // Small fragments: each is timed as it arrives.
    const uint32_t any = static_cast<uint32_t>(-1);
    const pa_buffer_attr attributes = {any, any, any, any, static_cast<uint32_t>(pa_usec_to_bytes(10000, &format))};
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                      PA_STREAM_AUTO_TIMING_UPDATE);
    const std::string monitor = sinkName + ".monitor";
    if (pa_stream_connect_record(c.stream, monitor.c_str(), &attributes, flags) == 0)
      while (pa_stream_get_state(c.stream) == PA_STREAM_CREATING) pa_threaded_mainloop_wait(c.loop);
  }
  if (!c.stream || pa_stream_get_state(c.stream) != PA_STREAM_READY)
    failure = "cannot record " + sinkName + ".monitor: " + pa_strerror(pa_context_errno(c.context));
  pa_threaded_mainloop_unlock(c.loop);
}

SinkRecorder::~SinkRecorder() { stop(); }

bool SinkRecorder::recording() const { return connection && failure.empty(); }

std::string SinkRecorder::error() const { return failure; }

bool SinkRecorder::waitUntilLive(double timeoutSeconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point until =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
  while (recording() && Clock::now() < until) {
    pa_threaded_mainloop_lock(connection->loop);
    const double ahead = anchors.empty() ? timeoutSeconds
                                         : playedAt(frameCount()) -
                                               std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    pa_threaded_mainloop_unlock(connection->loop);
    // A few of the sink's 10 ms blocks ahead at most.
    if (ahead < 0.05) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void SinkRecorder::stop() {
  if (!connection) return;
  Connection &c = *connection;
  pa_threaded_mainloop_lock(c.loop);
  if (c.stream) {
    pa_stream_disconnect(c.stream);
    pa_stream_unref(c.stream);
  }
  pa_context_disconnect(c.context);
  pa_context_unref(c.context);
  pa_threaded_mainloop_unlock(c.loop);
  pa_threaded_mainloop_stop(c.loop);
  pa_threaded_mainloop_free(c.loop);
  connection.reset();
}

void SinkRecorder::readFragments() {
  pa_stream *stream = connection->stream;
  const void *data = nullptr;
  size_t bytes = 0;
  while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
    // Until the fragment is dropped, the latency is that of its first frame;
    // a monitor's is negative while the sink has yet to play it.
    pa_usec_t latency = 0;
    int ahead = 0;
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    if (pa_stream_get_latency(stream, &latency, &ahead) == 0)
      anchors.push_back({frameCount(), now + (ahead ? 1e-6 : -1e-6) * double(latency)});
    const size_t count = bytes / 4 * 2;
    // A hole, where the server had nothing to record, is kept as silence.
    if (data)
      recorded.insert(recorded.end(), static_cast<const int16_t *>(data), static_cast<const int16_t *>(data) + count);
    else
      recorded.resize(recorded.size() + count, 0);
    pa_stream_drop(stream);
  }
}

double SinkRecorder::playedAt(long frame) const {
  if (anchors.empty()) return 0.0;
  auto after = std::upper_bound(anchors.begin(), anchors.end(), frame,
                                [](long f, const Anchor &anchor) { return f < anchor.frame; });
  const Anchor &anchor = after == anchors.begin() ? anchors.front() : *(after - 1);
  return anchor.seconds + double(frame - anchor.frame) / Rate;
}

long SinkRecorder::frameAt(double seconds) const {
  auto after = std::upper_bound(anchors.begin(), anchors.end(), seconds,
                                [](double s, const Anchor &anchor) { return s < anchor.seconds; });
  if (after == anchors.begin()) return 0;
  const Anchor &anchor = *(after - 1);
  const long frame = anchor.frame + static_cast<long>(std::ceil((seconds - anchor.seconds) * Rate));
  return std::min(frame, after == anchors.end() ? frameCount() : after->frame);
}
