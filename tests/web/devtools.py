"""A headless Chromium driven over the DevTools protocol: one browser, one page.

Debian's chromium renders WebGL with SwiftShader on the CPU, so the page runs
on machines without a GPU or a display (CI, as root). Every console message,
uncaught exception and browser log entry is kept, and written to a log file
as it comes. The browser and all its children die with close(), which the
context manager calls on every way out, and with this process should it be
killed outright.
"""
import base64
import ctypes
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

import websocket

CHROMIUM = "chromium"
FLAGS = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--no-sandbox",
    "--remote-debugging-port=0",
    "--autoplay-policy=no-user-gesture-required",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    # A page the compositor thinks hidden would be paused by the game.
    "--disable-background-timer-throttling",
    "--disable-backgrounding-occluded-windows",
    "--disable-renderer-backgrounding",
]
PR_SET_PDEATHSIG = 1


class DevToolsError(Exception):
    pass


class Message:
    """One console message, exception or log entry; level is the protocol's."""

    def __init__(self, origin, level, text):
        self.origin, self.level, self.text = origin, level, text

    def __str__(self):
        return f"[{self.origin} {self.level}] {self.text}"


def die_with_parent():
    # In the child before exec: its own process group, and SIGKILL should we die.
    os.setsid()
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def _remote_text(value):
    if "value" in value:
        return value["value"] if isinstance(value["value"], str) else json.dumps(value["value"])
    return value.get("description", value.get("type", ""))


class Browser:
    """Chromium with its first page attached; main thread only."""

    def __init__(self, name, log_path, console_path, extra_flags=(), sink=None):
        """Chromium's own output goes to log_path; the page's messages, prefixed with name, to console_path
        and, as (name, Message), to the list sink if there is one."""
        self.name, self.log_path, self.console_path = name, log_path, console_path
        self.flags = FLAGS + list(extra_flags)
        self.messages = []
        self.sink = sink
        self.console = None
        self.process = None
        self.socket = None
        self.profile = None
        self.session = None
        self.next_id = 0
        self.log = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        self.log = open(self.log_path, "a", encoding="utf-8")
        self.console = open(self.console_path, "a", encoding="utf-8")
        self.profile = tempfile.mkdtemp(prefix="murmel-web-chromium-")
        self.process = subprocess.Popen(
            [CHROMIUM] + self.flags + ["--user-data-dir=" + self.profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log, preexec_fn=die_with_parent)
        port, path = self._read_active_port(30.0)
        self.socket = websocket.create_connection(
            "ws://127.0.0.1:%d%s" % (port, path), timeout=30, suppress_origin=True, enable_multithread=False)
        self._attach_to_page()
        for domain in ("Runtime", "Log", "Page"):
            self.send(domain + ".enable")

    def close(self):
        if self.socket:
            try:
                self.socket.close()
            except (OSError, websocket.WebSocketException):
                pass
            self.socket = None
        if self.process and self.process.poll() is None:
            self._kill_group(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self._kill_group(signal.SIGKILL)
                self.process.wait(5)
        # Renderer and GPU processes may outlive the browser process briefly.
        if self.process:
            self._kill_group(signal.SIGKILL)
            self.process = None
        if self.profile:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None
        for file in (self.log, self.console):
            if file:
                file.close()
        self.log = self.console = None

    def _kill_group(self, sig):
        try:
            os.killpg(self.process.pid, sig)
        except ProcessLookupError:
            pass

    def _read_active_port(self, timeout):
        path = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise DevToolsError("chromium exited with status %d (see %s)"
                                    % (self.process.returncode, self.log_path))
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
        attached = self.send("Target.attachToTarget", session=False, targetId=pages[0]["targetId"], flatten=True)
        self.session = attached["sessionId"]

    # The protocol: one command at a time; events that arrive meanwhile are recorded.
    def send(self, method, session=True, **params):
        self.next_id += 1
        request = {"id": self.next_id, "method": method, "params": params}
        if session:
            request["sessionId"] = self.session
        self.socket.send(json.dumps(request))
        deadline = time.monotonic() + 60.0
        while True:
            reply = self._receive(deadline - time.monotonic())
            if reply is None:
                raise DevToolsError("no answer to %s within 60 s" % method)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise DevToolsError("%s: %s" % (method, reply["error"].get("message")))
                return reply.get("result", {})

    def pump(self, seconds):
        """Records the events that arrive within this many seconds."""
        deadline = time.monotonic() + seconds
        while self._receive(deadline - time.monotonic()) is not None:
            pass

    def _receive(self, timeout):
        if timeout <= 0:
            return None
        self.socket.settimeout(timeout)
        try:
            message = json.loads(self.socket.recv())
        except websocket.WebSocketTimeoutException:
            return None
        except (websocket.WebSocketException, OSError) as error:
            raise DevToolsError("lost the connection to chromium: %s" % error) from error
        if "method" in message:
            self._record(message["method"], message.get("params", {}))
        return message

    def _record(self, method, params):
        if method == "Runtime.consoleAPICalled":
            entry = Message("console", params["type"], " ".join(_remote_text(a) for a in params.get("args", [])))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            entry = Message("exception", "error", _remote_text(details.get("exception", {})) or details.get("text"))
        elif method == "Log.entryAdded":
            item = params["entry"]
            entry = Message("log", item["level"], "%s %s" % (item.get("text", ""), item.get("url", "")).strip())
        elif method in ("Inspector.targetCrashed", "Target.detachedFromTarget"):
            entry = Message("browser", "error", "the page went away (%s)" % method)
        else:
            return
        self.messages.append(entry)
        if self.sink is not None:
            self.sink.append((self.name, entry))
        self.console.write("%s %s\n" % (self.name, entry))
        self.console.flush()

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

    def wait_for(self, expression, timeout, what, interval=0.25):
        """Polls the expression until it is truthy and returns it; raises after timeout seconds."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise DevToolsError("waited %g s for %s" % (timeout, what))
            self.pump(interval)

    def centre_of(self, selector):
        """The middle of an element in CSS pixels; None when the page has no such element."""
        return self.evaluate(
            "(() => { const e = document.querySelector(%s); if (!e) return null;"
            " const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()"
            % json.dumps(selector))

    def click(self, x, y):
        for kind, buttons in (("mouseMoved", 0), ("mousePressed", 1), ("mouseReleased", 0)):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", buttons=buttons, clickCount=1)

    def touch(self, kind, x=None, y=None):
        points = [] if kind in ("touchEnd", "touchCancel") else [{"x": x, "y": y, "id": 0}]
        self.send("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def screenshot(self):
        """The page as the compositor shows it, as PNG bytes."""
        return base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"])
