#!/usr/bin/env bash
# Installs every Debian package Murmel Worlds needs to build, test and run.
# Idempotent: installs nothing (and says so) when all are present.
#   scripts/install-deps.sh           build, test and run
#   scripts/install-deps.sh --sounds  also the tools that regenerate the sound files
#   scripts/install-deps.sh --compare also what only "make compare" needs
#   scripts/install-deps.sh --package-check  also what "make package-check" needs
#   scripts/install-deps.sh --web     also the browser build's toolchain ("make web")
set -euo pipefail

packages=(
  # build tools
  build-essential g++ make cmake pkg-config
  # libraries
  libsdl1.2-compat-dev libsdl-image1.2-dev libvorbis-dev portaudio19-dev
  libfreetype-dev libboost-dev libglu1-mesa-dev libgl-dev libpng-dev
  # resampling sound files recorded at other rates than the device's
  libsoxr-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev
  # headless display and software OpenGL
  xvfb xauth libgl1-mesa-dri x11-utils
  # end-to-end tests: window screenshots and synthetic key presses
  x11-apps xdotool
  # full-screen switching tests: a window manager, without which Xvfb windows never change size
  openbox
  # the sound-server test: PulseAudio, its player (pacat), ALSA's plugin that plays into it, and the
  # client library of its recorder, which times what it records on the steady clock
  pulseaudio pulseaudio-utils libasound2-plugins libpulse-dev
  # fonts the image forge draws with
  fonts-comfortaa
  # fonts the captions are drawn with, and the text tests' second face
  fonts-quicksand fonts-dejavu-core
  # "make package" and the checks of what it installs: library dependencies of
  # the .deb, desktop entry, metainfo, man page
  dpkg-dev desktop-file-utils appstream lintian man-db groff-base
  # "make fuzz": clang and its libFuzzer and sanitizer runtimes
  clang libclang-rt-dev
)

for arg in "$@"; do
  case "$arg" in
    # the voice of the spoken passages
    --sounds) packages+=(festival festvox-us-slt-hts) ;;
    # the side-by-side comparison: the other mixer and decoder, the chart, CPU and memory figures, and
    # the profilers that find where frame time, start-up time and memory go
    --compare) packages+=(libsdl-mixer1.2-dev vorbis-tools gnuplot-nox time python3 linux-perf valgrind) ;;
    # a bare Debian root to install the package into
    --package-check) packages+=(debootstrap) ;;
    # the WebAssembly compiler and Node.js it runs on, a headless browser and its
    # remote-control client for the page's tests; dpkg-dev unpacks the source
    # packages scripts/build-web-deps.sh builds the third-party libraries from
    --web) packages+=(emscripten nodejs chromium python3-websocket dpkg-dev
      # the two other engines the page is tested in, and the screenshots' reader
      firefox-esr webkit2gtk-driver python3-pil) ;;
    *) echo "install-deps.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps.sh: all ${#packages[@]} packages are installed; nothing to do."
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
    echo "install-deps.sh: need root or sudo to install: ${missing[*]}" >&2; exit 1
  fi
fi

echo "install-deps.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
