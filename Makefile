# Daily work. ./run.sh and ./test.sh wrap these after installing what is missing.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all build configure run test bench sanitize tsan sounds images package format clean compare

all: build

build/CMakeCache.txt:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: build/CMakeCache.txt
	cmake --build build -j $(JOBS)

run: build
	./build/murmel-worlds $(ARGS)

test: build
	scripts/run-tests.sh build

bench: build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target benchmarks
	scripts/run-benchmarks.sh build

# AddressSanitizer with UndefinedBehaviorSanitizer, whole suite.
.PHONY: sanitize-build tsan-build
sanitize: sanitize-build
	scripts/run-tests.sh build-asan

sanitize-build:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMURMEL_SANITIZER=address -DMURMEL_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

# ThreadSanitizer, whole suite.
tsan: tsan-build
	scripts/run-tests.sh build-tsan

tsan-build:
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DMURMEL_SANITIZER=thread -DMURMEL_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS)

# Redraws the built-in images into assets/images with the image forge.
images: build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target images

# Regenerates data/sounds/*.ogg from code (needs Festival and its HTS voice for the speech).
sounds: build/CMakeCache.txt
	scripts/install-deps.sh --sounds
	cmake --build build -j $(JOBS) --target forge-sounds
	./build/tools/forge-sounds/forge-sounds data/sounds

# The Debian package, build/murmel-worlds_<version>_<arch>.deb, installing under /usr.
package: build
	cmake --build build -j $(JOBS) --target package

# Installs that package into a fresh minimal Debian 12 root and plays it to the
# title screen from its menu entry (root, network, minutes; build/package-check/).
.PHONY: package-check
package-check:
	JOBS=$(JOBS) scripts/check-package.sh

# Side by side with SDL_mixer, oggdec and raw OpenGL; writes docs/performance.md.
compare:
	JOBS=$(JOBS) scripts/compare.sh

# libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (build-fuzz/); "make fuzz FUZZ_SECONDS=N" then runs each for N seconds.
FUZZ_SECONDS ?= 0
.PHONY: fuzz
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURMEL_FUZZ=ON -DMURMEL_BENCHMARKS=OFF \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS)
	if [ "$(FUZZ_SECONDS)" -gt 0 ]; then scripts/run-fuzzers.sh $(FUZZ_SECONDS); fi

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan
	rm -rf build-fuzz

# The robot's playthrough 3 times under ASan+UBSan and once under TSan, then a
# real-time run with every playback slot busy and each audio callback timed.
.PHONY: soak
soak:
	JOBS=$(JOBS) scripts/soak.sh

# Every persona of the robot at two screen shapes, uncapped, with the flash
# meter, once for each game seed, and the first-time players at three shapes;
# writes docs/playability.md and its contact sheets (about an hour; SHAPES,
# SEEDS and FIRST_TIME_SHAPES widen or narrow it).
.PHONY: playability
playability:
	JOBS=$(JOBS) scripts/playability.sh

# The browser build in build-web/ (after "scripts/install-deps.sh --web"): the
# third-party libraries built from Debian's sources once, then the game
# compiled to WebAssembly; the static site is build-web/site/.
.PHONY: web
web:
	JOBS=$(JOBS) scripts/build-web-deps.sh build-web
	emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build-web -j $(JOBS)

# The site as one zip with index.html at its root, as game portals take it:
# build-web/murmel-worlds-web.zip (the robot player's program stays out).
.PHONY: web-zip
web-zip: web
	cd build-web/site && python3 -c 'import os, sys, zipfile; \
	  names = sorted(os.path.join(d, f)[2:] for d, _, fs in os.walk(".") for f in fs if "autoplay" not in f); \
	  z = zipfile.ZipFile("../murmel-worlds-web.zip", "w", zipfile.ZIP_DEFLATED, compresslevel=9); \
	  [z.write(n) for n in names]; z.close()'
	@echo "web-zip: build-web/murmel-worlds-web.zip"

# The browser build in a headless Chromium, in Firefox and in WebKitGTK over a
# plain local file server (scripts/web-tests.sh): the robot plays the whole
# game in the page, and the title, the game's pace, touch, a hidden tab and
# the console are checked; the frames and logs go to build-web/test-out/ENGINE/
# (about nine minutes after the build).
.PHONY: web-test
web-test: web
	scripts/web-tests.sh
