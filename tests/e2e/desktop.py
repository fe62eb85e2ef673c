"""A desktop as a player has one, made and cleared away by a test.

Desktop starts an X display of its own (Xvfb), a window manager on it
(openbox with openbox-rc.xml: no key bindings of its own) and a PulseAudio
server of its own whose only sink is a null sink, all in a temporary folder
and as child processes of the caller: no system service, nothing left
behind. The sound server can be frozen (SIGSTOP) and thawed, as a server
that hangs and comes back. Recorder records that sink's monitor while the game plays, and
bursts() finds the sounds in the recording on the caller's clock
(time.monotonic), so they can be set against the moments of the hits.
StreamReports is a second instrument on the same clock: the server's own
report of each playback stream a program opens.
"""
import array
import collections
import contextlib
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
SINK = "dunko_speakers"
RATE = 44100
# A sample louder than this (about -50 dBFS) is sound; the null sink's
# silence is exact zeros.
LOUD = 100
# Silence shorter than this does not split a burst.
BURST_GAP = 0.03


def _wait_until(condition, timeout, what):
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            raise TimeoutError(f"{what} did not start in {timeout} s")
        time.sleep(0.05)


def _end_with_parent():
    """Run in a child before its program starts: the kernel ends the child
    when the test's process ends, however it ends."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def _succeeds(command, env):
    return subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=5).returncode == 0


class Desktop:
    """Xvfb, openbox and PulseAudio with a null sink. env is the environment
    for programs on this desktop: DISPLAY and PULSE_SERVER point at it."""

    def __init__(self, size="1280x1024"):
        self.dir = tempfile.mkdtemp(prefix="dunko-desktop-")
        self.processes = []
        self.sound_server = None
        self.env = dict(os.environ)
        try:
            self._start_display(size)
            self._start_window_manager()
            self._start_sound_server()
        except BaseException:
            self.close()
            raise

    def _spawn(self, command, env, log, **kwargs):
        with open(os.path.join(self.dir, log), "wb") as out:
            process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                       stderr=subprocess.STDOUT, preexec_fn=_end_with_parent, **kwargs)
        self.processes.append(process)
        return process

    def _start_display(self, size):
        read_end, write_end = os.pipe()
        try:
            self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size}x24",
                         "-nolisten", "tcp", "-noreset"], self.env, "xvfb.log", pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            # Xvfb writes its display number once it takes connections.
            number = b""
            end = time.monotonic() + 5
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0.0, end - time.monotonic()))
                chunk = os.read(read_end, 16) if ready else b""
                if not chunk:
                    raise TimeoutError("Xvfb did not start")
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.env["DISPLAY"] = f":{number.decode().strip()}"

    def _start_window_manager(self):
        self._spawn(["openbox", "--config-file", os.path.join(HERE, "openbox-rc.xml")], self.env, "openbox.log")
        # A window manager announces itself on the root window.
        _wait_until(lambda: b"window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True, timeout=5).stdout,
            5, "openbox")

    def _start_sound_server(self):
        # Its own home, configuration and runtime folders, no X display and
        # no D-Bus: the server neither reads nor leaves anything elsewhere.
        env = {key: value for key, value in self.env.items()
               if key not in ("DISPLAY", "PULSE_SERVER", "DBUS_SESSION_BUS_ADDRESS")}
        for name in ("HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"):
            env[name] = os.path.join(self.dir, name.lower())
            os.makedirs(env[name], mode=0o700)
        env["PULSE_RUNTIME_PATH"] = os.path.join(env["XDG_RUNTIME_DIR"], "pulse")
        socket = os.path.join(self.dir, "pulse-native")
        self.sound_server = self._spawn(
            ["pulseaudio", "-n", "--daemonize=no", "--system=no", "--use-pid-file=no",
             "--exit-idle-time=-1", "--log-target=stderr",
             "-L", f"module-null-sink sink_name={SINK}",
             "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1"],
            env, "pulseaudio.log")
        self.env["PULSE_SERVER"] = f"unix:{socket}"
        _wait_until(lambda: _succeeds(["pactl", "info"], self.env), 5, "pulseaudio")

    def freeze_sound_server(self):
        """Stops the sound server in its tracks: it takes connections and
        data no more, and answers nothing, until thaw_sound_server."""
        self.sound_server.send_signal(signal.SIGSTOP)

    def thaw_sound_server(self):
        if self.sound_server is not None and self.sound_server.poll() is None:
            self.sound_server.send_signal(signal.SIGCONT)

    def log(self, name):
        """The output of one of the desktop's programs so far, for a failure message."""
        try:
            with open(os.path.join(self.dir, name), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def close(self):
        # A frozen server would take no SIGTERM.
        self.thaw_sound_server()
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(2)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes = []
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Recorder:
    """Records the desktop's speakers (the null sink's monitor), mono 16-bit,
    noting when each fragment arrives.

    The fragments are of 10 ms, which keeps the null sink playing what it is
    given at once, as a desktop's sound card or PipeWire does. With parec's
    default of 2 s the null sink renders up to 2 s ahead and starts a new
    stream only after that: even paplay's piko then shows up 1.6 s late, and
    a player's short sounds mostly not at all."""

    def __init__(self, desktop):
        self.data = bytearray()
        self.arrivals = []
        self.process = subprocess.Popen(
            ["parec", f"--device={SINK}.monitor", "--format=s16le", f"--rate={RATE}", "--channels=1",
             "--latency-msec=10", "--raw"],
            env=desktop.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            preexec_fn=_end_with_parent)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        _wait_until(lambda: self.arrivals, 5, "the recording")
        # The recording's own latency sets the sink's while it runs.
        self.sink_latency = sink_latency(desktop.env)

    def _read(self):
        fd = self.process.stdout.fileno()
        while True:
            chunk = os.read(fd, 65536)
            if not chunk:
                break
            now = time.monotonic()
            self.data += chunk
            self.arrivals.append((now, len(self.data) // 2))

    def stop(self):
        self.process.terminate()
        self.process.wait(5)
        self.thread.join(5)

    def start_time(self):
        """When the first sample is played, on time.monotonic's clock.

        The null sink plays on a timer and renders up to its configured
        latency ahead of that timer; the monitor hands each fragment out as
        soon as it is rendered. So a fragment arrives at the earliest up to
        that latency before its last sample is played, and later by however
        long the delivery took. The quickest delivery of the whole recording,
        moved on by the latency, places the samples on the clock; what error
        is left only makes a sound seem later than it was, never earlier."""
        return min(now - count / RATE for now, count in self.arrivals) + self.sink_latency

    def bursts(self):
        """The sounds of the recording as Bursts, on time.monotonic's clock."""
        t0 = self.start_time()
        samples = array.array("h", bytes(self.data[:len(self.data) // 2 * 2]))
        return [Burst(t0 + b.start, t0 + b.end, b.holes) for b in find_bursts(samples, RATE)]


@contextlib.contextmanager
def listening(desktop):
    """A Recorder and StreamReports of the desktop, both stopped at the end."""
    recorder, streams = Recorder(desktop), StreamReports(desktop)
    try:
        yield recorder, streams
    finally:
        recorder.stop()
        streams.stop()


def sink_latency(env):
    """The configured latency of the desktop's sink, in seconds: how far
    ahead of its clock it renders (what the recording asks for)."""
    listing = subprocess.run(["pactl", "list", "sinks"], env=env, capture_output=True, text=True,
                             check=True, timeout=5).stdout
    found = re.search(r"Latency: \d+ usec, configured (\d+) usec", listing)
    if not found:
        raise RuntimeError(f"no configured latency in 'pactl list sinks':\n{listing}")
    return int(found.group(1)) / 1e6


class StreamReports:
    """The sound server's own report of each new playback stream
    (`pactl subscribe`), noted on time.monotonic's clock as it arrives. Wine
    opens a stream for each sound it plays, so this tells when each piko
    began to play, independently of the recording."""

    NEW_STREAM = re.compile(r"Event 'new' on sink-input #\d+")

    def __init__(self, desktop):
        self.opened = []
        # Line-buffered, so each report is read when it is made.
        self.process = subprocess.Popen(
            ["stdbuf", "-oL", "pactl", "subscribe"], env=desktop.env, stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, preexec_fn=_end_with_parent)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        for line in self.process.stdout:
            if self.NEW_STREAM.search(line):
                self.opened.append(time.monotonic())

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(5)
        self.thread.join(5)


class Burst(collections.namedtuple("Burst", "start end holes")):
    """One sound: when it starts and ends (seconds), and how long in all
    the silences within it are (each shorter than BURST_GAP: a dropout)."""

    @property
    def length(self):
        return self.end - self.start


def find_bursts(samples, rate):
    """The Bursts of samples (seconds from the first sample), in 1 ms steps:
    stretches of samples louder than LOUD, those less than BURST_GAP apart
    joined into one."""
    step = max(1, rate // 1000)
    bursts = []
    for i in range(0, len(samples), step):
        block = samples[i:i + step]
        if max(block) > LOUD or -min(block) > LOUD:
            start, end = i / rate, (i + len(block)) / rate
            if bursts and start - bursts[-1].end < BURST_GAP:
                last = bursts[-1]
                bursts[-1] = Burst(last.start, end, last.holes + (start - last.end))
            else:
                bursts.append(Burst(start, end, 0.0))
    return bursts


def sound_length(path):
    """How long the sound of a 16-bit mono WAV file is loud, as find_bursts
    measures it: the length a whole burst of it has in a recording."""
    with wave.open(path) as w:
        samples = array.array("h", w.readframes(w.getnframes()))
        bursts = find_bursts(samples, w.getframerate())
    return bursts[-1].end - bursts[0].start
