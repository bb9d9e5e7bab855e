"""What players meet beyond a clean run, in Chromium: a lost picture, a failed download, an abort, the keyboard on
the end screen, a turned phone, a visit without a network. Each case takes web_tests' Run and returns what it saw,
or raises web_tests.Failure; their messages stay out of the console case (they make errors on purpose)."""
import os
import shutil
import tempfile
import time

import devtools
import driver
import web_tests as web

PROBLEM = "(() => { const p = document.querySelector('#problem'); return p.hidden ? null :" \
          " [document.querySelector('#problem-text').textContent, document.querySelector('#retry').textContent]; })()"
# The game's own background in world 0, before the player nears its spot.
WORLD_0_GREY = (115, 115, 115)


def browser(run, name):
    return devtools.Browser(name, os.path.join(run.out, name + ".log"), os.path.join(run.out, "console.log"))


def press(browser, selector):
    browser.click(*browser.centre_of(selector))


def into_world(browser):
    """From the click on #play to world 0: clicks on the title once its introduction is over."""
    web.wait_for_state(browser, web.TITLE_STATE, 60.0)
    web.wait_for_state(browser, web.PLAY_STATE, 90.0, poke=lambda: browser.click(20, 20), seen=web.TITLE_STATE)


def problem_shown(browser, within, *words):
    """Waits for the page's message; fails unless it names each word. Returns the message and its button."""
    try:
        text, button = browser.wait_for(PROBLEM, within, "the page's message")
    except driver.DriverError as error:
        raise web.Failure(str(error)) from error
    missing = [word for word in words if word not in text]
    web.check(not missing, "the message %r does not name %s" % (text, ", ".join(missing)))
    return text, button


def plays_again(browser, url=None):
    """After "try again" (or a fresh page) the game starts and reaches its title."""
    press(browser, "#retry")
    browser.wait_for("document.readyState === 'complete' && !document.querySelector('#play').disabled",
                     web.LOAD_SECONDS, "#play to be enabled again")
    press(browser, "#play")
    web.wait_for_state(browser, web.TITLE_STATE, 60.0)


def case_lost(run):
    """The WebGL context lost mid-world: the page says so within 2 s, and its button starts a game that plays."""
    with browser(run, "lost") as page:
        web.set_viewport(page, web.LANDSCAPE)
        web.start_game(page, run.url + "index.html")
        into_world(page)
        lost_at = time.monotonic()
        page.evaluate("setTimeout(() => document.querySelector('canvas').getContext('webgl')"
                      ".getExtension('WEBGL_lose_context').loseContext()); true")
        text, button = problem_shown(page, 2.0, "picture")
        shown = time.monotonic() - lost_at
        web.check(shown <= 2.5, "the message came %.1f s after the loss" % shown)
        plays_again(page)
    return "%r in %.1f s; %r played again" % (text, shown, button)


def case_download(run):
    """A 404 on the sounds' package: the page names the file and the status; "try again" fetches it once it is
    there, and the game plays."""
    folder = tempfile.mkdtemp(prefix="murmel-web-site-")
    try:
        site = os.path.join(folder, "site")
        shutil.copytree(run.site, site)
        data = os.path.join(site, "murmel-worlds.data")
        os.rename(data, data + ".away")
        with open(os.path.join(run.out, "download-server.log"), "w") as log:
            server, url = web.start_server(site, log)
            try:
                with browser(run, "download") as page:
                    page.navigate(url + "index.html")
                    text, _ = problem_shown(page, web.LOAD_SECONDS, "murmel-worlds.data", "404")
                    os.rename(data + ".away", data)
                    plays_again(page)
            finally:
                server.terminate()
                server.wait()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return "%r; try again played" % text


def case_abort(run):
    """An abort mid-game shows a message naming it over the stopped game; "try again" plays."""
    with browser(run, "abort") as page:
        web.set_viewport(page, web.LANDSCAPE)
        web.start_game(page, run.url + "index.html")
        web.wait_for_state(page, web.TITLE_STATE, 60.0)
        page.evaluate("setTimeout(() => Module.abort('forced by the test')); true")
        text, _ = problem_shown(page, 5.0, "forced by the test")
        plays_again(page)
    return "%r; try again played" % text


def case_again(run):
    """Escape ends a game; Enter on "play again" starts a second one, and its keys reach the game."""
    with browser(run, "again") as page:
        web.set_viewport(page, web.LANDSCAPE)
        web.start_game(page, run.url + "index.html")
        web.wait_for_state(page, web.TITLE_STATE, 60.0)
        page.press("Escape")
        page.wait_for("window.murmel.ended === 0 && document.activeElement.id === 'again'", 10.0,
                      "the end screen with the focus on 'play again'")
        page.press("Enter")
        page.wait_for("window.murmel.ended === null", 5.0, "a second game after Enter")
        web.wait_for_state(page, web.TITLE_STATE, 60.0)
        page.press("Escape")
        page.wait_for("window.murmel.ended === 0", 10.0, "the second game to end at Escape")
    return "Enter on 'play again' started a second game, which Escape ended"


def edge_colours(image):
    """The dominant colours of the image's leftmost and rightmost tenths."""
    tenth = image.width // 10
    return [web.pixels.dominant(web.pixels.colour_counts(image, left=left, right=left + tenth))[0]
            for left in (0, image.width - tenth)]


def case_turn(run):
    """A phone turned mid-world: within a second the game draws world 0 at the new shape, edge to edge."""
    with browser(run, "turn") as page:
        web.set_viewport(page, web.PORTRAIT, mobile=True)
        web.start_game(page, run.url + "index.html")
        into_world(page)
        web.set_viewport(page, web.LANDSCAPE, mobile=True)
        turned = time.monotonic()
        page.wait_for("(c => c.width === %d && c.height === %d)(document.querySelector('canvas'))" % web.LANDSCAPE,
                      1.0, "the canvas at %d x %d" % web.LANDSCAPE)
        took = time.monotonic() - turned
        page.pump(0.5)
        shot = page.screenshot()
        state = web.stats(page)["state"]
    with open(os.path.join(run.out, "turned-screenshot.png"), "wb") as file:
        file.write(shot)
    web.check(state == web.PLAY_STATE, "the turn left the game in %s" % state)
    edges = edge_colours(web.pixels.decode_png(shot))
    web.check(all(colour and web.pixels.distance_to_segment(colour, WORLD_0_GREY, WORLD_0_GREY) <= 12
                  for colour in edges), "the turned picture's edges are %s, not world 0's grey" % edges)
    return "reshaped to %d x %d in %.2f s, world 0 drawn edge to edge" % (*web.LANDSCAPE, took)


def served_bytes(log_path, site):
    """What the file server sent, by its log: each whole file answered 200."""
    total = 0
    with open(log_path, encoding="utf-8") as log:
        for line in log:
            parts = line.split('"')
            if len(parts) < 3 or not parts[2].split() or parts[2].split()[0] != "200":
                continue
            path = parts[1].split()[1].split("?")[0].lstrip("/") or "index.html"
            total += os.path.getsize(os.path.join(site, path))
    return total


def case_offline(run):
    """A second visit reaches the title from what the first kept, with the network gone (the server stopped)."""
    log_path = os.path.join(run.out, "offline-server.log")
    with browser(run, "offline") as page, open(log_path, "w") as log:
        server, url = web.start_server(run.site, log)
        try:
            web.set_viewport(page, web.LANDSCAPE)
            web.start_game(page, url + "index.html")
            web.wait_for_state(page, web.TITLE_STATE, 60.0)
            page.wait_for("navigator.serviceWorker.ready.then(r => !!r.active)", 30.0, "the site to be kept")
            first = served_bytes(log_path, run.site)
            web.start_game(page, url + "index.html")
            web.wait_for_state(page, web.TITLE_STATE, 60.0)
            second = served_bytes(log_path, run.site) - first
        finally:
            server.terminate()
            server.wait()
        start = time.monotonic()
        web.start_game(page, url + "index.html")
        web.wait_for_state(page, web.TITLE_STATE, 60.0)
    return "first visit %.2f MB, second %.1f kB; with the server stopped the title came %.1f s after opening the page" % (
        first / 1e6, second / 1e3, time.monotonic() - start)


CASES = {"lost": case_lost, "download": case_download, "abort": case_abort, "again": case_again,
         "turn": case_turn, "offline": case_offline}
