#include "platforms/web/WebAudioTiming.h"

#include <emscripten.h>

void WebAudioTiming::beforeOpen() {
  EM_ASM({ Module['SDL_numSimultaneouslyQueuedBuffers'] = $0; }, StartingBlocks);
}

WebAudioTiming::Clock::time_point WebAudioTiming::blockHeardAt(int, double) {
  const double aheadMilliseconds = EM_ASM_DOUBLE({
    // No comma outside brackets here: the preprocessor would split the code at it.
    var audio = SDL.audio;
    var context = SDL.audioContext;
    if (!audio || !context) return 0;
    // What SDL's pushAudio, right after this callback, starts the block at.
    var start = Math.max(context['currentTime'] + audio.bufferingDelay, audio.nextPlayTime);
    var stamp = context['getOutputTimestamp'] ? context['getOutputTimestamp']() : null;
    var now = performance.now();
    // A stamp is of the last moment heard: one on another clock (WebKitGTK's
    // runs ahead by the context's own time) is no stamp.
    if (stamp && stamp['performanceTime'] > 0 && Math.abs(stamp['performanceTime'] - now) < 1000)
      return stamp['performanceTime'] + (start - stamp['contextTime']) * 1000 - now;
    var latency = context['outputLatency'] || context['baseLatency'] || 0;
    return (start - context['currentTime'] + latency) * 1000;
  });
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double, std::milli>(aheadMilliseconds));
}
