#!/usr/bin/env python3
"""Writes docs/playability.md from the logs of scripts/playability.sh.

Each log is the robot's output for one player at one window shape with one
seed (PLAYER-SHAPE-seedN.log, PLAYER being a persona or PERSONA-first-time):
its milestones ("autoplay: world 3 at frame 2710, ..."), its flash report and
its verdict. Frames are counted at 60 a second, whatever the machine drew.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys

MILESTONE = re.compile(r"^autoplay: (.+?) at frame (\d+)")
FINISHED = re.compile(r"^autoplay: finished: (\d+) frames from the click to the quit")
FLASH = re.compile(r"^autoplay: flash report: (.*)$")
STUCK = re.compile(r"^murmel-worlds-autoplay: (.*)$")
GAVE_UP = re.compile(r"^the first-time player gave up on world (\d+)")
EXIT = re.compile(r"^exit status (\d+)$")
FPS = 60.0
# A median this many times the perfect player's is marked in the tables.
SLOW = 3.0
FIRST_TIME = " (first time)"
WORLDS = 8


def read_run(path):
    run = {"marks": {}, "finished": None, "flash": None, "verdict": None}
    if not os.path.exists(path):
        run["verdict"] = "not run"
        return run
    with open(path, errors="replace") as log:
        for line in log:
            line = line.rstrip("\n")
            m = MILESTONE.match(line)
            if m and m.group(1) not in run["marks"]:
                run["marks"][m.group(1)] = int(m.group(2))
            m = FINISHED.match(line)
            if m:
                run["finished"] = int(m.group(1))
            m = FLASH.match(line)
            if m:
                run["flash"] = m.group(1)
            m = STUCK.match(line)
            if m and run["verdict"] is None:
                run["verdict"] = m.group(1)
            m = EXIT.match(line)
            # timeout's status: the robot was killed before it could say why.
            if m and m.group(1) == "124" and run["verdict"] is None:
                run["verdict"] = "killed at the time limit"
    if run["finished"] is None and run["verdict"] is None:
        run["verdict"] = "no verdict"
    return run


def world_frames(run):
    """Frames spent in each world (arrival to the next arrival), the closing to the quit."""
    marks = run["marks"]
    stops = ["world %d" % i for i in range(WORLDS)] + ["closing", "quit"]
    spans = []
    for here, after in zip(stops, stops[1:]):
        if here in marks and after in marks:
            spans.append(marks[after] - marks[here])
        else:
            spans.append(None)
    return spans


def gave_up_on(run):
    m = GAVE_UP.match(run["verdict"] or "")
    return int(m.group(1)) if m else None


def median(values):
    return statistics.median(values) if values else None


def frames_cell(values, total, reference):
    """Median and worst of the runs' frames against the perfect player's median; bold when far over it."""
    if not values:
        return "none of %d finished" % total
    middle, worst = statistics.median(values), max(values)
    text = "%.0f (%.1f s" % (middle, middle / FPS)
    if reference:
        text += ", ×%.2f" % (middle / reference)
    if worst != middle:
        text += "; worst %d, %.1f s" % (worst, worst / FPS)
    text += ")"
    if reference and middle > SLOW * reference:
        text = "**%s**" % text
    if len(values) < total:
        text += "; %d of %d finished" % (len(values), total)
    return text


def seconds_spread(frames):
    """Median seconds, with the worst in brackets when the runs differ."""
    middle, worst = statistics.median(frames), max(frames)
    text = "%.1f s" % (middle / FPS)
    return text if worst == middle else text + " (worst %.1f s)" % (worst / FPS)


def first_time_cell(runs, world):
    """First answer and time to finish a world over the seeds, and how often the player gave up on it."""
    name = "world %d" % world
    reached = [r for r in runs if name in r["marks"]]
    if not reached:
        return "–"
    answers = [r["marks"]["answer in " + name] - r["marks"][name] for r in reached if "answer in " + name in r["marks"]]
    spans = [world_frames(r)[world] for r in reached if world_frames(r)[world] is not None]
    gave_up = sum(1 for r in runs if gave_up_on(r) == world)
    parts = []
    if answers or spans:
        parts.append("first answer " + (seconds_spread(answers) if answers else "none seen"))
    if answers and len(answers) < len(reached):
        parts[0] += " in %d of %d" % (len(answers), len(reached))
    if spans:
        parts.append("finished " + seconds_spread(spans))
        if len(spans) < len(runs):
            parts[-1] += " in %d of %d" % (len(spans), len(runs))
    if gave_up:
        parts.append("gave up (%d of %d)" % (gave_up, len(runs)))
    return " · ".join(parts) or "did not finish"


def persona_table(robot):
    """The persona figures as the robot states them."""
    try:
        text = subprocess.run([robot, "--list-personas"], capture_output=True, text=True, timeout=30).stdout
    except (OSError, subprocess.SubprocessError):
        return "(the robot could not be asked for its personas)\n"
    return text


def flash_numbers(flash):
    if not flash:
        return None, None
    general = re.search(r"(\d+) general flash", flash)
    red = re.search(r"(\d+) red flash", flash)
    return (int(general.group(1)) if general else None, int(red.group(1)) if red else None)


def read_extra(path):
    if not os.path.exists(path):
        return None
    with open(path) as extra:
        return extra.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("logs")
    parser.add_argument("docs")
    parser.add_argument("--personas", required=True)
    parser.add_argument("--shapes", required=True)
    parser.add_argument("--seeds", default="1")
    parser.add_argument("--first-time", default="", help="personas that also played for the first time")
    parser.add_argument("--first-time-shapes", default="")
    parser.add_argument("--minutes", type=int, help="the matrix's wall time")
    parser.add_argument("--jobs", type=int)
    parser.add_argument("--robot", default="build/murmel-worlds-autoplay")
    args = parser.parse_args()
    personas, shapes, seeds = args.personas.split(), args.shapes.split(), args.seeds.split()
    newcomers, newcomer_shapes = args.first_time.split(), args.first_time_shapes.split()
    # Each row: its name in the tables, its name in the log files, the shapes it played.
    rows = [(p, p, shapes) for p in personas] + [(p + FIRST_TIME, p + "-first-time", newcomer_shapes)
                                                 for p in newcomers]
    all_shapes = shapes + [s for s in newcomer_shapes if s not in shapes]
    runs = {(row, s): [read_run(os.path.join(args.logs, "%s-%s-seed%s.log" % (stem, s, seed))) for seed in seeds]
            for row, stem, row_shapes in rows for s in row_shapes}
    run_count = len(runs) * len(seeds)

    def perfect(s, pick):
        """The perfect player's median at a shape of what pick takes from a run, if it has one."""
        return median([v for v in map(pick, runs.get(("perfect", s), [])) if v is not None])

    sheets = os.path.join(args.docs, "playability")
    os.makedirs(sheets, exist_ok=True)
    out = []
    out.append("# Playability\n")
    out.append("Written by `make playability` (`scripts/playability.sh`, `tools/playability/report.py`): every player "
               "the robot can be plays the whole game, from the click on the title screen to the quit, uncapped in a "
               "window of each shape, with its flash meter on. Frames are counted as the game counts them, 60 a "
               "second, whatever the machine drew; seconds are those frames at 60 a second. `perfect` is the "
               "superhuman robot, the speed reference; the others are human player models that see only what the "
               "screen shows and act within human limits." + (" A persona marked *(first time)* has never played: it "
               "does not know what each world wants and finds it out from what the screen answers." if newcomers
               else "") + "\n")
    line = "Each player played each of its shapes %d time%s, with the game's seeds %s (a seed draws the game's random " \
           "numbers and the persona's hand): %d runs in all." % (len(seeds), "" if len(seeds) == 1 else "s",
                                                                 ", ".join(seeds), run_count)
    if args.minutes is not None:
        took = {0: "under a minute", 1: "1 minute"}.get(args.minutes, "%d minutes" % args.minutes)
        line += " The matrix took %s on this machine" % took
        if args.jobs:
            line += " (%d runs at a time on %d cores)" % (args.jobs, os.cpu_count() or 1)
        line += "."
    out.append(line + "\n")
    out.append("## Personas\n")
    out.append(persona_table(args.robot))
    hand = read_extra(os.path.join(os.path.dirname(os.path.abspath(__file__)), "hand.md"))
    if hand:
        out.append(hand)

    out.append("\n## The whole game\n")
    out.append("Frames from the click to the quit, the median over the seeds; in brackets, its seconds, against the "
               "perfect player's median at the same shape, and the worst run where it differs.\n")
    out.append("| persona | " + " | ".join(all_shapes) + " |")
    out.append("|---|" + "---|" * len(all_shapes))
    failures = []
    for row, stem, row_shapes in rows:
        cells = []
        for s in all_shapes:
            if s not in row_shapes:
                cells.append("–")
                continue
            reference = None if row == "perfect" else perfect(s, lambda r: r["finished"])
            done = [r["finished"] for r in runs[(row, s)] if r["finished"] is not None]
            cells.append(frames_cell(done, len(seeds), reference))
            for seed, r in zip(seeds, runs[(row, s)]):
                if r["finished"] is None:
                    failures.append((row, s, seed, r["verdict"]))
        out.append("| `%s` | " % row + " | ".join(cells) + " |")
    out.append("\n**bold**: over %.0f× the perfect player.\n" % SLOW)
    if failures:
        out.append("Runs that did not finish:\n")
        out.extend("- `%s` at %s, seed %s: %s" % failure for failure in failures)
        out.append("")

    out.append("## Frames per world\n")
    out.append("From a world's arrival (the fade-in for world 0) to the next one's; the closing runs from its flash's "
               "end to the quit. The median over the seeds, against the perfect player's, and the worst run where it differs; "
               "**bold**: over %.0f× the perfect player.\n" % SLOW)
    for s in all_shapes:
        out.append("### %s window\n" % s)
        out.append("| persona | " + " | ".join("world %d" % i for i in range(WORLDS)) + " | closing |")
        out.append("|---|" + "---|" * (WORLDS + 1))
        for row, stem, row_shapes in rows:
            if s not in row_shapes:
                continue
            cells = []
            for i in range(WORLDS + 1):
                reference = None if row == "perfect" else perfect(s, lambda r: world_frames(r)[i])
                spans = [world_frames(r)[i] for r in runs[(row, s)] if world_frames(r)[i] is not None]
                cells.append(frames_cell(spans, len(seeds), reference))
            out.append("| `%s` | " % row + " | ".join(cells) + " |")
        out.append("")

    if newcomers:
        out.append("## First-time players\n")
        out.append("A first-time player tries things (wandering about, combing the screen, circles, shakes, holding "
                   "still, ...) until the screen answers what it does, keeps on with what answers, and gives up on a "
                   "world after three minutes in it. For each world: the seconds from its arrival to the first frame "
                   "at which the player noticed an answer, and to the next world's arrival (the closing, after "
                   "world 7); medians over the %d seed%s (%s), the worst in brackets where it differs; *gave up (n of %d)* counts the "
                   "runs that gave up there.\n" % (len(seeds), "" if len(seeds) == 1 else "s", ", ".join(seeds),
                                                   len(seeds)))
        for s in newcomer_shapes:
            out.append("### %s window\n" % s)
            out.append("| persona | " + " | ".join("world %d" % i for i in range(WORLDS)) + " |")
            out.append("|---|" + "---|" * WORLDS)
            for p in newcomers:
                out.append("| `%s` | " % (p + FIRST_TIME) +
                           " | ".join(first_time_cell(runs[(p + FIRST_TIME, s)], i) for i in range(WORLDS)) + " |")
            out.append("")

    out.append("## Flashes\n")
    out.append("Each run's flash meter reads every frame's relative luminance as it is drawn and counts, for every "
               "second (60 frames), the flashes (pairs of opposing changes of at least 10 % where the darker is below "
               "0.80, or opposing transitions involving a saturated red) where the flashing covers more than a quarter "
               "of some 10-degree field of view (a third of the screen's width and height, the 341 × 256 pixels of a "
               "1024 × 768 screen), the general-flash and red-flash thresholds of WCAG 2.3.1. Worst second over the "
               "seeds, general / red; at most 3 passes.\n")
    out.append("| persona | " + " | ".join(all_shapes) + " |")
    out.append("|---|" + "---|" * len(all_shapes))
    worst = worst_people = 0
    for row, stem, row_shapes in rows:
        cells = []
        for s in all_shapes:
            readings = [flash_numbers(r["flash"]) for r in runs.get((row, s), [])]
            readings = [(general, red or 0) for general, red in readings if general is not None]
            if not readings:
                cells.append("–")
                continue
            general, red = max(g for g, _ in readings), max(r for _, r in readings)
            worst = max(worst, general, red)
            if row != "perfect":
                worst_people = max(worst_people, general, red)
            cells.append("%d / %d" % (general, red))
        out.append("| `%s` | " % row + " | ".join(cells) + " |")
    out.append("\nWorst second in the whole matrix: %d flash%s; of the human player models: %d.\n"
               % (worst, "" if worst == 1 else "es", worst_people))
    if ("perfect", shapes[0]) in runs and runs[("perfect", shapes[0])][0]["flash"]:
        out.append("The perfect player's report at %s, seed %s: `%s`\n"
                   % (shapes[0], seeds[0], runs[("perfect", shapes[0])][0]["flash"]))

    out.append("## Contact sheets\n")
    sheet_persona = "calm" if "calm" in personas else personas[0]
    out.append("The `%s` persona's frames at each shape, seed %s: the title, each world, captions, the gathering, "
               "the end.\n" % (sheet_persona, seeds[0]))
    for s in shapes:
        source = os.path.join(args.logs, "%s-%s-seed%s" % (sheet_persona, s, seeds[0]), "contact-sheet.png")
        if os.path.exists(source):
            shutil.copyfile(source, os.path.join(sheets, "contact-sheet-%s.png" % s))
            out.append("### %s\n\n![%s](playability/contact-sheet-%s.png)\n" % (s, s, s))
    # What the figures do not say by themselves, written by hand.
    for extra in [os.path.join(args.docs, "playability-notes.md"),
                  os.path.join(os.path.dirname(os.path.abspath(__file__)), "slow-worlds.md")]:
        text = read_extra(extra)
        if text:
            out.append(text)
    with open(os.path.join(args.docs, "playability.md"), "w") as doc:
        doc.write("\n".join(out) + "\n")
    print("playability: wrote %s" % os.path.join(args.docs, "playability.md"))
    # A first-time player giving up is a finding the report shows, not a broken run.
    broken = [f for f in failures if gave_up_on({"verdict": f[3]}) is None]
    if broken:
        print("playability: did not finish: " + ", ".join("%s at %s, seed %s" % f[:3] for f in broken),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
