"""The editor as a player uses it: a real X server, real input (xdotool) and
simulated pedals on the virtual bus (tovan-pedal-sim), each scenario in its own
configuration and runtime folders. Run under dbus-run-session and xvfb-run."""

import json
import os
import shutil
import signal
import subprocess
import tempfile
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def xdotool(*args):
    out = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    return out.stdout.strip()


# What the sanitizers print when they find a fault.
SANITIZER_REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                     "UndefinedBehaviorSanitizer", "ERROR: ThreadSanitizer")


def sanitizer_report(text):
    """The first line of a sanitizer report in a program's output, or None."""
    for line in text.splitlines():
        if any(mark in line for mark in SANITIZER_REPORTS):
            return line.strip()
    return None


class Pedal:
    """One tovan-pedal-sim serving pedals in a folder of the virtual bus."""

    started = 0

    def __init__(self, tools, folder, *options, log=None):
        # Beside the bus folder, not in it: the editor watches that folder for
        # pedals, and a state file written there at every look would keep its
        # hot-plug notice waiting for the folder to go quiet.
        Pedal.started += 1
        self.state_file = os.path.join(os.path.dirname(folder), "state-%d.json" % Pedal.started)
        self.log = log
        self.process = subprocess.Popen(
            [os.path.join(tools, "tovan-pedal-sim"), "--dir", folder, "--state-file", self.state_file, *options],
            stdout=subprocess.PIPE, stderr=open(log, "a") if log else subprocess.DEVNULL, text=True)
        check(self.process.stdout.readline().strip() == "ready", "tovan-pedal-sim did not start")
        self.exit_status = None

    def state(self, index=0):
        try:
            os.remove(self.state_file)
        except FileNotFoundError:
            pass
        self.process.send_signal(signal.SIGUSR1)
        check(wait_until(lambda: os.path.exists(self.state_file) and os.path.getsize(self.state_file) > 0, 2),
              "no pedal state written")
        time.sleep(0.05)
        with open(self.state_file) as f:
            return json.load(f)["pedals"][index]

    def stop(self):
        """Stops the simulator (which unplugs its pedals); its state at exit stays in state_file."""
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(5)
            check(self.process.returncode == 0,
                  "tovan-pedal-sim exited with %s when stopped" % self.process.returncode)
        elif self.exit_status is None:
            raise Failure("tovan-pedal-sim ended by itself with %s" % self.process.returncode)
        self.exit_status = self.process.returncode

    def state_at_exit(self, index=0):
        """What the simulator wrote when it stopped."""
        check(self.exit_status is not None, "the simulator has not been stopped")
        with open(self.state_file) as f:
            return json.load(f)["pedals"][index]


def visible_windows(name):
    """The visible windows whose title matches a regular expression."""
    return xdotool("search", "--onlyvisible", "--name", name).split()


def windows_titled(title):
    """The visible windows with exactly that title (a regular expression)."""
    return visible_windows("^%s$" % title)


def pointer():
    out = xdotool("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values.get("X", -1)), int(values.get("Y", -1))


EDITOR_BUS_NAME = "com.plavik.Tovan"


def bus_name_owned(name):
    """Whether a program on the session bus holds that name; raises when the bus cannot answer."""
    out = subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                          "--object-path", "/org/freedesktop/DBus",
                          "--method", "org.freedesktop.DBus.NameHasOwner", name],
                         capture_output=True, text=True, timeout=10)
    if out.returncode != 0 or out.stdout.strip() not in ("(true,)", "(false,)"):
        raise Failure("the session bus did not say who owns %s: %s" % (name, (out.stdout + out.stderr).strip()))
    return out.stdout.strip() == "(true,)"


def log_tail(path, lines=20):
    """The last lines of a scenario's log, for a failure's report."""
    try:
        with open(path, errors="replace") as f:
            return f.read().splitlines()[-lines:]
    except OSError as error:
        return ["(no log: %s)" % error]


class Editor:
    """The editor program in a scenario's folders."""

    def __init__(self, session, *arguments):
        self.session = session
        self.process = subprocess.Popen([session.editor, *arguments], env=session.env,
                                        stdout=subprocess.DEVNULL, stderr=open(session.log, "a"))
        self.window = None
        # The exit status the scenario saw and checked through wait_exit.
        self.waited = False

    def wait_window(self, timeout=10):
        def found():
            ids = visible_windows("Plavik Tovan")
            return ids[0] if ids else None
        self.window = wait_until(found, timeout)
        check(self.window, "the editor window did not appear")
        self.session.started = time.monotonic()
        time.sleep(0.3)
        return self.window

    def geometry(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def at(self, x, y):
        left, top, _, _ = self.geometry()
        return left + x, top + y

    def click(self, x, y, button=1):
        self.move(x, y)
        time.sleep(0.05)
        xdotool("click", button)
        time.sleep(0.15)

    def move(self, x, y):
        sx, sy = self.at(x, y)
        # A synced move waits for the pointer to move, which it never does when
        # it is there already.
        if pointer() != (sx, sy):
            xdotool("mousemove", "--sync", sx, sy)

    def wait_exit(self, timeout=10):
        """The exit status, for the scenario to check; None when it is still running."""
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None
        self.waited = True
        return code

    def stop(self):
        """Ends the editor; answers what went wrong, if anything."""
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)
                return "the editor did not end within 5 s of SIGTERM"
            # Ended by the signal, or by its own handling of it.
            if self.process.returncode not in (0, -signal.SIGTERM):
                return "the editor exited with %d on SIGTERM" % self.process.returncode
        elif not self.waited:
            return "the editor ended by itself with %d" % self.process.returncode
        return None


class Session:
    """Folders and programs of one scenario."""

    def __init__(self, build, artefacts, name):
        self.name = name
        self.root = tempfile.mkdtemp(prefix="tovan-e2e-")
        self.bus = os.path.join(self.root, "bus")
        os.makedirs(self.bus)
        self.tools = os.path.join(build, "tools")
        self.editor = os.path.join(build, "app", "tovan")
        self.artefacts = artefacts
        self.log = os.path.join(artefacts, name + ".log")
        # This run's output only: an earlier run's report must not fail this one.
        open(self.log, "w").close()
        self.env = dict(os.environ)
        self.env.update({
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "HOME": os.path.join(self.root, "home"),
            "NO_AT_BRIDGE": "1",
            "TOVAN_PEDAL": "virtual:" + self.bus,
            "ASAN_OPTIONS": "detect_leaks=0",
        })
        for key in ("XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "HOME"):
            os.makedirs(self.env[key], mode=0o700, exist_ok=True)
        self.pedals = []
        self.editors = []
        self.started = None

    def pedal(self, *options):
        p = Pedal(self.tools, self.bus, *options, log=self.log)
        self.pedals.append(p)
        return p

    def start_editor(self, *arguments):
        e = Editor(self, *arguments)
        self.editors.append(e)
        return e

    def show_editor(self, *arguments, timeout=10):
        """An editor started, its window shown and the pedals read into it (the
        window shows at once and reads the pedal under its busy overlay)."""
        e = self.start_editor(*arguments)
        e.wait_window(timeout)
        self.wait_pedals_read(max(timeout, 30))
        return e

    def wait_pedals_read(self, timeout):
        """Until no pedal is asked more than a poll's few requests a moment."""
        end = time.monotonic() + timeout
        for pedal in self.pedals:
            if pedal.process.poll() is not None:
                continue
            before = pedal.state()["counters"]["requests"]
            while True:
                time.sleep(0.25)
                now = pedal.state()["counters"]["requests"]
                if now - before <= 6:
                    break
                check(time.monotonic() < end, "the editor was still reading the pedal after %d s" % timeout)
                before = now

    def screenshot(self, label):
        path = os.path.join(self.artefacts, "%s-%s.png" % (self.name, label))
        if os.path.exists(path):
            os.remove(path)
        out = subprocess.run(["import", "-window", "root", path], capture_output=True, text=True)
        if out.returncode != 0 or not os.path.exists(path) or os.path.getsize(path) == 0:
            raise Failure("no screenshot %s: %s" % (label, out.stderr.strip()))
        return path

    def close(self):
        """Stops everything; answers what went wrong: an editor or simulator that
        ended unexpectedly or with an exit status nobody checked, a sanitizer report."""
        problems = []
        for e in self.editors:
            problem = e.stop()
            if problem:
                problems.append(problem)
        # The bus lets go of an ended editor's name when it has read the end of
        # its connection, which can come after the next scenario's editor asks
        # for the name: that one would hand over to a program that is gone.
        if self.editors and not wait_until(lambda: not bus_name_owned(EDITOR_BUS_NAME), 5):
            problems.append("%s still has an owner on the session bus 5 s after the editors ended"
                            % EDITOR_BUS_NAME)
        for p in self.pedals:
            try:
                p.stop()
            except Failure as failure:
                problems.append(str(failure))
        if os.path.exists(self.log):
            with open(self.log, errors="replace") as f:
                report = sanitizer_report(f.read())
            if report:
                problems.append("a sanitizer report in %s: %s" % (self.log, report))
        shutil.rmtree(self.root, ignore_errors=True)
        return problems


def convert(path, *arguments, text=True):
    """ImageMagick's convert on a screenshot; raises when it cannot answer."""
    if not os.path.isfile(path):
        raise Failure("no screenshot %s" % path)
    out = subprocess.run(["convert", path, *arguments], capture_output=True, text=text)
    if out.returncode != 0 or not out.stdout:
        raise Failure("convert %s %s: %s" % (path, " ".join(arguments), out.stderr))
    return out.stdout.strip() if text else out.stdout


def crop(x, y, w, h):
    return ["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]


def pixel(path, x, y):
    out = convert(path, *crop(x, y, 1, 1), "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                  "info:")
    return tuple(int(v) for v in out.split(","))


def region_pixels(path, x, y, w, h):
    """The RGB bytes of a rectangle of a screenshot (3 bytes a pixel); raises when it is not all there."""
    out = convert(path, *crop(x, y, w, h), "-depth", "8", "rgb:-", text=False)
    if len(out) != 3 * w * h:
        raise Failure("%s holds no %dx%d rectangle at %d,%d" % (path, w, h, x, y))
    return out


def magenta_share(path, x, y, w, h):
    """The share of pure magenta pixels (255, 0, 255) in a rectangle of a screenshot."""
    data = region_pixels(path, x, y, w, h)
    magenta = sum(1 for i in range(0, len(data), 3) if data[i:i + 3] == b"\xff\x00\xff")
    return magenta / (w * h)


# Client coordinates of the controls the scenarios use (the page's layout).
CLOSE = (616, 13)
MINIMISE = (568, 13)
TOPMOST = (592, 13)
LEVEL_KNOB = (389, 90)
PRESET_MENU = (220, 82)
HEEL_FREQUENCY = (101, 361)
SETLIST_TAB = (125, 29)
DEVICE_MENU = (106, 624)
DEVICE_STRIP = (30, 614, 150, 20)  # the device menu's text
DELETE_BUTTON = (200, 101)
ACTION_BUTTON = (390, 624)
SETTINGS_TAB = (273, 29)
PRESET_TAB = (51, 29)
POT_MODE_BUTTON = (184, 274)
ACTIVE_SETLIST = (176, 95)
SETLIST_LIST_TOP = 110  # the drawn list under the active setlist selector: its first row
SETLIST_LIST_PITCH = 14
SLOT1_PROGRAM = (130, 193)
SLOT1_PRESET = (240, 193)
MIDI_TAB = (199, 29)
LIBRARY_TAB = (351, 29)
REVERT_BUTTON = (339, 101)
STORE_SLOT_MENU = (340, 240)
STORE_NAME_FIELD = (278, 264)
NOWHERE = (250, 8)  # the title strip, away from any control

SCENARIOS = []


def scenario(needs_window_manager=False):
    def register(function):
        SCENARIOS.append((function.__name__, function, needs_window_manager))
        return function
    return register


def dialog(title, timeout=5):
    """The window of a dialog of the editor, focused."""
    found = wait_until(lambda: windows_titled(title), timeout)
    check(found, "no dialog titled %r" % title)
    xdotool("windowfocus", "--sync", found[0])
    time.sleep(0.2)
    return found[0]


def dismiss_if_shown(title, timeout=1.5):
    """Answers a message box with Return when one with that title comes up."""
    found = wait_until(lambda: windows_titled(title), timeout)
    if found:
        xdotool("windowfocus", "--sync", found[0])
        xdotool("key", "Return")
        time.sleep(0.2)


def choose_in_menu(keys):
    time.sleep(0.5)
    for key in keys:
        xdotool("key", key)
        time.sleep(0.15)


def enter_path_in_chooser(title, path, location_entry=False):
    """Types a path into the chooser with that title and takes it."""
    chooser = dialog(title)
    if location_entry:
        xdotool("key", "ctrl+l")
        time.sleep(0.2)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "10", path)
    time.sleep(0.4)
    xdotool("key", "Return")
    # A name the chooser can complete shows its completion first, which takes a
    # Return. A chooser that is only slow to close must not get that Return: it
    # would answer whatever the editor asks next.
    if not wait_until(lambda: chooser not in windows_titled(title), 2):
        xdotool("key", "Return")
    return chooser


def user_preset_keys(slot):
    """The keys that choose P<slot> in the open preset menu: User, its group of ten, the slot."""
    return ["Down", "Down", "Right"] + ["Down"] * (slot // 10) + ["Right"] + ["Down"] * (slot % 10) + ["Return"]


def select_user_preset(editor, pedal, slot):
    editor.click(*PRESET_MENU)
    choose_in_menu(user_preset_keys(slot))
    check(wait_until(lambda: pedal.state()["active_preset"] == 100 + slot, 3), "P%02d was not selected" % slot)


def save_through_the_chooser(s, path, title):
    return enter_path_in_chooser(title, path)


# The file buttons of the bottom strip, the store panel, the progress panel.
LOAD_BUTTON = (470, 624)
STORE_BUTTON = (150, 101)
STORE_PANEL_STORE = (342, 311)
STORE_PANEL_LABELS = (182, 232, 70, 64)
PROGRESS_CAPTION = (260, 303, 200, 14)
PROGRESS_BOX = (220, 300, 200, 48)
# Below the box: the setlist tab, dimmed while the progress panel shows.
DIMMED_AREA = (20, 513, 600, 40)


def open_through_the_chooser(s, path, title):
    """Types a path into an open chooser's location entry and opens it."""
    chooser = enter_path_in_chooser(title, path, location_entry=True)
    check(wait_until(lambda: chooser not in windows_titled(title), 3), "the chooser %r stayed open" % title)
    return chooser


def tovan_cli(s, *arguments):
    """tovan-cli on the scenario's bus; answers with its exit code and output."""
    out = subprocess.run([os.path.join(s.tools, "tovan-cli"), "--pedal", "virtual:" + s.bus, *arguments],
                         capture_output=True, text=True, env=s.env, timeout=60)
    report = sanitizer_report(out.stderr)
    check(not report, "tovan-cli %s: %s" % (" ".join(arguments), report))
    return out.returncode, out.stdout + out.stderr


def dump_file(s, path):
    """What tovan-cli reads in a preset or backup file, as JSON."""
    code, text = tovan_cli(s, "--json", "dump", path)
    check(code == 0, "dump %s: %s" % (path, text))
    return json.loads(text)


def mean_level(path, x, y, w, h):
    """The mean brightness of a rectangle of a screenshot, 0..255."""
    data = region_pixels(path, x, y, w, h)
    gray = sum(0.299 * data[i] + 0.587 * data[i + 1] + 0.114 * data[i + 2] for i in range(0, len(data), 3))
    return int(gray / (w * h))


def cream_pixels(path, x, y, w, h):
    """How many pixels of a rectangle are cream, as the editor's message text."""
    data = region_pixels(path, x, y, w, h)
    return sum(1 for i in range(0, len(data), 3) if data[i] > 191 and data[i + 1] > 178)


def edit_buffer(pedal):
    return pedal.state()["edit_buffer"]


def drag_source_program(s):
    """The test drag source, built next to the GTK shell."""
    return os.path.join(os.path.dirname(s.tools), "platform", "gtk", "tovan-drag-source")
