#!/usr/bin/python3
"""Finishes the browser build's site once its programs and sounds are built:
writes index.html and sw.js from their templates, with the build's version
(a hash of what the site serves) and the size of every file a visit fetches,
and copies the manifest and its icons beside them.

  stamp-site.py SITE TEMPLATES ICON...

Each file's address carries the version ("murmel-worlds.wasm?v=..."), so a
browser never puts a cached file of one build beside another build's.
"""
import hashlib
import json
import os
import shutil
import sys

# What the page fetches, in the order it runs them: the sounds' package and
# its loader, then a program (the game, or the robot player's "?autoplay").
SHARED = ["murmel-worlds-data.js", "murmel-worlds.data"]
PROGRAMS = ["murmel-worlds", "murmel-worlds-autoplay"]
# A person's visit, which the service worker keeps for the next one (the
# robot player's program is fetched, not kept).
KEPT_PAGES = ["index.html", "manifest.webmanifest"]


def main():
    site, templates, icons = sys.argv[1], sys.argv[2], sys.argv[3:]
    fetched = SHARED + [program + ext for program in PROGRAMS for ext in (".js", ".wasm")]
    digest = hashlib.sha256()
    sizes = {}
    for name in fetched:
        with open(os.path.join(site, name), "rb") as file:
            data = file.read()
        digest.update(name.encode() + b"\0" + data)
        sizes[name] = len(data)
    os.makedirs(os.path.join(site, "icons"), exist_ok=True)
    icon_names = []
    for icon in icons:
        # .../hicolor/256x256/apps/murmel-worlds.png becomes icons/murmel-worlds-256.png.
        size = os.path.basename(os.path.dirname(os.path.dirname(icon))).split("x")[0]
        icon_names.append("icons/murmel-worlds-%s.png" % size)
        shutil.copyfile(icon, os.path.join(site, icon_names[-1]))
    shutil.copyfile(os.path.join(templates, "manifest.webmanifest"), os.path.join(site, "manifest.webmanifest"))
    version = digest.hexdigest()[:16]
    site_json = json.dumps({"version": version, "sizes": sizes}, sort_keys=True)
    kept = KEPT_PAGES + icon_names + ["%s?v=%s" % (name, version) for name in SHARED + ["murmel-worlds.js",
                                                                                       "murmel-worlds.wasm"]]
    stamps = {"index.html": ("/*@SITE@*/null", site_json),
              "sw.js": ("/*@KEPT@*/null", json.dumps({"version": version, "files": kept}))}
    for name, (marker, value) in stamps.items():
        with open(os.path.join(templates, name), encoding="utf-8") as file:
            text = file.read()
        if marker not in text:
            sys.exit("stamp-site.py: no %s in %s" % (marker, name))
        # Written whole, then moved: a server never hands out half a page.
        target = os.path.join(site, name)
        with open(target + ".new", "w", encoding="utf-8") as file:
            file.write(text.replace(marker, value))
        os.replace(target + ".new", target)
    print("stamp-site.py: version %s, %d bytes to fetch" % (version, sum(sizes[n] for n in SHARED) + sizes[
        "murmel-worlds.js"] + sizes["murmel-worlds.wasm"]))


if __name__ == "__main__":
    main()
