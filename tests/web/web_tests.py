#!/usr/bin/python3
"""The browser build in real browsers: the static site served as any plain
file server would, the page driven as a person would drive it (a click, a
tap, a finger's move, a key, a tab put aside) in three engines: a headless
Chromium over the DevTools protocol, Firefox over WebDriver BiDi and
WebKitGTK over WebDriver, the last two on a private X server and sound server.

  web_tests.py [--site DIR] [--out DIR] [--robot-args ARGS] [--engine NAME ...] [CASE ...]

Cases, in this order unless named: server, then in each engine its own of
title, steps, touch, robot, hidden, silent, console (the last looks at every
message of the engine's cases before it). Each prints PASS or FAIL with its
reason, and each engine its figures; the exit status is 1 when any failed.
The output folder gets the server's log and a folder for each engine with
the robot's frames (robot-frames/*.png), the title's screenshot, every
console message (console.log), the browser's own output for each case
(<case>.log) and the sound the robot's game handed to Web Audio, as
tests/web/heard.py records it (heard.json).
"""
import argparse
import contextlib
import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import time
import urllib.parse
import urllib.request

import bidi
import desktop
import devtools
import driver
import heard
import pixels
import webdriver

if __name__ == "__main__":
    # One copy of this module: the one the cases of mishaps.py import.
    import web_tests
    sys.exit(web_tests.main())

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ENGINES = ("chromium", "firefox", "webkit")
# The game states' names (game/TitleScreen.h, game/GamePlayState.h).
TITLE_STATE = "TitleScreen"
PLAY_STATE = "GamePlayState"
# Each world's background (game/World*.cpp) as 0-255 triples, as a range of
# mixes: the first world warms from grey towards red as the player nears its spot.
WORLD_BACKGROUNDS = [
    ((115, 115, 115), (204, 38, 26)),
    ((50, 56, 180),) * 2,
    ((134, 172, 136),) * 2,
    ((233, 250, 185),) * 2,
    ((184, 113, 180),) * 2,
    ((97, 154, 30),) * 2,
    ((0, 0, 0),) * 2,
    ((143, 141, 40),) * 2,
]
FRAME_NAMES = ["title"] + ["world-%d" % world for world in range(8)] + ["gathering", "end"]
LANDSCAPE = (960, 540)
PORTRAIT = (540, 960)
LOAD_SECONDS = 90.0
# The whole game takes about a minute and a half of play after the title's introduction.
ROBOT_SECONDS = 480.0
# The robot's own options in the robot case: the times of world 3's red flashes, five of them.
ROBOT_ARGS = "--flash-times --watch-flashes 4"
# Chromium's robot plays at the game's pace, on a busy machine; the other engines' draw as fast as they can (world 3
# still at the game's pace), which halves their time. Processes spinning beside the browser while the robot plays at
# the game's pace: the sound must not run dry on a busy machine.
UNCAPPED = {"chromium": False, "firefox": True, "webkit": True}
SPINNERS = 2
# The most WebAssembly memory a whole game may take: a phone's share.
MEMORY_MIB = 32
# A red flash reaches the screen this close to its downbeat reaching the ear (the median), and comes within
# two frames of the bars' whole-second grid.
IN_STEP_MS = 45.0
GRID_MS = 2000.0 / 60
# The spoken introduction on the title screen, whose end brings the prompt, lasts about this long.
INTRODUCTION_SECONDS = 9.0
MILESTONE = re.compile(r"autoplay: (.+) at frame \d+, ([0-9.]+) s")
# No game step for this long: the page has stopped (the title's introduction keeps stepping).
STALL_SECONDS = 20.0
# The robot names where it is at least this often (the longest, from the gathering to the fade, takes about 45 s
# in the slowest engine): a game stuck where it steps on (a title whose introduction never ends) fails this soon.
SILENCE_SECONDS = 90.0
STATS = "(() => { const m = window.murmel; if (!m || !m.stats) return null;" \
        " const s = m.stats(); return typeof s === 'string' ? JSON.parse(s) : s; })()"


class Failure(Exception):
    pass


def check(condition, reason):
    if not condition:
        raise Failure(reason)


class Run:
    """What one engine's cases share: the site's address, the output folder, the private desktop's environment
    (None for Chromium, which needs none), every browser's messages and the figures the cases measured."""

    def __init__(self, engine, url, site, out, robot_args, environment=None):
        self.engine, self.url, self.site, self.out, self.robot_args = engine, url, site, out, robot_args
        self.environment = environment
        self.messages = []
        self.figures = {}

    def browser(self, name, extra_flags=()):
        """A browser of the engine for the case of this name; extra_flags are Chromium's."""
        log, console = os.path.join(self.out, name + ".log"), os.path.join(self.out, "console.log")
        if self.engine == "chromium":
            return devtools.Browser(name, log, console, extra_flags, self.messages)
        kind = bidi.Browser if self.engine == "firefox" else webdriver.Browser
        return kind(name, log, console, self.environment, self.messages)


def stats(browser):
    return browser.evaluate(STATS)


def set_viewport(browser, size, ratio=1, mobile=False):
    browser.set_viewport(*size, ratio=ratio, mobile=mobile)


def start_game(browser, url, tap=False):
    """Loads the page and presses #play once it is ready: with the mouse, or a finger. Returns when it pressed,
    on the monotonic clock."""
    browser.navigate(url)
    browser.wait_for("!document.querySelector('#play').disabled", LOAD_SECONDS, "#play to be enabled")
    label = browser.evaluate("document.querySelector('#play').textContent")
    check(label == "click to play", "#play, enabled, reads %r, not 'click to play'" % label)
    x, y = browser.centre_of("#play")
    pressed = time.monotonic()
    if tap:
        browser.touch("touchStart", x, y)
        browser.touch("touchEnd")
    else:
        browser.click(x, y)
    browser.wait_for("(%s || {}).steps > 0" % STATS, 30.0, "the game's first step after the press on #play")
    return pressed


def wait_for_state(browser, wanted, timeout, poke=None, seen=None, interval=1.0):
    """Waits for the game state, printing each one seen after the state seen; poke() is called every
    interval seconds or so meanwhile."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        # No figures before the program has started.
        state = (stats(browser) or {}).get("state")
        if state != seen:
            print("  state: %s" % state, flush=True)
            seen = state
        if state == wanted:
            return
        if poke:
            poke()
        browser.pump(interval)
    raise Failure("no %s within %g s (last state %r)" % (wanted, timeout, seen))


def title_text(image):
    """White pixels of the title's name, in the top left where the title draws it, and the background there."""
    counts = pixels.colour_counts(image, right=image.width // 2, bottom=image.height // 5)
    background, _ = pixels.dominant(counts)
    return pixels.white_count(counts), background


def title_problem(image, what):
    """What is wrong with the title's name in an image of the title screen; None when nothing is."""
    white, background = title_text(image)
    if white < 50:
        return "%s: %d white pixels where the title's name is drawn, fewer than 50" % (what, white)
    if min(background) >= 245:
        return "%s: the background behind the title's name is white too" % what
    return None


# The cases. Each returns what it saw, or raises Failure.

def case_server(run):
    """The site's files come with the types browsers want and no cross-origin isolation."""
    wanted = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
              ".data": "application/octet-stream"}
    names = sorted(n for n in os.listdir(run.site) if os.path.splitext(n)[1] in wanted)
    check("index.html" in names, "no index.html in %s" % run.site)
    for name in names:
        with urllib.request.urlopen(urllib.request.Request(run.url + name, method="HEAD")) as reply:
            kind = reply.headers.get_content_type()
            check(kind == wanted[os.path.splitext(name)[1]], "%s served as %s" % (name, kind))
            for header in ("Cross-Origin-Opener-Policy", "Cross-Origin-Embedder-Policy"):
                check(header not in reply.headers, "%s served with %s" % (name, header))
    return "%d files with their types, no isolation headers" % len(names)


def case_title(run):
    """After the click, the title screen draws its name in white."""
    with run.browser("title") as browser:
        set_viewport(browser, LANDSCAPE)
        pressed = start_game(browser, run.url + "index.html")
        wait_for_state(browser, TITLE_STATE, 60.0, interval=0.1)
        run.figures["click to title (s)"] = "%.1f" % (time.monotonic() - pressed)
        # Past the fade-in.
        run.figures["steps a second on the title"] = "%.1f" % measure_steps(browser, 3.0)
        shot = browser.screenshot()
    with open(os.path.join(run.out, "title-screenshot.png"), "wb") as file:
        file.write(shot)
    image = pixels.decode_png(shot)
    check(image is not None, "the screenshot is no PNG this reads")
    problem = title_problem(image, "the screenshot")
    check(problem is None, problem)
    return "%d white text pixels on %s" % title_text(image)


def measure_steps(browser, seconds):
    """Game steps a second over this many seconds of the page's own clock."""
    sample = "[performance.now(), %s.steps]" % STATS
    start_ms, start_steps = browser.evaluate(sample)
    browser.pump(seconds)
    end_ms, end_steps = browser.evaluate(sample)
    return (end_steps - start_steps) * 1000.0 / (end_ms - start_ms)


PAINT_RATE = """new Promise(done => {
  let paints = 0; const start = performance.now();
  const paint = () => { ++paints; const ms = performance.now() - start;
    if (ms < 1000) requestAnimationFrame(paint); else done(paints * 1000 / ms); };
  requestAnimationFrame(paint); })"""


def case_steps(run):
    """Sixty game steps a second, however fast the browser paints."""
    with run.browser("steps", ["--disable-frame-rate-limit", "--disable-gpu-vsync"]) as browser:
        set_viewport(browser, LANDSCAPE)
        start_game(browser, run.url + "index.html")
        # The loading screen's first frames may come in a burst.
        browser.pump(2.0)
        paints = browser.evaluate(PAINT_RATE)
        rate = measure_steps(browser, 5.0)
    check(abs(rate - 60.0) <= 3.0, "%.1f steps a second at %.0f paints a second, not 60 +- 3" % (rate, paints))
    return "%.1f steps a second at %.0f paints a second" % (rate, paints)


CANVAS = """(() => { const c = document.querySelector('canvas'); const r = c.getBoundingClientRect();
  return [r.left, r.top, r.width, r.height, c.width, c.height, devicePixelRatio]; })()"""


def follow_finger(browser, points, tolerance=4.0):
    """Moves a touching finger (or the mouse, its button held) through the points (CSS pixels); the largest
    distance to the game's pointer."""
    left, top, width, height, canvas_width, canvas_height, ratio = browser.evaluate(CANVAS)
    worst = 0.0
    browser.touch("touchStart", *points[0])
    for x, y in points[1:]:
        browser.touch("touchMove", x, y)
        wanted = ((x - left) * canvas_width / width, (y - top) * canvas_height / height)
        deadline = time.monotonic() + 3.0
        while True:
            pointer = stats(browser)["pointer"]
            error = max(abs(pointer["x"] - wanted[0]), abs(pointer["y"] - wanted[1]))
            if error <= tolerance or time.monotonic() > deadline:
                break
            browser.pump(0.05)
        check(error <= tolerance, "finger at (%g, %g) CSS pixels, %.0f device pixels a CSS pixel: pointer at"
              " (%d, %d), not near (%.0f, %.0f)" % (x, y, ratio, pointer["x"], pointer["y"], *wanted))
        worst = max(worst, error)
    browser.touch("touchEnd")
    return worst, ratio


def case_touch(run):
    """On a phone-shaped page, taps start the game and the title; the pointer follows a finger. An engine
    without touch does the same with the mouse."""
    with run.browser("touch") as browser:
        set_viewport(browser, PORTRAIT, ratio=2, mobile=True)
        start_game(browser, run.url + "index.html", tap=True)
        wait_for_state(browser, TITLE_STATE, 60.0)
        middle = (PORTRAIT[0] / 2, PORTRAIT[1] / 2)

        def tap():
            browser.touch("touchStart", *middle)
            browser.touch("touchEnd")

        # The prompt comes after the spoken introduction; until then a tap does nothing.
        wait_for_state(browser, PLAY_STATE, 90.0, poke=tap, seen=TITLE_STATE)
        path = [(60 + 60 * k, 150 + 95 * k) for k in range(8)]
        worst, ratio = follow_finger(browser, path)
    tap, finger = ("tap", "finger") if browser.touches else ("click", "mouse")
    return "a %s on #play started the game, %ss on the title the play; the pointer followed the %s" \
           " within %.1f device pixels (devicePixelRatio %g)" % (tap, tap, finger, worst, ratio)


def robot_verdict(messages, milestone=None):
    """The robot's finished line among these messages, printing its milestones (and handing each to milestone());
    None when it is not there. Its failure, or any uncaught exception, raises."""
    for message in messages:
        first = message.text.splitlines()[0] if message.text else ""
        if message.origin == "exception" or first.startswith("murmel-worlds-autoplay:"):
            raise Failure("the robot failed: " + first)
        if first.startswith("autoplay: "):
            print("  " + first, flush=True)
            if milestone:
                milestone(first)
        if first.startswith("autoplay: finished:"):
            return first
    return None


def follow_robot(browser, timeout, milestone=None):
    """Waits for the robot's verdict; returns its finished line and whether the audio context was seen
    running. A game that stops stepping, or whose robot falls silent, or that ends without the verdict fails at
    once."""
    deadline = time.monotonic() + timeout
    read, running, ended_at = 0, False, None
    steps, stepped_at = -1, time.monotonic()
    said, said_at = "the press on #play", time.monotonic()

    def heard(line):
        nonlocal said, said_at
        said, said_at = line, time.monotonic()
        if milestone:
            milestone(line)

    while time.monotonic() < deadline:
        browser.pump(1.0)
        finished = robot_verdict(browser.messages[read:], heard)
        if finished:
            return finished, running
        read = len(browser.messages)
        check(time.monotonic() - said_at < SILENCE_SECONDS, "the robot said nothing for %g s after %s"
              % (SILENCE_SECONDS, said))
        now, ended = browser.evaluate("[%s, window.murmel ? window.murmel.ended : null]" % STATS)
        running = running or bool(now and (now.get("audioState") == "running" or now.get("audioRan")))
        if now and now["steps"] != steps:
            steps, stepped_at = now["steps"], time.monotonic()
        check(time.monotonic() - stepped_at < STALL_SECONDS, "the game stopped stepping at step %d" % steps)
        # The verdict is printed before the page hears of the end: a moment's grace for its message.
        if ended is not None:
            ended_at = ended_at or time.monotonic()
            check(time.monotonic() - ended_at < 3.0, "the game ended (status %s) without the robot's verdict" % ended)
    raise Failure("no verdict from the robot within %g s" % timeout)


def check_frame(name, image):
    """What is wrong with one of the robot's frames; None when nothing is."""
    if name == "title":
        return title_problem(image, "title")
    counts = pixels.colour_counts(image)
    match = re.fullmatch(r"world-(\d)", name)
    if match:
        start, end = WORLD_BACKGROUNDS[int(match.group(1))]
        # A bright world's rings and shadows may be dark; a dark world is its background.
        keep = (lambda colour: True) if pixels.is_dark(start) else (lambda colour: not pixels.is_dark(colour))
        colour, share = pixels.dominant(counts, keep)
        if colour is None or pixels.distance_to_segment(colour, start, end) > 6:
            return "%s: mostly %s (%.0f %%), not the world's background %s" % (name, colour, 100 * share, start)
        return None
    colour, share = pixels.dominant(counts)
    if share > 0.98 or pixels.is_dark(colour) and share > 0.9:
        return "%s: blank (%.0f %% %s)" % (name, 100 * share, colour)
    return None


FRAMES = "window.murmel && window.murmel.frames || {}"


def save_frames(frames, folder):
    """Writes each frame the robot kept as folder/name.png; their images, None for any that does not decode."""
    os.makedirs(folder, exist_ok=True)
    images = {}
    for name, url in frames.items():
        data = urllib.request.urlopen(url).read() if url.startswith("data:") else b""
        with open(os.path.join(folder, re.sub(r"[^\w.-]", "_", name) + ".png"), "wb") as file:
            file.write(data)
        images[name] = pixels.decode_png(data)
    return images


def check_sound(last, running):
    check(last is not None, "no stats after the game")
    problems = [what for what, bad in (
        ("no audio blocks", last["audioBlocks"] <= 0), ("no loud blocks", last["loudBlocks"] <= 0),
        ("peak %g, not above 0.001" % last["peak"], last["peak"] <= 0.001),
        ("the audio context was never seen running", not running)) if bad]
    check(not problems, "sound: " + ", ".join(problems))
    return "%d audio blocks, %d loud, peak %.3f" % (last["audioBlocks"], last["loudBlocks"], last["peak"])


class Spinners:
    """Processes spinning beside the browser, as other programs keep a machine busy; they may be held a while."""

    def __init__(self, count):
        self.processes = [subprocess.Popen([sys.executable, "-c", "while True: pass"],
                                           preexec_fn=driver.die_with_parent) for _ in range(count)]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for process in self.processes:
            process.kill()
            process.wait()

    def hold(self, held):
        for process in self.processes:
            os.kill(process.pid, signal.SIGSTOP if held else signal.SIGCONT)


def hearing(blocks, flashes):
    """Prints what the test heard: the audio blocks' lead on the context's time and their gaps, each red flash
    against its downbeat and against the whole-second grid. Returns what is wrong, and the figures in a line."""
    ahead = blocks.ahead_ms() or [0.0]
    gaps, reading = blocks.gaps()
    levels = blocks.levels()
    beats = [heard.downbeat(levels, flash) for flash in flashes]
    offsets = [flash - beat for flash, beat in zip(flashes, beats) if beat is not None]
    residuals = heard.grid_residuals(flashes) if flashes else []
    print("  %d audio blocks of %s frames, started %.0f ms ahead of the context's time (median; %.0f to %.0f);"
          " %d gaps, %d more while the robot read a frame back" % (
              len(blocks.blocks), blocks.sizes(), statistics.median(ahead), min(ahead), max(ahead), gaps, reading))
    print("  %d red flashes; flash - downbeat: %s ms; off the whole-second grid: %s ms" % (
        len(flashes), " ".join("%+.0f" % o for o in offsets), " ".join("%+.0f" % r for r in residuals)), flush=True)
    median = statistics.median(abs(o) for o in offsets) if offsets else 0.0
    worst = max((abs(o) for o in offsets), default=0.0)
    grid = max((abs(r) for r in residuals), default=0.0)
    problems = [what for what, bad in (
        ("no audio block", not blocks.blocks), ("%d gaps between audio blocks" % gaps, gaps),
        ("%d red flashes in world 3, fewer than 3" % len(flashes), len(flashes) < 3),
        ("no sound near a red flash", None in beats),
        ("the red flashes %.0f ms from their downbeats (median), more than %g" % (median, IN_STEP_MS),
         median > IN_STEP_MS),
        ("a red flash %.0f ms off the whole-second grid, more than two frames" % grid, grid > GRID_MS)) if bad]
    return problems, "in step: %d red flashes %.0f ms from their downbeats (median; worst %.0f), within %.0f ms" \
        " of the whole-second grid; %d audio blocks of %s frames, %.0f ms ahead (median), no gap" % (
            len(flashes), median, worst, grid, len(blocks.blocks), blocks.sizes(), statistics.median(ahead))


def robot_page(args):
    return "index.html?autoplay&args=" + urllib.parse.quote(args.strip())


def case_robot(run):
    """The robot plays the whole game in the page, at the game's pace on a busy machine or uncapped; its frames and
    the game's sound are checked and, where a script can run before the page's own, the sound's blocks for gaps,
    and world 3's red flashes against the downbeats as they are heard."""
    folder = os.path.join(run.out, "robot-frames")
    args = (ROBOT_ARGS + " --uncapped" * UNCAPPED[run.engine] + " " + run.robot_args).split()
    uncapped = "--uncapped" in args
    with Spinners(0 if uncapped else SPINNERS) as spinners, run.browser("robot") as browser:
        set_viewport(browser, LANDSCAPE)
        if browser.preloads:
            browser.preload(heard.RECORD)
        pressed = start_game(browser, run.url + robot_page(" ".join(args)))

        def milestone(line):
            # The robot reads a pixel of each frame of world 3 back, which waits for the frame to be drawn: with the
            # machine busy, that would time its flashes by the neighbours' share of the processors.
            if line.startswith(("autoplay: world 3 at", "autoplay: world 4 at")):
                spinners.hold(line.startswith("autoplay: world 3 at"))

        try:
            finished, running = follow_robot(browser, ROBOT_SECONDS, milestone)
        except Failure:
            # What the robot kept before it failed, for a person to look at.
            save_frames(browser.evaluate(FRAMES), folder)
            raise
        run.figures["robot's whole game (s)"] = "%.0f" % (time.monotonic() - pressed)
        images = save_frames(browser.evaluate(FRAMES), folder)
        last = stats(browser)
        problems, in_step = [], "the sound not heard (no script runs before the page's own)"
        if browser.preloads:
            record = browser.evaluate("window.murmelHeard")
            with open(os.path.join(run.out, "heard.json"), "w") as file:
                json.dump(record, file)
            problems, in_step = hearing(heard.Blocks(record), heard.flashes_ms(browser.messages))
            # Only the robot at the game's pace keeps the flashes' time; an uncapped one's are figures.
            problems = [] if uncapped else problems
    running = running or bool(last and last.get("audioRan"))
    missing = [name for name in FRAME_NAMES if name not in images]
    problems += ["no frame %s" % ", ".join(missing)] if missing else []
    for name, image in sorted(images.items()):
        # Uncapped, the robot keeps this frame before the caption comes: its frames run ahead of the sound's time,
        # which the caption keeps.
        if uncapped and name == "captions":
            continue
        problem = "%s: no PNG this reads" % name if image is None else check_frame(name, image)
        problems += [problem] if problem else []
    check(not problems, "; ".join(problems))
    sound = check_sound(last, running)
    # The memory only grows: at the end, this is its peak.
    check(last["heapBytes"] <= MEMORY_MIB * 1048576, "WebAssembly memory %.1f MiB, more than %d" % (
        last["heapBytes"] / 1048576.0, MEMORY_MIB))
    return "%s; %d frames as expected%s; %s; %s; WebAssembly memory %.1f MiB" % (
        finished, len(images), " (uncapped: not the captions')" if uncapped else "", sound, in_step,
        last["heapBytes"] / 1048576.0)


SOUND_NOTE = "(() => { const note = document.querySelector('#sound-note'), s = %s || {};" \
             " return {shown: !note.hidden && note.getClientRects().length > 0, soundNote: s.soundNote," \
             " standingIn: s.standingIn}; })()" % STATS


def case_silent(run):
    """With every audio context held suspended, the page says that sound is off, and the game keeps its time on
    the silent clock: the title's introduction ends when it would have been heard, the robot finishes the whole
    game, with no error."""
    seconds = {}

    def milestone(line):
        match = MILESTONE.match(line)
        if match:
            seconds.setdefault(match.group(1), float(match.group(2)))

    with run.browser("silent") as browser:
        set_viewport(browser, LANDSCAPE)
        browser.preload(heard.HUSH)
        start_game(browser, run.url + robot_page("--uncapped " + run.robot_args))
        try:
            browser.wait_for("Object.values(%s).every(Boolean)" % SOUND_NOTE, 10.0, "the note that sound is off")
        except driver.DriverError:
            raise Failure("sound held off, a few seconds in: %s" % browser.evaluate(SOUND_NOTE))
        finished, running = follow_robot(browser, ROBOT_SECONDS, milestone)
        messages = browser.messages
    check(not running, "the audio context ran, held suspended")
    introduction = seconds.get("prompt", float("inf")) - seconds.get("title screen", 0.0)
    check(introduction <= 1.5 * INTRODUCTION_SECONDS, "the title's introduction took %.1f s on the silent clock,"
          " more than half again its %g s" % (introduction, INTRODUCTION_SECONDS))
    errors, _ = console_problems(("silent", message) for message in messages)
    check(not errors, "%d errors, the first: %s" % (len(errors), errors[0] if errors else ""))
    return "%s; sound held off: the note shown, the introduction over in %.1f s on the silent clock" % (
        finished, introduction)


def console_problems(messages):
    """The errors and the warnings among (case, message) pairs, as text."""
    errors, warnings = [], []
    for name, message in messages:
        if "favicon" not in message.text and message.level in ("error", "assert", "warning"):
            (warnings if message.level == "warning" else errors).append("%s: %s" % (name, message))
    return errors, warnings


# The page's tab stays behind another this long.
HIDDEN_SECONDS = 4.0


def case_hidden(run):
    """On the title, the page's tab is put behind another for a few seconds and brought back: the page sees
    itself hidden and shown, the game steps on, its sound runs again if it ran before, a key starts the play,
    and nothing errs."""
    with run.browser("hidden") as browser:
        set_viewport(browser, LANDSCAPE)
        start_game(browser, run.url + "index.html")
        wait_for_state(browser, TITLE_STATE, 60.0)
        # A context may start a moment after the click.
        try:
            ran = browser.wait_for("%s.audioRan" % STATS, 5.0, "the sound to start")
        except driver.DriverError:
            ran = False
        browser.hide()
        browser.wait_for("document.visibilityState == 'hidden'", 10.0, "the page to be hidden")
        before = stats(browser)
        browser.pump(HIDDEN_SECONDS)
        hidden = stats(browser)
        browser.show()
        browser.wait_for("document.visibilityState == 'visible'", 10.0, "the page to be shown again")
        browser.wait_for("%s.steps > %d" % (STATS, hidden["steps"] + 30), 10.0, "the game to step on")
        if ran:
            browser.wait_for("%s.audioState == 'running'" % STATS, 10.0, "the sound to run again")
        wait_for_state(browser, PLAY_STATE, 60.0, poke=lambda: browser.press("Enter"), seen=TITLE_STATE)
        messages = browser.messages
    errors, _ = console_problems((run.engine, message) for message in messages)
    check(not errors, "%d errors, the first: %s" % (len(errors), errors[0] if errors else ""))
    return "hidden %g s: %d steps, the sound %s meanwhile; shown: steps again, the sound %s, Enter started the" \
           " play" % (HIDDEN_SECONDS, hidden["steps"] - before["steps"], hidden["audioState"],
                      "running again" if ran else "never ran")


def case_console(run):
    """No error, uncaught exception or error log entry in any case; warnings are printed."""
    errors, warnings = console_problems(run.messages)
    for line in warnings:
        print("  warning in " + line)
    run.figures["console errors"] = str(len(errors))
    check(not errors, "%d errors, the first: %s" % (len(errors), errors[0] if errors else ""))
    return "no errors in %d messages (%d warnings)" % (len(run.messages), len(warnings))


# Each case and the engines it runs in; the server's needs no browser.
CHROMIUM = ("chromium",)
CASES = {"server": (case_server, ()), "title": (case_title, ENGINES), "steps": (case_steps, CHROMIUM),
         "touch": (case_touch, ENGINES), "robot": (case_robot, ENGINES), "hidden": (case_hidden, ENGINES),
         "silent": (case_silent, CHROMIUM), "console": (case_console, ENGINES)}
# What players meet beyond a clean run; these make errors on purpose, which the console case does not see.
import mishaps  # noqa: E402 (its cases use what is above)
CASES.update((name, (case, CHROMIUM)) for name, case in mishaps.CASES.items())


def start_server(site, log):
    """scripts/serve-web.py on a free port; the process and its address."""
    server = subprocess.Popen(["/usr/bin/python3", os.path.join(ROOT, "scripts", "serve-web.py"), site],
                              stdout=subprocess.PIPE, stderr=log, text=True, preexec_fn=driver.die_with_parent)
    line = server.stdout.readline()
    match = re.search(r"(http://\S+/)", line)
    if not match:
        server.kill()
        sys.exit("web_tests.py: the file server did not start: %r" % line)
    return server, match.group(1)


def run_case(name, run):
    title = " ".join(filter(None, (run.engine, name)))
    started = time.monotonic()
    print("%s ..." % title, flush=True)
    try:
        verdict, reason = "PASS", CASES[name][0](run)
    except (Failure, driver.DriverError) as failure:
        verdict, reason = "FAIL", str(failure)
    print("%s %s (%.0f s): %s" % (verdict, title, time.monotonic() - started, reason), flush=True)
    return verdict == "PASS"


def run_engine(engine, names, url, args):
    """The engine's cases of these, in a folder of the output's of its own; the names of those that failed and
    the figures measured."""
    out = os.path.join(args.out, engine)
    # Nothing of an earlier run may pass for this one's.
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    started = time.monotonic()
    try:
        # One desktop for all of the engine's browsers: they start and end on it in turn.
        with contextlib.nullcontext() if engine == "chromium" else desktop.Desktop(
                os.path.join(out, "desktop.log")) as screen:
            run = Run(engine, url, args.site, out, args.robot_args, screen and screen.environment)
            failed = [name for name in names if not run_case(name, run)]
    except driver.DriverError as error:
        print("FAIL %s: %s" % (engine, error), flush=True)
        return names, {}
    run.figures["all its cases (s)"] = "%.0f" % (time.monotonic() - started)
    return failed, run.figures


def print_figures(figures):
    """A table of each engine's figures, an engine a column."""
    rows = list(dict.fromkeys(row for column in figures.values() for row in column))
    width = max(map(len, rows), default=0)
    print("%-*s  %s" % (width, "figures", "  ".join("%10s" % engine for engine in figures)))
    for row in rows:
        print("%-*s  %s" % (width, row, "  ".join("%10s" % column.get(row, "-") for column in figures.values())))


def arguments():
    parser = argparse.ArgumentParser(description="Tests the browser build in Chromium, Firefox and WebKitGTK.")
    parser.add_argument("--site", default=os.path.join(ROOT, "build-web", "site"), help="the static site")
    parser.add_argument("--out", default=os.path.join(ROOT, "build-web", "test-out"), help="where results go")
    parser.add_argument("--robot-args", default="", help="the robot's options, e.g. --uncapped")
    parser.add_argument("--engine", action="append", choices=ENGINES, dest="engines",
                        help="an engine to test in (default: all three); may be given again")
    parser.add_argument("cases", nargs="*", metavar="CASE",
                        help="of %s (default: all, in this order)" % ", ".join(CASES))
    args = parser.parse_args()
    unknown = set(args.cases) - set(CASES)
    if unknown:
        parser.error("no case %s" % ", ".join(sorted(unknown)))
    args.cases = args.cases or list(CASES)
    args.engines = [engine for engine in ENGINES if engine in (args.engines or ENGINES)]
    return args


def main():
    args = arguments()
    if not os.path.isfile(os.path.join(args.site, "index.html")):
        sys.exit("web_tests.py: no site in %s: make web builds it" % args.site)
    os.makedirs(args.out, exist_ok=True)
    # A terminated run still takes its browsers and servers down (the finally clauses).
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))
    started = time.monotonic()
    failed, figures, count = [], {}, 0
    with open(os.path.join(args.out, "server.log"), "w") as log:
        server, url = start_server(args.site, log)
        try:
            alone = [name for name in args.cases if not CASES[name][1]]
            count += len(alone)
            failed += [name for name in alone if not run_case(name, Run(None, url, args.site, args.out, ""))]
            for engine in args.engines:
                names = [name for name in args.cases if engine in CASES[name][1]]
                if names:
                    count += len(names)
                    engine_failed, figures[engine] = run_engine(engine, names, url, args)
                    failed += ["%s %s" % (engine, name) for name in engine_failed]
        finally:
            server.terminate()
            server.wait()
    if figures:
        print_figures(figures)
    print("web tests: %d of %d passed in %.0f s; results in %s%s" % (
        count - len(failed), count, time.monotonic() - started, args.out,
        "; failed: " + ", ".join(failed) if failed else ""))
    return 1 if failed else 0
