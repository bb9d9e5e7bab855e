#pragma once

// The libraries under the program print their own probing failures straight
// to the standard error: ALSA on a machine without a sound card, JACK when no
// JACK server runs (reached through PortAudio), the Wayland client when SDL
// looks for a Wayland session that is not there. The player is told what
// matters in the program's own lines, so their text is switched off through
// each library's own message hook; MURMEL_WORLDS_DEBUG=1 keeps it. The
// standard error itself is never touched.
class LibraryChatter final {
 public:
  // Once, on the main thread, before SDL or PortAudio start. Process-wide.
  static void quietenUnlessDebugging();
  // MURMEL_WORLDS_DEBUG is set to something other than "" or "0".
  static bool debugging();
};
