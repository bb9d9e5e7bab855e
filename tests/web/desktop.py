"""A private desktop for browsers that want one: an X server (Xvfb) for their
windows and WebGL, and a PulseAudio server with a null sink for their sound,
as a machine with a screen and speakers but no person at it. Nothing of the
machine's own display, sound or session bus is read or touched; both servers
die with this process, and with close().
"""
import os
import shutil
import subprocess
import tempfile
import time

from driver import DriverError, die_with_parent, stop_group

SCREEN = "1920x1080x24"
SINK = "speakers"


class Desktop:
    """Both servers, their output in the log; environment is this process's, led to them, for the browsers."""

    def __init__(self, log_path):
        self.log_path = log_path
        self.log = None
        self.folder = None
        self.servers = []
        self.environment = None

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
        self.folder = tempfile.mkdtemp(prefix="murmel-web-desktop-")
        display = self._start_x()
        run = os.path.join(self.folder, "run")
        home = os.path.join(self.folder, "home")
        # PulseAudio refuses a runtime folder others may read.
        os.mkdir(run, 0o700)
        os.mkdir(home, 0o700)
        client_conf = os.path.join(self.folder, "client.conf")
        with open(client_conf, "w", encoding="ascii") as file:
            file.write("autospawn = no\n")
        # No session bus, and none started through the X display.
        no_bus = "unix:path=" + os.path.join(self.folder, "no-bus")
        self._spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--log-target=stderr",
                     "--load=module-null-sink sink_name=" + SINK, "--load=module-native-protocol-unix"],
                    {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home, "XDG_RUNTIME_DIR": run,
                     "XDG_CONFIG_HOME": os.path.join(home, ".config"), "DBUS_SESSION_BUS_ADDRESS": no_bus})
        socket = os.path.join(run, "pulse", "native")
        self._wait(lambda: os.path.exists(socket), "pulseaudio's socket")
        # Without WAYLAND_DISPLAY, and with a runtime folder that has no Wayland socket, windows go to the X server.
        self.environment = {name: value for name, value in os.environ.items() if name != "WAYLAND_DISPLAY"}
        self.environment.update(DISPLAY=display, PULSE_SERVER="unix:" + socket, PULSE_SINK=SINK,
                                PULSE_CLIENTCONFIG=client_conf, XDG_RUNTIME_DIR=run, DBUS_SESSION_BUS_ADDRESS=no_bus)

    def _start_x(self):
        """Xvfb on the first free display, which it names once it takes connections."""
        reader, writer = os.pipe()
        try:
            self._spawn(["Xvfb", "-displayfd", str(writer), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                        pass_fds=(writer,))
        finally:
            os.close(writer)
        with os.fdopen(reader, encoding="ascii") as pipe:
            number = pipe.readline().strip()
        if not number:
            raise DriverError("Xvfb did not start (see %s)" % self.log_path)
        return ":" + number

    def _spawn(self, command, environment=None, pass_fds=()):
        self.servers.append(subprocess.Popen(command, env=environment, stdin=subprocess.DEVNULL, stdout=self.log,
                                             stderr=self.log, pass_fds=pass_fds, preexec_fn=die_with_parent))

    def _wait(self, ready, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while not ready():
            if time.monotonic() > deadline or self.servers[-1].poll() is not None:
                raise DriverError("no %s within %g s (see %s)" % (what, timeout, self.log_path))
            time.sleep(0.1)

    def close(self):
        for server in reversed(self.servers):
            stop_group(server)
        self.servers = []
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None
        if self.log:
            self.log.close()
            self.log = None
