#!/usr/bin/env python3
"""Writes docs/playability.md from the logs of scripts/playability.sh.

Each log is the robot's output for one persona at one window shape: its
milestones ("autoplay: world 3 at frame 2710, ..."), its flash report and its
verdict. Frames are counted at 60 a second, whatever the machine drew.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

MILESTONE = re.compile(r"^autoplay: (.+?) at frame (\d+)")
FINISHED = re.compile(r"^autoplay: finished: (\d+) frames from the click to the quit")
FLASH = re.compile(r"^autoplay: flash report: (.*)$")
STUCK = re.compile(r"^murmel-worlds-autoplay: (.*)$")
FPS = 60.0


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
    return run


def world_frames(run):
    """Frames spent in each world (arrival to the next arrival), the closing to the quit."""
    marks = run["marks"]
    stops = ["world %d" % i for i in range(8)] + ["closing", "quit"]
    spans = []
    for here, after in zip(stops, stops[1:]):
        if here in marks and after in marks:
            spans.append(marks[after] - marks[here])
        else:
            spans.append(None)
    return spans


def cell(frames):
    return "–" if frames is None else "%d (%.1f s)" % (frames, frames / FPS)


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("logs")
    parser.add_argument("docs")
    parser.add_argument("--personas", required=True)
    parser.add_argument("--shapes", required=True)
    parser.add_argument("--robot", default="build/murmel-worlds-autoplay")
    args = parser.parse_args()
    personas, shapes = args.personas.split(), args.shapes.split()
    runs = {(p, s): read_run(os.path.join(args.logs, "%s-%s.log" % (p, s))) for p in personas for s in shapes}

    sheets = os.path.join(args.docs, "playability")
    os.makedirs(sheets, exist_ok=True)
    out = []
    out.append("# Playability\n")
    out.append("Written by `make playability` (`scripts/playability.sh`, `tools/playability/report.py`): every player "
               "the robot can be plays the whole game, from the click on the title screen to the quit, uncapped in a "
               "window of each shape, with its flash meter on. Frames are counted as the game counts them, 60 a "
               "second, whatever the machine drew; seconds are those frames at 60 a second. `perfect` is the "
               "superhuman robot, the speed reference; the others are human player models that see only what the "
               "screen shows and act within human limits.\n")
    out.append("## Personas\n")
    out.append(persona_table(args.robot))
    out.append("\n## The whole game\n")
    out.append("Frames from the click to the quit; in brackets, against the perfect player at the same shape.\n")
    out.append("| persona | " + " | ".join(shapes) + " |")
    out.append("|---|" + "---|" * len(shapes))
    failures = []
    for p in personas:
        row = []
        for s in shapes:
            run = runs[(p, s)]
            reference = runs.get(("perfect", s), {}).get("finished")
            if run["finished"] is None:
                row.append("**stuck**: " + (run["verdict"] or "no verdict"))
                failures.append("%s at %s" % (p, s))
            elif reference and p != "perfect":
                row.append("%d (%.1f s, ×%.2f)" % (run["finished"], run["finished"] / FPS,
                                                   run["finished"] / float(reference)))
            else:
                row.append("%d (%.1f s)" % (run["finished"], run["finished"] / FPS))
        out.append("| `%s` | " % p + " | ".join(row) + " |")
    out.append("\n## Frames per world\n")
    out.append("From a world's arrival (the fade-in for world 0) to the next one's; the closing runs from its flash's "
               "end to the quit.\n")
    for s in shapes:
        out.append("### %s window\n" % s)
        out.append("| persona | " + " | ".join("world %d" % i for i in range(8)) + " | closing |")
        out.append("|---|" + "---|" * 9)
        for p in personas:
            out.append("| `%s` | " % p + " | ".join(cell(f) for f in world_frames(runs[(p, s)])) + " |")
        out.append("")
    out.append("## Flashes\n")
    out.append("Each run's flash meter reads every frame's relative luminance as it is drawn and counts, for every "
               "second (60 frames), the flashes (pairs of opposing changes of at least 10 % where the darker is below "
               "0.80, or opposing transitions involving a saturated red) where the flashing covers more than a quarter "
               "of some 10-degree field of view (a third of the screen's width and height, the 341 × 256 pixels of a "
               "1024 × 768 screen), the general-flash and red-flash thresholds of WCAG 2.3.1. Worst second of each "
               "run, general / red; at most 3 passes.\n")
    out.append("| persona | " + " | ".join(shapes) + " |")
    out.append("|---|" + "---|" * len(shapes))
    worst = 0
    for p in personas:
        row = []
        for s in shapes:
            general, red = flash_numbers(runs[(p, s)]["flash"])
            if general is None:
                row.append("–")
                continue
            worst = max(worst, general, red or 0)
            row.append("%d / %d" % (general, red or 0))
        out.append("| `%s` | " % p + " | ".join(row) + " |")
    worst_people = max([max(flash_numbers(runs[(p, s)]["flash"])[0] or 0, flash_numbers(runs[(p, s)]["flash"])[1] or 0)
                        for p in personas if p != "perfect" for s in shapes] or [0])
    out.append("\nWorst second in the whole matrix: %d flash%s; of the human player models: %d.\n"
               % (worst, "" if worst == 1 else "es", worst_people))
    for p, s in [("perfect", shapes[0])]:
        if runs[(p, s)]["flash"]:
            out.append("The perfect player's report at %s: `%s`\n" % (s, runs[(p, s)]["flash"]))
    out.append("## Contact sheets\n")
    sheet_persona = "calm" if "calm" in personas else personas[0]
    out.append("The `%s` persona's frames at each shape: the title, each world, captions, the gathering, the end.\n"
               % sheet_persona)
    for s in shapes:
        source = os.path.join(args.logs, "%s-%s" % (sheet_persona, s), "contact-sheet.png")
        if os.path.exists(source):
            target = os.path.join(sheets, "contact-sheet-%s.png" % s)
            shutil.copyfile(source, target)
            out.append("### %s\n\n![%s](playability/contact-sheet-%s.png)\n" % (s, s, s))
    # What the figures do not say by themselves, written by hand.
    notes = os.path.join(args.docs, "playability-notes.md")
    if os.path.exists(notes):
        with open(notes) as extra:
            out.append(extra.read())
    with open(os.path.join(args.docs, "playability.md"), "w") as doc:
        doc.write("\n".join(out) + "\n")
    print("playability: wrote %s" % os.path.join(args.docs, "playability.md"))
    if failures:
        print("playability: did not finish: " + ", ".join(failures), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
