#!/usr/bin/env python3
"""Runs the side-by-side comparison and writes docs/performance.md.

    compare.py BUILD_DIR DOCS_DIR [--rounds N]

Run from the source root with a display (scripts/with-display.sh), as
scripts/compare.sh does. Each side of a comparison runs once per round, the
sides taking turns, and every figure is the median over the rounds with the
minimum and maximum beside it.
"""

import argparse
import datetime
import json
import os
import platform
import resource
import statistics
import subprocess
import sys

CHANNELS = [8, 32, 128]
OUR_MODES = ["preloaded", "streamed", "fading"]
# 60 s of audio in whole 4096-frame blocks.
FRAMES = 646 * 4096
DECODE_PASSES = 8
FRAME_CAP_SECONDS = 69 / 60.0
SIZE = ("1280", "720")
PACKAGES = ["libsdl1.2-compat", "libsdl2-2.0-0", "libsdl-mixer1.2", "libvorbis0a", "libvorbisfile3",
            "libgl1-mesa-dri", "vorbis-tools", "xvfb", "gnuplot-nox"]


class Run:
    """One child process under GNU time: its standard output, wall and CPU seconds, peak memory in MiB."""

    def __init__(self, argv, env=None, log=None):
        merged = dict(os.environ)
        merged.update(env or {})
        timing = os.path.join(SCRATCH[0], "time.txt")
        wrapped = ["/usr/bin/time", "-f", "%e %M", "-o", timing] + argv
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        proc = subprocess.run(wrapped, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=merged)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        self.out = proc.stdout.decode(errors="replace")
        if proc.returncode != 0:
            raise SystemExit("compare: %s failed (%d):\n%s" % (" ".join(argv), proc.returncode,
                                                              proc.stderr.decode(errors="replace")[-2000:]))
        # GNU time's own figures come in hundredths; the children's totals, to the microsecond, cover the
        # program (and GNU time's own few hundred microseconds).
        self.cpu = (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
        self.wall = float(open(timing).read().split()[-2])
        maxrss = open(timing).read().split()[-1]
        self.maxrss_mib = float(maxrss) / 1024.0
        if log is not None:
            log.append(self)

    def field(self, name):
        words = self.out.split()
        return float(words[words.index(name) + 1])


SCRATCH = [""]


def summary(values):
    """(median, min, max), or None for no values."""
    values = [v for v in values if v is not None]
    if not values:
        return None
    return statistics.median(values), min(values), max(values)


def fmt(stat, digits=2, unit=""):
    if stat is None:
        return "not measured"
    median, low, high = stat
    return "%.*f%s (%.*f – %.*f)" % (digits, median, unit, digits, low, digits, high)


def base_name(name):
    """A benchmark's name without the settings Google Benchmark appends ("/min_time:3.000/real_time")."""
    settings = ("min_time:", "min_warmup_time:", "real_time", "process_time", "manual_time", "repeats:",
                "iterations:", "threads:")
    return "/".join(part for part in name.split("/") if not part.startswith(settings))


class Comparison:
    def __init__(self, build, docs, rounds):
        self.build = build
        self.docs = docs
        self.rounds = rounds
        self.tools = os.path.join(build, "tools", "compare")
        self.sounds_dir = os.path.join(build, "compare", "sounds")
        SCRATCH[0] = os.path.join(build, "compare")
        os.makedirs(self.sounds_dir, exist_ok=True)
        self.files = [os.path.join(self.sounds_dir, "Loop%d.ogg" % i) for i in range(8)]
        self.disk = {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": "/dev/null", "SDL_DISKAUDIODELAY": "0"}
        # mix[(side, channels)] -> per-round ns per channel-frame; side is "SDL_mixer" or an OUR_MODES entry.
        self.mix = {}
        self.refill = {}
        self.decode = {"ours": [], "oggdec": [], "bare": []}
        self.startup = {"title": [], "title_frames": [], "game_mib": [], "bare_first": [], "bare_mib": []}
        self.benchmarks = {}
        self.load_before = os.getloadavg()[0]

    def tool(self, name):
        return os.path.join(self.tools, name)

    # ---- the runs -------------------------------------------------------------------------------------------

    def prepare_sounds(self):
        if not all(os.path.exists(f) for f in self.files):
            Run([self.tool("compare-ogg-set"), self.sounds_dir])

    def mixer_round(self, flip):
        """One round of mixing: each side's silent baseline, then every channel count, the sides taking turns."""
        sides = ["SDL_mixer"] + OUR_MODES
        if flip:
            sides.reverse()

        def run(side, channels):
            if side == "SDL_mixer":
                argv = [self.tool("compare-sdlmixer")]
            else:
                argv = [self.tool("compare-murmel"), "--mode", side]
            r = Run(argv + [str(channels), str(FRAMES)] + self.files, env=self.disk)
            frames = r.field("frames")
            return frames, r.field("cpu") / frames, r.field("excluded") / frames

        baseline = {side: run(side, 0) for side in sides}
        for channels in CHANNELS:
            for side in sides:
                frames, per_frame, excluded = run(side, channels)
                # Both mixers must have been measured over the same stretch of output.
                if frames != baseline[sides[0]][0] or baseline[side][0] != frames:
                    raise SystemExit("compare: %s at %d channels counted %d frames, the round's baseline %d"
                                     % (side, channels, frames, baseline[sides[0]][0]))
                cost = (per_frame - baseline[side][1]) / channels * 1e9
                self.mix.setdefault((side, channels), []).append(cost)
                self.refill.setdefault((side, channels), []).append(excluded / channels * 1e9)

    def decode_round(self, flip):
        files = self.files * DECODE_PASSES
        runs = [
            ("ours", [self.tool("compare-vorbis"), "ours"] + files),
            ("oggdec", ["oggdec", "-Q", "-R", "-o", "/dev/null"] + files),
            ("bare", [self.tool("compare-vorbis"), "bare"] + files),
        ]
        for name, argv in (reversed(runs) if flip else runs):
            self.decode[name].append(Run(argv).cpu)

    def startup_round(self, flip):
        game = [os.path.join(self.build, "murmel-worlds-autoplay"), "--until-title", "-win", "-w", SIZE[0], "-h",
                SIZE[1]]
        bare = [self.tool("compare-bare-window")] + list(SIZE)
        # SDL's dummy audio driver: the game opens its device as on a player's machine, minus the sound card.
        for which in (["bare", "game"] if flip else ["game", "bare"]):
            if which == "game":
                r = Run(game, env={"SDL_AUDIODRIVER": "dummy"})
                words = r.out.split()
                self.startup["title"].append(float(words[words.index("after") + 1]))
                self.startup["title_frames"].append(float(words[words.index("s") + 1].lstrip("(")))
                self.startup["game_mib"].append(r.maxrss_mib)
            else:
                r = Run(bare)
                self.startup["bare_first"].append(r.field("frame"))
                self.startup["bare_mib"].append(r.maxrss_mib)

    def run_benchmark(self, program, pattern, field):
        """Each repetition's `field` ("real_time" or "cpu_time") in seconds, by benchmark name."""
        path = os.path.join(self.build, "bench", program)
        if not os.path.exists(path):
            return
        out = os.path.join(SCRATCH[0], program + ".json")
        Run([path, "--benchmark_filter=" + pattern, "--benchmark_format=json", "--benchmark_out=" + out,
             "--benchmark_out_format=json", "--benchmark_repetitions=%d" % self.rounds,
             "--benchmark_report_aggregates_only=false"])
        for entry in json.load(open(out))["benchmarks"]:
            if entry.get("run_type") != "iteration":
                continue
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[entry.get("time_unit", "ns")]
            self.benchmarks.setdefault(base_name(entry["run_name"]), []).append(entry[field] * scale)

    def run_all(self):
        self.prepare_sounds()
        for r in range(self.rounds):
            print("compare: round %d of %d" % (r + 1, self.rounds), flush=True)
            self.mixer_round(r % 2 == 1)
            self.decode_round(r % 2 == 1)
            self.startup_round(r % 2 == 1)
        print("compare: benchmarks", flush=True)
        # A frame is drawn by llvmpipe's own threads as well: wall time. A block is mixed on the calling thread
        # alone: its CPU time, which other work on a busy machine does not inflate.
        self.run_benchmark("GamePlayBench", "BM_JourneyFrame|BM_ClosingFrame", "real_time")
        self.run_benchmark("SoundMixBench", "BM_MurmelMixUsualLoad|BM_MurmelMixNoiseOnly", "cpu_time")
        self.load_after = os.getloadavg()[0]

    # ---- the figures, kept for --report-only ----------------------------------------------------------------

    FIELDS = ["mix", "refill", "decode", "startup", "benchmarks", "load_before", "load_after", "rounds"]

    def save(self, path):
        figures = {name: getattr(self, name) for name in self.FIELDS}
        for name in ("mix", "refill"):
            figures[name] = [[side, channels, values] for (side, channels), values in figures[name].items()]
        json.dump(figures, open(path, "w"))

    def load(self, path):
        figures = json.load(open(path))
        for name in ("mix", "refill"):
            figures[name] = {(side, channels): values for side, channels, values in figures[name]}
        figures["benchmarks"] = {base_name(name): values for name, values in figures["benchmarks"].items()}
        for name in self.FIELDS:
            setattr(self, name, figures[name])

    # ---- the report -----------------------------------------------------------------------------------------

    def ratio(self, ours, theirs):
        """Per-round ratios ours / theirs, paired by round."""
        if not ours or not theirs:
            return None
        return summary([o / t for o, t in zip(ours, theirs) if t > 0])

    def bench_stat(self, name, scale=1.0):
        values = self.benchmarks.get(name)
        return summary([v * scale for v in values]) if values else None

    def verdict(self, stat, limit, at_most=True):
        if stat is None:
            return "not measured"
        met = stat[0] <= limit if at_most else stat[0] >= limit
        if met:
            return "met"
        # A median that the table's rounding shows on the limit itself is shown in full.
        return "**missed**" if round(stat[0], 3) != limit else "**missed** (%.4f)" % stat[0]

    def chart(self):
        data = os.path.join(SCRATCH[0], "mixing.dat")
        columns = ["SDL_mixer"] + OUR_MODES
        with open(data, "w") as out:
            for channels in CHANNELS:
                row = [str(channels)]
                for side in columns:
                    row += ["%.4f %.4f %.4f" % summary(self.mix[(side, channels)])]
                out.write(" ".join(row) + "\n")
        png = os.path.join(self.docs, "performance-mixing.png")
        titles = ["SDL\\_mixer 1.2", "ours, preloaded", "ours, streamed (mixing only)", "ours, every slot fading"]
        plots = []
        for i, title in enumerate(titles):
            base = 2 + 3 * i
            plots.append("'%s' using ($1*%.3f):%d:%d:%d with yerrorlines lw 2 pt %d title '%s'"
                         % (data, 1.0 + 0.04 * (i - 1.5), base, base + 1, base + 2, 5 + i, title))
        script = "\n".join([
            "set terminal pngcairo size 900,560 font 'DejaVu Sans,11'",
            "set output '%s'" % png,
            "set title 'Mixing cost per channel and output frame (median, min–max over %d rounds)'" % self.rounds,
            "set xlabel 'channels playing'",
            "set ylabel 'CPU ns per channel-frame'",
            "set logscale x 2",
            "set xtics (8, 32, 128)",
            "set xrange [6:170]",
            "set yrange [0:*]",
            "set grid ytics",
            "set key below",
            "plot " + ", \\\n     ".join(plots),
        ])
        subprocess.run(["gnuplot"], input=script.encode(), check=True)

    def machine(self):
        model = "unknown"
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
        versions = []
        for package in PACKAGES:
            q = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
            versions.append("%s %s" % (package, q.stdout.decode() if q.returncode == 0 else "(not installed)"))
        return model, versions

    def write(self):
        self.chart()
        model, versions = self.machine()
        cores = os.cpu_count()
        lines = []
        add = lines.append
        add("# Performance, side by side")
        add("")
        add("Written by `make compare` (tools/compare/compare.py) on %s. Do not edit by hand: explanations go in "
            "docs/performance-notes.md, which is copied into the last section." % datetime.date.today().isoformat())
        add("")
        busy = max(self.load_before, self.load_after) > 0.5 * cores
        add("**Machine:** %s, %d cores, Linux %s. Load average %.2f before the run, %.2f after%s." % (
            model, cores, platform.release(), self.load_before, self.load_after,
            " — the machine was busy with other work during this run, so the figures are noisier than on a "
            "quiet machine; the ratios, taken round by round, suffer least" if busy else ""))
        add("")
        add("**Versions:** " + "; ".join(versions) + ". OpenGL is Mesa llvmpipe under Xvfb.")
        add("")
        add("Every figure is the median over %d rounds with the minimum and maximum in brackets. Within a round "
            "the sides take turns, and the order flips every round." % self.rounds)
        add("")
        self.write_mixing(add)
        self.write_decoding(add)
        self.write_frames(add)
        self.write_startup(add)
        self.write_commands(add)
        add("## Explanations of misses")
        add("")
        notes = os.path.join(self.docs, "performance-notes.md")
        if os.path.exists(notes):
            add(open(notes).read().rstrip())
        else:
            add("(none written yet: docs/performance-notes.md)")
        add("")
        with open(os.path.join(self.docs, "performance.md"), "w") as out:
            out.write("\n".join(lines))

    def write_mixing(self, add):
        add("## Mixing")
        add("")
        add("Both mixers play the same eight generated, looping, 10-second stereo Ogg Vorbis files (music-like, "
            "each in its own key, tempo and timbre; written by `compare-ogg-set`), channel *i* playing file "
            "*i* mod 8, through SDL's disk audio driver flat out (`SDL_AUDIODRIVER=disk "
            "SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0`) at 44100 Hz, stereo, 16 bits, 4096-frame "
            "blocks. The starts are spread evenly over one pass of a file, so the channels play from different "
            "positions. Once every channel plays at full level, the program takes the process's CPU time "
            "(getrusage, user + system, every thread) at two block boundaries exactly %d frames (60 s of audio) "
            "apart, counted in the output path (SDL_mixer: `Mix_SetPostMix`; ours: the device callback). From "
            "that, per output frame, the same program's silent run (files loaded, nothing playing) is taken off, "
            "and the rest divided by the channel count: **CPU ns per channel-frame**." % FRAMES)
        add("")
        add("- SDL_mixer: `Mix_LoadWAV` chunks, `Mix_AllocateChannels(N)`, `Mix_PlayChannel(i, chunk, -1)`.")
        add("- Ours: `MurmelSounder` through `SDL1_2AudioDevice`, opened as the game opens it, each channel an "
            "instrument started with `activateSound` (it fades in over 100000 frames; the window opens after "
            "that). The noise bed is off (`killNoise`) in every run, so only the slots are measured.")
        add("  - *preloaded*: `setStreamingThreshold` keeps the 10-second files in memory;")
        add("  - *streamed*: the default threshold, so every slot streams through its ring. The sounder's "
            "streaming thread paces itself by the wall clock (every 62 ms), which a flat-out stream outruns "
            "many times over, so the program installs no thread back-end and the device callback refills the "
            "rings itself after every block. That refill (decoding) is timed on its thread and taken off: the "
            "figure is the mixing alone, as for the other variants; the decoding is shown apart;")
        add("  - *fading*: preloaded, and every slot always in a fade. Each channel fades in for 98304 frames "
            "(the 24 whole blocks inside the 100000-frame instrument fade), is stopped with `deactivateSound` "
            "and fades out from that level in about the same time (the fade is stepped in floats), and is started again "
            "at the first block boundary where a slot has let go, so that never more than N play. "
            "The channels' first starts are spread evenly over one 48-block cycle, so at any moment about half "
            "are rising and half falling, each at its own level. The starts and stops are made from the device "
            "callback between two blocks, where no mix is in progress (the main thread leaves the sounder "
            "alone meanwhile), so that the cycle keeps to the block exactly.")
        add("")
        add("Target: ours at most 0.5 × SDL_mixer at each channel count, in each variant.")
        add("")
        add("| channels | ours | SDL_mixer, ns | ours, ns | ours / SDL_mixer | target ≤ 0.5 |")
        add("|---:|---|---:|---:|---:|---|")
        for channels in CHANNELS:
            theirs = self.mix[("SDL_mixer", channels)]
            for mode in OUR_MODES:
                ours = self.mix[(mode, channels)]
                r = self.ratio(ours, theirs)
                add("| %d | %s | %s | %s | %s | %s |" % (channels, mode, fmt(summary(theirs)), fmt(summary(ours)),
                                                         fmt(r, 3), self.verdict(r, 0.5)))
        add("")
        add("Streamed, the decoding into the rings (not counted above): " + ", ".join(
            "%d channels %s ns per channel-frame" % (c, fmt(summary(self.refill[("streamed", c)]))) for c in CHANNELS)
            + ".")
        add("")
        add("![Mixing cost per channel-frame against channel count](performance-mixing.png)")
        add("")
        add("### The game's own block (bench/SoundMixBench)")
        add("")
        add("Google Benchmark, one 4096-frame block mixed by `MurmelSounder`, CPU time per block, %d "
            "repetitions." % self.rounds)
        add("")
        add("| case | µs per block | target | |")
        add("|---|---:|---:|---|")
        for name, label, limit in (("BM_MurmelMixUsualLoad", "usual game block (noise bed, instrument, "
                                    "spoken passage, music)", 100.0),
                                   ("BM_MurmelMixNoiseOnly", "noise bed alone", 50.0)):
            stat = self.bench_stat(name, 1e6)
            add("| %s | %s | ≤ %.0f µs | %s |" % (label, fmt(stat, 1), limit, self.verdict(stat, limit)))
        add("")

    def write_decoding(self, add):
        add("## Vorbis loading")
        add("")
        add("The eight files, each decoded %d times in one process (%d s of audio), whole-process CPU time "
            "(user + system, from the harness's getrusage of its children): ours through `VorbisfileLoader::loadChunk` in chunks of one "
            "streaming ring buffer (11025 frames); `oggdec -Q -R -o /dev/null` (raw 16-bit output); and a bare "
            "`ov_read_float` loop. Ratio = their time / our time." % (DECODE_PASSES, DECODE_PASSES * 80))
        add("")
        add("| decoder | CPU s | their time / ours | target | |")
        add("|---|---:|---:|---:|---|")
        ours = self.decode["ours"]
        add("| ours (VorbisfileLoader) | %s | | | |" % fmt(summary(ours), 3))
        for name, label, limit in (("oggdec", "oggdec", 1.0), ("bare", "bare ov_read_float loop", 0.97)):
            r = self.ratio(self.decode[name], ours)
            add("| %s | %s | %s | ≥ %.2f | %s |" % (label, fmt(summary(self.decode[name]), 3), fmt(r, 3), limit,
                                                  self.verdict(r, limit, at_most=False)))
        add("")

    def write_frames(self, add):
        add("## Gameplay frame per drawer against raw OpenGL (bench/GamePlayBench)")
        add("")
        add("Google Benchmark under Xvfb (Mesa llvmpipe), real time per frame, %d repetitions. Target: each "
            "drawer's frame at most 1.05 × the same frame in raw OpenGL." % self.rounds)
        add("")
        add("| frame | drawer | ms per frame | drawer / raw OpenGL | target ≤ 1.05 |")
        add("|---|---|---:|---:|---|")
        for frame in ("BM_JourneyFrame", "BM_ClosingFrame"):
            raw = self.benchmarks.get(frame + "/RawGL")
            add("| %s | raw OpenGL | %s | | |" % (frame, fmt(self.bench_stat(frame + "/RawGL", 1e3))))
            for drawer in ("Immediate", "Shader"):
                name = frame + "/" + drawer
                r = self.ratio(self.benchmarks.get(name), raw)
                add("| %s | %s | %s | %s | %s |" % (frame, drawer, fmt(self.bench_stat(name, 1e3)), fmt(r, 3),
                                                    self.verdict(r, 1.05)))
        others = sorted(n for n in self.benchmarks if n.startswith(("BM_JourneyFrame", "BM_ClosingFrame"))
                        and "/" not in n)
        if others:
            add("")
            add("Present but without a raw-OpenGL counterpart: " + "; ".join(
                "%s %s ms" % (n, fmt(self.bench_stat(n, 1e3))) for n in others) + ".")
        add("")

    def write_startup(self, add):
        add("## Start-up and memory")
        add("")
        limit = FRAME_CAP_SECONDS + 0.3
        add("Under Xvfb, windowed at %s × %s. The game: `murmel-worlds-autoplay --until-title`, the real "
            "application at its 60-frame cap with SDL's dummy audio driver, quitting at the first frame the "
            "title screen draws and printing the time since the process was created (the kernel's start time "
            "of the process, to its 10-ms tick). Beside it `compare-bare-window`: SDL 1.2 video, "
            "`SDL_SetVideoMode` with `SDL_OPENGL` at the same size, ten cleared and swapped frames. Peak "
            "resident memory is GNU time's maximum resident set size of each whole run." % SIZE)
        add("")
        title = summary(self.startup["title"])
        bare_mib = summary(self.startup["bare_mib"])
        game_mib = summary(self.startup["game_mib"])
        extra = summary([g - b for g, b in zip(self.startup["game_mib"], self.startup["bare_mib"])])
        add("| measure | game | bare window | target | |")
        add("|---|---:|---:|---:|---|")
        add("| start to first title frame, s | %s | first frame %s | ≤ %.2f (69 frames at 60 Hz + 0.3 s) | %s |" % (
            fmt(title, 3), fmt(summary(self.startup["bare_first"]), 3), limit, self.verdict(title, limit)))
        add("| frames drawn up to it | %s | | | |" % fmt(summary(self.startup["title_frames"]), 0))
        add("| peak resident memory, MiB | %s | %s | | |" % (fmt(game_mib, 1), fmt(bare_mib, 1)))
        add("| game − bare window, MiB | %s | | ≤ 16 | %s |" % (fmt(extra, 1), self.verdict(extra, 16.0)))
        add("")

    def write_commands(self, add):
        add("## Commands")
        add("")
        add("```")
        add("make compare            # scripts/compare.sh: installs, builds, runs all of the below, writes this file")
        add("scripts/install-deps.sh --compare")
        add("cmake --build build -j 2 --target compare-tools GamePlayBench SoundMixBench")
        add("build/tools/compare/compare-ogg-set build/compare/sounds")
        add("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0 \\")
        add("  build/tools/compare/compare-sdlmixer CHANNELS %d build/compare/sounds/Loop{0..7}.ogg" % FRAMES)
        add("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0 \\")
        add("  build/tools/compare/compare-murmel --mode preloaded|streamed|fading CHANNELS %d "
            "build/compare/sounds/Loop{0..7}.ogg" % FRAMES)
        add("    (CHANNELS 0 is the silent baseline; each prints \"frames F cpu S excluded E\")")
        add("build/tools/compare/compare-vorbis ours|bare FILES (the eight, %d times over)" % DECODE_PASSES)
        add("oggdec -Q -R -o /dev/null FILES (the same)")
        add("SDL_AUDIODRIVER=dummy /usr/bin/time -f %M build/murmel-worlds-autoplay --until-title -win -w 1280 -h 720")
        add("/usr/bin/time -f %M build/tools/compare/compare-bare-window 1280 720")
        add("build/bench/GamePlayBench --benchmark_filter='BM_JourneyFrame|BM_ClosingFrame' "
            "--benchmark_format=json --benchmark_repetitions=%d" % self.rounds)
        add("build/bench/SoundMixBench --benchmark_filter='BM_MurmelMixUsualLoad|BM_MurmelMixNoiseOnly' "
            "--benchmark_format=json --benchmark_repetitions=%d" % self.rounds)
        add("```")
        add("")
        add("All but `make compare` run under a display: `scripts/with-display.sh` around the whole harness.")
        add("")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("docs")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--report-only", action="store_true",
                        help="write the document again from the last run's figures, without measuring")
    args = parser.parse_args()
    os.makedirs(args.docs, exist_ok=True)
    comparison = Comparison(args.build, args.docs, args.rounds)
    saved = os.path.join(SCRATCH[0], "figures.json")
    if args.report_only:
        comparison.load(saved)
    else:
        comparison.run_all()
        comparison.save(saved)
    comparison.write()
    print("compare: wrote %s" % os.path.join(args.docs, "performance.md"))


if __name__ == "__main__":
    sys.exit(main())
