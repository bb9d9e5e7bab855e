"""Firefox driven over WebDriver BiDi, which it speaks itself: one browser, one page.

Firefox wants an X display for WebGL and a sound server for Web Audio: the
environment given names both (desktop.py). Its profile is fresh each time.
Every console message and uncaught exception comes as a log event and is kept.
"""
import base64
import json
import os
import subprocess
import time

from driver import Actions, Channel, Driver, DriverError, as_json

FIREFOX = "firefox-esr"
# Quiet and offline: no first-run pages, updates, telemetry or checks over the network.
PREFERENCES = {
    "app.update.disabledForTesting": True,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.aboutwelcome.enabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "network.connectivity-service.enabled": False,
    "browser.safebrowsing.update.enabled": False,
    "extensions.update.enabled": False,
}
LEVELS = {"warn": "warning"}


class Browser(Actions, Driver):
    """Firefox ESR with its first tab."""

    engine = "firefox"

    def __init__(self, name, log_path, console_path, environment, sink=None):
        super().__init__(name, log_path, console_path, sink)
        self.environment = environment
        self.channel = None
        self.context = None
        self.behind = None

    def command(self):
        with open(os.path.join(self.folder, "user.js"), "w", encoding="utf-8") as file:
            file.writelines('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value))
                            for name, value in PREFERENCES.items())
        return [FIREFOX, "--remote-debugging-port=0", "--profile", self.folder, "--no-remote", "about:blank"]

    def connect(self):
        port = self._read_port(60.0)
        self.channel = Channel("ws://127.0.0.1:%d/session" % port, self.engine, self._record)
        self.send("session.new", capabilities={})
        self.send("session.subscribe", events=["log.entryAdded"])
        self.context = self.send("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]

    def disconnect(self):
        if not self.channel:
            return
        # Asked to close, Firefox ends its content processes itself.
        try:
            self.send("browser.close", timeout=10.0)
            self.process.wait(10)
        except (DriverError, subprocess.TimeoutExpired):
            pass
        self.channel.close()
        self.channel = None

    def _read_port(self, timeout):
        path = os.path.join(self.folder, "WebDriverBiDiServer.json")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.check_running()
            try:
                with open(path, encoding="utf-8") as file:
                    return json.load(file)["ws_port"]
            except (FileNotFoundError, ValueError, KeyError):
                pass
            time.sleep(0.1)
        raise DriverError("firefox wrote no WebDriverBiDiServer.json within %g s" % timeout)

    # The protocol: one command at a time; the page's messages that arrive meanwhile are recorded.
    def send(self, method, timeout=60.0, **params):
        reply = self.channel.call({"method": method, "params": params}, timeout)
        if reply.get("type") == "error":
            raise DriverError("%s: %s: %s" % (method, reply.get("error"), reply.get("message")))
        return reply["result"]

    def pump(self, seconds):
        """Records the messages that arrive within this many seconds."""
        self.channel.pump(seconds)

    def _record(self, method, params):
        if method == "log.entryAdded":
            self.record("console" if params["type"] == "console" else "exception",
                        LEVELS.get(params["level"], params["level"]), params.get("text") or "")

    # The page.
    def navigate(self, url, timeout=60.0):
        self.send("browsingContext.navigate", timeout=timeout, context=self.context, url=url, wait="complete")

    def evaluate(self, expression):
        """The expression's value in the page, as JSON; an exception in the page raises."""
        reply = self.send("script.evaluate", expression=as_json(expression), target={"context": self.context},
                          awaitPromise=True)
        if reply["type"] == "exception":
            raise DriverError("%s: %s" % (expression, reply["exceptionDetails"]["text"]))
        value = reply["result"]
        return json.loads(value["value"]) if value["type"] == "string" else None

    def perform(self, sources):
        self.send("input.performActions", context=self.context, actions=sources)

    def set_viewport(self, width, height, ratio=1, mobile=False):
        """Firefox has touch whatever the page's shape: mobile changes nothing."""
        self.send("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height},
                  devicePixelRatio=ratio)

    def screenshot(self):
        return base64.b64decode(self.send("browsingContext.captureScreenshot", context=self.context)["data"])

    def preload(self, source):
        self.send("script.addPreloadScript", functionDeclaration="() => { %s }" % source)

    def hide(self):
        self.behind = self.send("browsingContext.create", type="tab")["context"]

    def show(self):
        self.send("browsingContext.activate", context=self.context)
        self.send("browsingContext.close", context=self.behind)
        self.behind = None
