"""What the page's tests do with a browser, whichever protocol drives it.

A driver starts its browser in a process group of its own that dies with
this process, keeps every message the page printed, as Message, and offers
the same operations over each protocol:

  navigate(url)        loads a page and waits for it
  evaluate(expression) the expression's value as JSON, a promise awaited
  pump(seconds)        waits, keeping the messages that come meanwhile
  wait_for(...)        polls an expression until it is truthy
  set_viewport(...)    the page's size in CSS pixels
  click(x, y)          a trusted click of the mouse's left button
  touch(kind, x, y)    a finger put down, moved, lifted ("touchStart",
                       "touchMove", "touchEnd"); the mouse's button where
                       the engine has no touch (touches is False)
  press(key)           a key pressed and released ("Enter")
  screenshot()         the page as shown, as PNG bytes
  preload(source)      a script run before the page's own in every new
                       document, where the protocol has one (preloads)
  hide(), show()       the page's tab put behind another and back: the page
                       sees visibilitychange, hidden then visible
"""
import ctypes
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

import websocket

PR_SET_PDEATHSIG = 1
# Keys by name, as WebDriver's actions spell them.
KEYS = {"Enter": "\ue007", "Escape": "\ue00c"}


class DriverError(Exception):
    pass


class Message:
    """One console message, exception or log entry; level is Chromium's name for it ("warning", not "warn")."""

    def __init__(self, origin, level, text):
        self.origin, self.level, self.text = origin, level, text

    def __str__(self):
        return f"[{self.origin} {self.level}] {self.text}"


def die_with_parent():
    # In the child before exec: its own process group, and SIGKILL should we die.
    os.setsid()
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def stop_group(process, grace=5.0):
    """Ends a process started with die_with_parent and whatever it started in its group."""
    if process.poll() is None:
        _signal_group(process, signal.SIGTERM)
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            pass
    # Children (renderers, content and GPU processes) may outlive their parent briefly.
    _signal_group(process, signal.SIGKILL)
    process.wait()


def _signal_group(process, sig):
    try:
        os.killpg(process.pid, sig)
    except ProcessLookupError:
        pass


class Driver:
    """A browser with one page; main thread only. A subclass names its command(), connect()s to the browser
    started and lets go of it in disconnect(); close() does the rest, on every way out of the context manager."""

    engine = ""
    # Whether touch() is a finger, and whether preload() exists.
    touches = True
    preloads = True
    # The browser's environment; None is this process's.
    environment = None

    def __init__(self, name, log_path, console_path, sink=None):
        """The browser's own output goes to log_path; the page's messages, prefixed with name, to console_path
        and, as (name, Message), to the list sink if there is one."""
        self.name, self.log_path, self.console_path, self.sink = name, log_path, console_path, sink
        self.messages = []
        self.log = self.console = None
        self.process = None
        self.folder = None

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
        """Starts the browser (its output to the log) with a private folder, self.folder, then connects()."""
        self.log = open(self.log_path, "a", encoding="utf-8")
        self.console = open(self.console_path, "a", encoding="utf-8")
        self.folder = tempfile.mkdtemp(prefix="murmel-web-%s-" % self.engine)
        self.process = subprocess.Popen(self.command(), env=self.environment, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=self.log, preexec_fn=die_with_parent)
        self.connect()

    def check_running(self):
        if self.process.poll() is not None:
            raise DriverError("%s exited with status %d (see %s)" % (self.engine, self.process.returncode,
                                                                       self.log_path))

    def disconnect(self):
        """Lets go of the protocol's connection; a subclass may first ask the browser to close."""

    def close(self):
        if self.process:
            self.disconnect()
            stop_group(self.process)
            self.process = None
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None
        for file in (self.log, self.console):
            if file:
                file.close()
        self.log = self.console = None

    def record(self, origin, level, text):
        entry = Message(origin, level, text)
        self.messages.append(entry)
        if self.sink is not None:
            self.sink.append((self.name, entry))
        self.console.write("%s %s\n" % (self.name, entry))
        self.console.flush()

    def wait_for(self, expression, timeout, what, interval=0.25):
        """Polls the expression until it is truthy and returns it; raises after timeout seconds."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise DriverError("waited %g s for %s" % (timeout, what))
            self.pump(interval)

    def centre_of(self, selector):
        """The middle of an element in CSS pixels; None when the page has no such element."""
        return self.evaluate(
            "(() => { const e = document.querySelector(%s); if (!e) return null;"
            " const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()"
            % json.dumps(selector))


class Channel:
    """JSON messages over a WebSocket, as the DevTools protocol and BiDi have them: one command at a time,
    answered under its id; the events that come meanwhile go to event(method, params)."""

    def __init__(self, url, engine, event):
        self.engine, self.event = engine, event
        self.socket = websocket.create_connection(url, timeout=30, suppress_origin=True, enable_multithread=False)
        self.next_id = 0

    def call(self, command, timeout=60.0):
        """The reply to the command (a method and its parameters), whatever it says."""
        self.next_id += 1
        self.socket.send(json.dumps(dict(command, id=self.next_id)))
        deadline = time.monotonic() + timeout
        while True:
            reply = self._receive(deadline - time.monotonic())
            if reply is None:
                raise DriverError("no answer to %s within %g s" % (command["method"], timeout))
            if reply.get("id") == self.next_id:
                return reply

    def pump(self, seconds):
        """Hands on the events that arrive within this many seconds."""
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
            raise DriverError("lost the connection to %s: %s" % (self.engine, error)) from error
        if "method" in message:
            self.event(message["method"], message.get("params", {}))
        return message

    def close(self):
        try:
            self.socket.close()
        except (OSError, websocket.WebSocketException):
            pass


def as_json(expression):
    """An expression whose value is the given one's, awaited, as JSON text (undefined stays undefined)."""
    return "Promise.resolve((%s)).then(value => JSON.stringify(value))" % expression


class Actions:
    """Trusted input as WebDriver's actions, which BiDi has too: a subclass perform()s a list of input sources'
    actions. The protocol keeps a finger down between calls."""

    def click(self, x, y):
        self._pointer("mouse", "mouse", [_move(x, y), _button("Down"), _button("Up")])

    def touch(self, kind, x=None, y=None):
        steps = [_button("Up")] if kind == "touchEnd" else [_move(x, y)] + [_button("Down")] * (kind == "touchStart")
        self._pointer("finger", "touch", steps)

    def press(self, key):
        value = KEYS[key]
        self.perform([{"type": "key", "id": "keyboard",
                       "actions": [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]}])

    def _pointer(self, source, kind, steps):
        self.perform([{"type": "pointer", "id": source, "parameters": {"pointerType": kind}, "actions": steps}])


def _move(x, y):
    return {"type": "pointerMove", "x": round(x), "y": round(y)}


def _button(way):
    return {"type": "pointer" + way, "button": 0}
