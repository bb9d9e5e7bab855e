"""A headless Chromium driven over the DevTools protocol: one browser, one page.

Debian's chromium renders WebGL with SwiftShader on the CPU, so the page runs
on machines without a GPU or a display (CI, as root). Every console message,
uncaught exception and browser log entry is kept, and written to a log file
as it comes. Chromium's gesture rules are its own: sound starts inside a
trusted click, and a tab behind another is throttled as any would be.
Beyond the operations of every driver (driver.py), send() speaks the
protocol itself.
"""
import base64
import json
import os
import time

from driver import Channel, Driver, DriverError

CHROMIUM = "chromium"
FLAGS = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--no-sandbox",
    "--remote-debugging-port=0",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
]
# Key presses as Chromium wants them: key, code, Windows' key code and the text typed.
KEYS = {"Enter": ("Enter", "Enter", 13, "\r"), "Escape": ("Escape", "Escape", 27, "")}


# The name the cases know this driver's errors by.
DevToolsError = DriverError


def _remote_text(value):
    if "value" in value:
        return value["value"] if isinstance(value["value"], str) else json.dumps(value["value"])
    return value.get("description", value.get("type", ""))


class Browser(Driver):
    """Chromium with its first page attached."""

    engine = "chromium"

    def __init__(self, name, log_path, console_path, extra_flags=(), sink=None):
        super().__init__(name, log_path, console_path, sink)
        self.flags = FLAGS + list(extra_flags)
        self.channel = None
        self.session = None
        self.target = None
        self.behind = None

    def command(self):
        return [CHROMIUM] + self.flags + ["--user-data-dir=" + self.folder, "about:blank"]

    def connect(self):
        port, path = self._read_active_port(30.0)
        self.channel = Channel("ws://127.0.0.1:%d%s" % (port, path), self.engine, self._record)
        self._attach_to_page()
        for domain in ("Runtime", "Log", "Page"):
            self.send(domain + ".enable")

    def disconnect(self):
        if self.channel:
            self.channel.close()
            self.channel = None

    def _read_active_port(self, timeout):
        path = os.path.join(self.folder, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.check_running()
            try:
                with open(path, encoding="ascii") as file:
                    lines = file.read().split()
                if len(lines) == 2:
                    return int(lines[0]), lines[1]
            except (FileNotFoundError, ValueError):
                pass
            time.sleep(0.1)
        raise DevToolsError("chromium wrote no DevToolsActivePort within %g s" % timeout)

    def _attach_to_page(self):
        targets = self.send("Target.getTargets", session=False)["targetInfos"]
        pages = [t for t in targets if t["type"] == "page"]
        if not pages:
            raise DevToolsError("chromium opened no page")
        self.target = pages[0]["targetId"]
        attached = self.send("Target.attachToTarget", session=False, targetId=self.target, flatten=True)
        self.session = attached["sessionId"]

    # The protocol: one command at a time; events that arrive meanwhile are recorded.
    def send(self, method, session=True, **params):
        command = {"method": method, "params": params}
        if session:
            command["sessionId"] = self.session
        reply = self.channel.call(command)
        if "error" in reply:
            raise DevToolsError("%s: %s" % (method, reply["error"].get("message")))
        return reply.get("result", {})

    def pump(self, seconds):
        """Records the events that arrive within this many seconds."""
        self.channel.pump(seconds)

    def _record(self, method, params):
        if method == "Runtime.consoleAPICalled":
            self.record("console", params["type"], " ".join(_remote_text(a) for a in params.get("args", [])))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.record("exception", "error", _remote_text(details.get("exception", {})) or details.get("text"))
        elif method == "Log.entryAdded":
            item = params["entry"]
            self.record("log", item["level"], ("%s %s" % (item.get("text", ""), item.get("url", ""))).strip())
        elif method in ("Inspector.targetCrashed", "Target.detachedFromTarget"):
            self.record("browser", "error", "the page went away (%s)" % method)

    # The page.
    def navigate(self, url, timeout=60.0):
        self.send("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete'", timeout, "the page to load")

    def evaluate(self, expression):
        """The expression's value in the page, as JSON; an exception in the page raises."""
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise DevToolsError("%s: %s" % (expression, _remote_text(details.get("exception", {})) or details["text"]))
        return result["result"].get("value")

    def click(self, x, y):
        for kind, buttons in (("mouseMoved", 0), ("mousePressed", 1), ("mouseReleased", 0)):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", buttons=buttons, clickCount=1)

    def touch(self, kind, x=None, y=None):
        points = [] if kind in ("touchEnd", "touchCancel") else [{"x": x, "y": y, "id": 0}]
        self.send("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def screenshot(self):
        """The page as the compositor shows it, as PNG bytes."""
        return base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"])

    def press(self, key):
        key, code, number, text = KEYS[key]
        for kind in ("keyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key=key, code=code, windowsVirtualKeyCode=number,
                      text=text if kind == "keyDown" else "")

    def set_viewport(self, width, height, ratio=1, mobile=False):
        """A mobile page takes touch as a phone's screen would."""
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=ratio,
                  mobile=mobile)
        if mobile:
            self.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)

    def preload(self, source):
        self.send("Page.addScriptToEvaluateOnNewDocument", source=source)

    def hide(self):
        self.behind = self.send("Target.createTarget", session=False, url="about:blank")["targetId"]
        self.send("Target.activateTarget", session=False, targetId=self.behind)

    def show(self):
        self.send("Target.activateTarget", session=False, targetId=self.target)
        self.send("Target.closeTarget", session=False, targetId=self.behind)
        self.behind = None
