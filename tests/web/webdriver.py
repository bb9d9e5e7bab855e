"""WebKitGTK's MiniBrowser driven over classic W3C WebDriver (WebKitWebDriver): one browser, one page.

The browser wants an X display for its window and WebGL and a sound server
for Web Audio: the environment given names both (desktop.py). WebDriver
classic has no console, no script run before the page's own and no
finger (WebKitGTK's touch actions are mouse events): the page's messages are
read from the page's own log (window.murmel.log) whenever the driver waits,
and touch() moves the mouse with its button held.
"""
import base64
import json
import socket
import sysconfig
import time
import urllib.error
import urllib.request

from driver import Actions, Driver, DriverError, as_json

DRIVER = "WebKitWebDriver"
# libwebkit2gtk-4.1-0's own browser, in the machine's multiarch folder.
MINIBROWSER = "/usr/lib/%s/webkit2gtk-4.1/MiniBrowser" % sysconfig.get_config_var("MULTIARCH")
# The page's log from the given line on: every line the program printed and every uncaught error.
PAGE_LOG = "(window.murmel && window.murmel.log || []).slice(%d)"
LEVELS = {"warn": "warning"}


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Browser(Actions, Driver):
    """MiniBrowser with its one window."""

    engine = "webkit"
    touches = False
    preloads = False

    def __init__(self, name, log_path, console_path, environment, sink=None):
        super().__init__(name, log_path, console_path, sink)
        self.environment = environment
        self.port = free_port()
        self.session = None
        self.window = None
        self.read = 0

    def command(self):
        return [DRIVER, "--port=%d" % self.port]

    def connect(self):
        deadline = time.monotonic() + 30.0
        while True:
            self.check_running()
            try:
                if self.call("GET", "/status", session=False)["ready"]:
                    break
            except DriverError:
                if time.monotonic() > deadline:
                    raise
            time.sleep(0.1)
        options = {"binary": MINIBROWSER, "args": ["--automation"]}
        self.session = self.call("POST", "/session", session=False, body={
            "capabilities": {"alwaysMatch": {"webkitgtk:browserOptions": options}}})["sessionId"]

    def disconnect(self):
        if not self.session:
            return
        try:
            self._collect()
            self.call("DELETE", "", timeout=10.0)
        except DriverError:
            pass
        self.session = None

    def call(self, method, path, body=None, session=True, timeout=60.0):
        """One request; its value, or DriverError with the driver's reason."""
        url = "http://127.0.0.1:%d%s%s" % (self.port, "/session/%s" % self.session if session else "", path)
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(url, data=data, method=method,
                                         headers={"Content-Type": "application/json; charset=utf-8"})
        try:
            with urllib.request.urlopen(request, timeout=timeout) as reply:
                return json.loads(reply.read())["value"]
        except urllib.error.HTTPError as error:
            answer = error.read()
            try:
                reason = "%(error)s: %(message)s" % json.loads(answer)["value"]
            except (ValueError, KeyError, TypeError):
                reason = answer.decode(errors="replace")
            raise DriverError("%s %s: %s" % (method, path or "/", reason)) from error
        except OSError as error:
            raise DriverError("%s %s: %s" % (method, path or "/", error)) from error

    def pump(self, seconds):
        """Waits, then records what the page logged meanwhile."""
        time.sleep(max(0.0, seconds))
        self._collect()

    def _collect(self):
        for entry in self.evaluate(PAGE_LOG % self.read):
            self.record("page", LEVELS.get(entry["level"], entry["level"]), entry["text"])
            self.read += 1

    # The page.
    def navigate(self, url, timeout=60.0):
        self.call("POST", "/url", {"url": url}, timeout=timeout)
        self.read = 0

    def evaluate(self, expression):
        """The expression's value in the page, as JSON; an exception in the page raises."""
        value = self.call("POST", "/execute/sync", {"script": "return " + as_json(expression), "args": []})
        return None if value is None else json.loads(value)

    def perform(self, sources):
        self.call("POST", "/actions", {"actions": sources})

    def set_viewport(self, width, height, ratio=1, mobile=False):
        """The window's size that gives the page this size (its toolbar takes the rest); WebKitGTK has one
        device pixel a CSS pixel here and no touch: ratio and mobile change nothing."""
        self.call("POST", "/window/rect", {"width": width, "height": height})
        inner = self.evaluate("[innerWidth, innerHeight]")
        self.call("POST", "/window/rect", {"width": 2 * width - inner[0], "height": 2 * height - inner[1]})

    def screenshot(self):
        return base64.b64decode(self.call("GET", "/screenshot"))

    # A new tab or window leaves WebKitGTK's page visible: only a minimised window hides it.
    def hide(self):
        self.window = self.call("GET", "/window/rect")
        self.call("POST", "/window/minimize", {})

    def show(self):
        # Setting the window's place and size restores it.
        self.call("POST", "/window/rect", self.window)
