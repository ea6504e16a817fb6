"""Plumbing for the end-to-end journeys: a private X server with a window manager, the program
started in a folder of its own, the accessibility tree (AT-SPI) to find and read what is shown,
and xdotool to act as a person does, with the real pointer and keyboard.

The accessibility tree is only looked at, never used to act: its actions press hidden buttons
and skip the signals a person's input sends, so they would hide exactly the faults we look for.
"""

import configparser
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

SCREEN_WIDTH, SCREEN_HEIGHT = 1366, 768
# Qt's scale factor of the program started on the screen. Qt 6.4 gives the accessibility tree
# its positions and sizes unscaled, while the pointer moves in the screen's pixels.
SCALE = 1
MAIN_TITLE = "TRACKLODGE - Catalogo dei tuoi MP3"

pyatspi = None  # imported once the display and the accessibility bus exist


class JourneyFailed(AssertionError):
    pass


def wait_for(what, condition, timeout=15.0):
    """Polls `condition` until it returns something true and returns that. Objects of the
    accessibility tree may vanish while we look: such errors count as "not yet"; a failed
    check inside `condition` ends the wait."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except JourneyFailed:
            raise
        except Exception as error:  # noqa: BLE001 - see above
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise JourneyFailed(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(0.05)


def check(condition, message):
    if not condition:
        raise JourneyFailed(message)


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs).stdout


class Desktop:
    """Xvfb at laptop size (or at `size`, a width and a height), the Italian keyboard, openbox,
    and the accessibility bus, all inside the session bus this process runs in (see
    journeys.py). A desktop started while another runs takes over the display and the screen
    size until it is closed; `scale` is the Qt scale factor the programs on it are started
    with (the journey sets it in their environment)."""

    def __init__(self, size=None, scale=1):
        global SCREEN_WIDTH, SCREEN_HEIGHT, SCALE
        self.before = (os.environ.get("DISPLAY"), SCREEN_WIDTH, SCREEN_HEIGHT, SCALE)
        if size:
            SCREEN_WIDTH, SCREEN_HEIGHT = size
        SCALE = scale
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-noreset", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            os.environ["DISPLAY"] = ":" + display_number.readline().strip()
        run("setxkbmap", "it")
        self.openbox = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for("the window manager",
                 lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        # Started before the program, so that Qt finds the accessibility bus already there.
        run("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
            "org.a11y.Bus.GetAddress")
        global pyatspi
        import pyatspi as atspi_module
        pyatspi = atspi_module

    def close(self):
        global SCREEN_WIDTH, SCREEN_HEIGHT, SCALE
        for process in (self.openbox, self.xvfb):
            process.terminate()
            process.wait()
        display, SCREEN_WIDTH, SCREEN_HEIGHT, SCALE = self.before
        if display:
            os.environ["DISPLAY"] = display

    def screenshot(self, path, accessible=None):
        """The screen, or only what `accessible` covers of it, as a PNG file."""
        crop = ["-crop", "{2}x{3}+{0}+{1}".format(*extents(accessible)), "+repage"] \
            if accessible else []
        subprocess.run(["import", "-window", "root", *crop, path], check=False)


def exec_command(entry):
    """The command line of the Exec key of the desktop entry file `entry`, split and unquoted by
    freedesktop.org's desktop entry rules, as a launcher does (no file is passed: field codes
    that stand for files or URLs go)."""
    parser = configparser.RawConfigParser(delimiters=("=",), comment_prefixes=("#",),
                                          interpolation=None, strict=True)
    parser.optionxform = str
    parser.read(entry, encoding="utf-8")
    value = parser["Desktop Entry"]["Exec"]
    # First the escapes of every string value, then the quoting of the Exec key.
    value = re.sub(r"\\([sntr\\])", lambda m: {"s": " ", "n": "\n", "t": "\t", "r": "\r",
                                                "\\": "\\"}[m.group(1)], value)
    arguments = []
    for quoted, plain in re.findall(r'"((?:[^"\\`$]|\\["`$\\])*)"|(\S+)', value):
        if plain:
            check(not re.search(r'["\'\\><~|&;$*?#()`]', plain),
                  f"the Exec key of {entry} has a reserved character outside quotes: {plain}")
            plain = re.sub(r"%[fFuUdDnNvm]", "", plain).replace("%%", "%")
            if plain:
                arguments.append(plain)
        else:
            arguments.append(re.sub(r'\\(["`$\\])', r"\1", quoted))
    check(arguments, f"the Exec key of {entry} is empty")
    return arguments


class Program:
    """The program started in `folder`, and its application in the accessibility tree.

    With `entry` (a desktop entry file) it is started as a desktop's menu starts it: the
    command of the entry's Exec key, with HOME the journey's folder, from another, empty folder,
    so that the catalogue the journey reads in its folder is the one in the home folder; the
    process started must then be `executable` itself."""

    def __init__(self, executable, folder, entry=None, extra_env=None):
        # The settings kept between runs (and those of Qt's file dialog) stay in the journey's
        # folder: no journey reads or changes the user's own.
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   ASAN_OPTIONS="detect_leaks=0", SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(folder, ".config"), **(extra_env or {}))
        command, where, self.launcher_folder = [executable], folder, None
        self.mapped_files = set()
        if entry:
            command = exec_command(entry)
            self.launcher_folder = where = tempfile.mkdtemp(prefix="tracklodge-e2e-launcher-")
            env.update(HOME=folder, XDG_CACHE_HOME=os.path.join(folder, ".cache"),
                       XDG_DATA_HOME=os.path.join(folder, ".local/share"),
                       XDG_STATE_HOME=os.path.join(folder, ".local/state"))
        self.log_path = os.path.join(folder, "program.log")
        with open(self.log_path, "w") as log:
            self.process = subprocess.Popen(command, cwd=where, env=env, stdout=log,
                                            stderr=subprocess.STDOUT)
        self.app = wait_for("the program in the accessibility tree", self._find_app)
        if entry:
            started = os.readlink(f"/proc/{self.process.pid}/exe")
            check(started == os.path.realpath(executable),
                  f"the desktop entry {entry} started {started}, not {executable}")

    def _find_app(self):
        check(self.process.poll() is None, f"the program ended early: {self.output()}")
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                # Values change under us: read them afresh every time.
                app.set_cache_mask(0)
                return app
        return None

    def output(self):
        with open(self.log_path, errors="replace") as log:
            return log.read()

    def stop(self):
        if self.process.poll() is None:
            self.mapped_files = mapped_files(self.process.pid)
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        sanitizer = re.search(r"(ERROR: AddressSanitizer.*|runtime error:.*)", self.output())
        check(not sanitizer, f"the sanitizers reported: {sanitizer and sanitizer.group(0)}")
        if self.launcher_folder:
            left = os.listdir(self.launcher_folder)
            shutil.rmtree(self.launcher_folder, ignore_errors=True)
            check(not left, f"the program wrote {left} into the folder the launcher started it "
                  "in, not into the home folder")

    # Finding and reading

    def windows(self):
        return [w for w in self.app if w is not None and showing(w)]

    def window(self, title, role=None, timeout=15.0):
        """Waits for the shown top-level window `title` and for it to stop moving, then checks
        that it lies on the screen and that a person pointing at its centre reaches it."""
        def shown():
            for w in self.windows():
                if w.name == title and (role is None or w.getRoleName() == role):
                    return w
            return None
        # The main window's size is a journey of its own.
        return placed(wait_for(f'the window "{title}"', shown, timeout), title,
                      title != MAIN_TITLE)

    def alert(self, timeout=15.0):
        """The message box shown now; its text is in its labels."""
        return placed(wait_for("a message box", lambda: next(
            (w for w in self.windows() if w.getRoleName() == "alert"), None), timeout), None)

    def gone(self, title, timeout=15.0):
        wait_for(f'the window "{title}" to close',
                 lambda: all(w.name != title for w in self.windows()), timeout)


def mapped_files(pid):
    """The files process `pid` has mapped: its program, the libraries and plugins it loaded,
    and the data files it maps (translations, fonts)."""
    with open(f"/proc/{pid}/maps") as maps:
        fields = [line.split(maxsplit=5) for line in maps]
    return {f[5].strip() for f in fields if len(f) == 6 and f[5].startswith("/")}


def _state(name):
    return lambda accessible: accessible.getState().contains(getattr(pyatspi, "STATE_" + name))


showing, enabled, focused, checked = map(_state, ("SHOWING", "ENABLED", "FOCUSED", "CHECKED"))
focusable, selected = map(_state, ("FOCUSABLE", "SELECTED"))


def text(accessible):
    """What a control shows: the text of a label or text box, else its name."""
    try:
        return accessible.queryText().getText(0, -1)
    except NotImplementedError:
        return accessible.name


def extents(accessible):
    """Where `accessible` lies on the screen, in the screen's pixels."""
    e = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x * SCALE, e.y * SCALE, e.width * SCALE, e.height * SCALE


def centre(accessible):
    x, y, w, h = extents(accessible)
    return x + w // 2, y + h // 2


def descendants(root, role=None, name=None, shown=True):
    """Controls below `root` with this role and name (a string, or a compiled pattern), in
    tree order. Tables, choosers and long lists are not entered: they are read through them."""
    found = []

    def visit(node):
        for child in node:
            if child is None or (shown and not showing(child)):
                continue
            child_role = child.getRoleName()
            if (role is None or child_role == role) and (
                    name is None or (name.fullmatch(child.name) if hasattr(name, "fullmatch")
                                     else child.name == name)):
                found.append(child)
            if child_role not in ("table", "combo box") and (
                    child_role != "list" or child.childCount <= 100):
                visit(child)

    visit(root)
    return found


def find(root, role=None, name=None, timeout=15.0):
    """Waits for the first shown control below `root` with this role and name."""
    what = f"a {role or 'control'}" + (f' "{getattr(name, "pattern", name)}"' if name else "")
    return wait_for(what, lambda: next(iter(descendants(root, role, name)), None), timeout)


def settled(accessible):
    """Waits until a window stops moving (the window manager places it after it shows)."""
    last = [None]

    def still():
        now = extents(accessible)
        same = now == last[0] and now[2] > 0
        last[0] = now
        return same

    wait_for(f'"{accessible.name}" to stop moving', still)


def placed(window, title, on_screen=True):
    """`window` once it stops moving, checked to lie on the screen and to be reached by a person
    pointing at its centre."""
    title = window.name if title is None else title
    settled(window)
    if on_screen:
        check_on_screen(window, title)
    check_on_top(window, title)
    return window


def table_rows(table):
    """The rows a table shows, as lists of cell texts."""
    t = table.queryTable()
    return [[t.getAccessibleAt(r, c).name for c in range(t.nColumns)] for r in range(t.nRows)]


def table_cell(table, row, column):
    return table.queryTable().getAccessibleAt(row, column)


# Acting: the real pointer and keyboard

def xdotool(*args):
    run("xdotool", *[str(a) for a in args])


def move_to(x, y):
    # `--sync` waits for the pointer to move, so it would wait for ever where it already is.
    here = run("xdotool", "getmouselocation", "--shell")
    if f"X={x}\nY={y}\n" not in here:
        xdotool("mousemove", "--sync", x, y)


def point_at(accessible):
    """Brings the pointer onto a control from a few pixels away, as a hand does."""
    x, y = centre(accessible)
    move_to(x - 4, y)
    move_to(x, y)


def click(accessible, repeat=1):
    point_at(accessible)
    xdotool("click", "--repeat", repeat, "--delay", 80, 1)


def double_click(accessible):
    click(accessible, repeat=2)


def keys(*names):
    xdotool("key", "--delay", 40, *names)


def type_text(value):
    xdotool("type", "--delay", 30, value)


def pointer_window():
    """The top-level X window under the pointer (with openbox, the frame around a window)."""
    location = run("xdotool", "getmouselocation", "--shell")
    return int(re.search(r"WINDOW=(\d+)", location).group(1))


def check_on_top(window, title):
    """A person pointing at the window's centre reaches that window, not one covering it."""
    x, y = centre(window)
    move_to(x, y)
    under = pointer_window()
    tree = run("xwininfo", "-tree", "-id", str(under))
    names = re.findall(r'0x[0-9a-f]+ "([^"]*)"', tree)
    check(title in names,
          f'the window "{title}" is covered at its centre ({x}, {y}) by "{", ".join(names)}"')


def check_on_screen(window, title):
    x, y, w, h = extents(window)
    check(x >= 0 and y >= 0 and x + w <= SCREEN_WIDTH and y + h <= SCREEN_HEIGHT,
          f'the window "{title}" ({w}x{h} at {x}, {y}) does not fit the '
          f"{SCREEN_WIDTH}x{SCREEN_HEIGHT} screen")


def press_command(window, caption):
    """Runs a command as a person does: the pointer goes to where its caption is shown (a hover
    command's button appears there), then a click. Returns the button pressed."""
    target = find(window, name=caption)
    point_at(target)
    button = find(window, "push button", caption)
    wait_for(f'"{caption}" to be enabled', lambda: enabled(button))
    click(button)
    return button


# The keyboard: what has the focus, and where Tab takes it

def focused_control(root):
    """The shown control below `root` that has the keyboard focus, or None. Views and
    choosers are not entered: the focus is theirs."""
    showing_state, focused_state = pyatspi.STATE_SHOWING, pyatspi.STATE_FOCUSED

    def visit(node):
        for child in node:
            if child is None:
                continue
            state = child.getState()
            if not state.contains(showing_state):
                continue
            if state.contains(focused_state):
                return child
            if child.getRoleName() not in ("table", "combo box", "list", "tree table", "tree"):
                found = visit(child)
                if found is not None:
                    return found
        return None
    return visit(root)


def focus_of(root, what="the focus"):
    """Waits for a control below `root` to have the focus and returns it."""
    return wait_for(f"{what} in {root.name!r}", lambda: focused_control(root))


def tab_until(root, role, name, limit=60):
    """Presses Tab until the control with this role and name (a string or a pattern) below
    `root` has the focus; returns it."""
    def matches(control):
        return control is not None and control.getRoleName() == role and (
            name.fullmatch(control.name) if hasattr(name, "fullmatch") else control.name == name)
    control = focused_control(root)
    for _ in range(limit):
        if matches(control):
            return control
        before = control and _identity(control)
        keys("Tab")
        # The focus moves on after the key: wait for it to leave the control it was on.
        control = wait_for("the focus to move", lambda: (
            lambda now: now if now is not None and _identity(now) != before else None)(
                focused_control(root)), timeout=3)
    raise JourneyFailed(f'Tab never reaches the {role} "{getattr(name, "pattern", name)}" in '
                        f'"{root.name}"')


def _identity(control):
    return control.getRoleName(), control.name, extents(control)


def tab_chain(root, limit=80):
    """The controls Tab visits below `root`, from the one after the focused control round to
    it again, as accessibles in the order visited."""
    start = before = _identity(focus_of(root))
    chain = []
    for _ in range(limit):
        keys("Tab")
        control = wait_for("the focus to move on", lambda: (
            lambda now: now if now is not None and _identity(now) != before else None)(
                focused_control(root)), timeout=3)
        chain.append(control)
        before = _identity(control)
        if before == start:
            return chain
    raise JourneyFailed(f'Tab never comes back round in "{root.name}": '
                        f"{[c.name for c in chain]}")
