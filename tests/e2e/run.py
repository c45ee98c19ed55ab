#!/usr/bin/env python3
"""End-to-end scenarios of the editor window. Usage:

    dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" tests/e2e/run.py BUILD ARTEFACTS [NAME...]

Each scenario starts its own simulated pedals and editor; screenshots of the
end states are kept in ARTEFACTS. Exits non-zero when a scenario fails."""

import os
import signal
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import *  # noqa: E402,F401,F403
import claim_scenarios  # noqa: E402,F401  (registers its scenarios)
import file_scenarios  # noqa: E402,F401  (registers its scenarios)
import history_scenarios  # noqa: E402,F401  (registers its scenarios)
import library_scenarios  # noqa: E402,F401  (registers its scenarios)
import start_scenarios  # noqa: E402,F401  (registers its scenarios)


def writes(pedal):
    return pedal.state()["counters"]["writes"]


@scenario()
def window_is_shaped_and_fixed(s):
    pedal = s.pedal()
    began = time.monotonic()
    editor = s.show_editor()
    shown = time.monotonic() - began
    x, y, w, h = editor.geometry()
    check((w, h) == (640, 650), "window is %dx%d" % (w, h))
    shot = s.screenshot("shown")
    check(magenta_share(shot, x, y, w, h) == 0.0, "magenta shows: the window is not cut to its outline")
    xdotool("windowsize", editor.window, 800, 800)
    time.sleep(0.5)
    check(editor.geometry()[2:] == (640, 650), "a resize request changed the window")
    check(pedal.state()["counters"]["writes"] == 0, "reading the pedal wrote to it")
    print("    start to window shown: %.2f s" % shown)


@scenario()
def close_button_exits_and_keeps_the_position(s):
    s.pedal()
    editor = s.show_editor()
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not exit with 0")
    with open(os.path.join(s.env["XDG_CONFIG_HOME"], "Plavik", "Tovan", "1.00.ini")) as f:
        check("MainWindow_p=n:" in f.read(), "the window position was not stored")


@scenario()
def second_start_hands_over_and_exits(s):
    s.pedal()
    editor = s.show_editor()
    second = s.start_editor()
    check(second.wait_exit(15) == 1, "a second start did not exit with 1")
    windows = visible_windows("Plavik Tovan")
    check(len(windows) == 1, "%d windows after a second start" % len(windows))


@scenario()
def wheel_over_a_knob_writes_one_value(s):
    pedal = s.pedal()
    editor = s.show_editor()
    before = pedal.state()
    editor.click(*LEVEL_KNOB, button=4)
    time.sleep(0.5)
    after = pedal.state()
    check(after["counters"]["writes"] - before["counters"]["writes"] == 1, "not exactly one write")
    check(after["edit_buffer"]["common"][0] == before["edit_buffer"]["common"][0] + 1, "the level did not go up")
    s.screenshot("wheel")


@scenario()
def dragging_a_knob_up_and_down_and_round(s):
    pedal = s.pedal()
    editor = s.show_editor()
    # Up and down (the first start's setting): a step a move, the pointer put back.
    level_text = (LEVEL_KNOB[0] - 20, LEVEL_KNOB[1] + 12, 40, 12)
    text_before = screen_region(s, editor, "before-drag", level_text)
    before = pedal.state()
    level = before["edit_buffer"]["common"][0]
    sx, sy = editor.at(*LEVEL_KNOB)
    xdotool("mousemove", "--sync", sx, sy)
    xdotool("mousedown", 1)
    time.sleep(0.2)
    moves = 4
    for _ in range(moves):
        xdotool("mousemove_relative", "--", 0, -2)
        time.sleep(0.15)
    xdotool("mouseup", 1)
    time.sleep(0.4)
    after = pedal.state()
    # Two pixels up a move, one step a pixel for a range of 100.
    check(after["edit_buffer"]["common"][0] == level + 2 * moves, "the level did not follow the drag")
    written = after["counters"]["writes"] - before["counters"]["writes"]
    check(written == moves, "%d write exchanges for %d steps" % (written, moves))
    check(pointer() == (sx, sy), "the pointer did not come back to where the drag started")
    check(screen_region(s, editor, "after-drag", level_text) != text_before, "the value text did not follow")

    # Round: the knob follows the pointer's angle, from the top to the right.
    editor.click(*SETTINGS_TAB)
    editor.click(*POT_MODE_BUTTON)
    editor.click(*PRESET_TAB)
    before = pedal.state()
    top = (LEVEL_KNOB[0], LEVEL_KNOB[1] - 12)
    editor.move(*top)
    xdotool("mousedown", 1)
    time.sleep(0.2)
    path = ((4, 1), (8, 4), (11, 8), (12, 12))
    for dx, dy in path:
        editor.move(top[0] + dx, top[1] + dy)
        time.sleep(0.15)
    xdotool("mouseup", 1)
    time.sleep(0.4)
    after = pedal.state()
    # Right of the top of the arc is above half the range.
    check(after["edit_buffer"]["common"][0] > 55, "turning round did not follow the pointer")
    written = after["counters"]["writes"] - before["counters"]["writes"]
    check(1 <= written <= len(path), "%d writes for %d moves" % (written, len(path)))
    # Turning round never hides the pointer: it stays where the player let go.
    check(pointer() == editor.at(top[0] + 12, top[1] + 12), "the pointer moved after a turn")
    s.screenshot("dragged")


def log_lines(path, first):
    with open(path) as f:
        return [line.split() for line in f if line.startswith(first + " ")]


def factory_preset_keys(slot):
    """The keys that choose F<slot> in the open preset menu: Factory, its group of ten, the slot."""
    return ["Down", "Right"] + ["Down"] * (slot // 10) + ["Right"] + ["Down"] * (slot % 10) + ["Return"]


# Client rectangles of the preset tab: the preset number with the preset menu
# (its name), and the filter chart with its live markers.
PRESET_HEADER = (50, 59, 260, 32)
FILTER_CHART = (30, 122, 580, 180)


# The sweep chart's plot in client coordinates: 10 Hz to 4 kHz from left to
# right, heights 0 to 100 from bottom to top, and the half size of a live marker.
SWEEP_PLOT = (52, 139, 589, 284)
MARKER_REACH = 9


def marker_at(frequency, height):
    """Where the chart puts a filter's live marker (client coordinates), or None when it hides."""
    if frequency < 10:
        return None
    left, top, right, bottom = SWEEP_PLOT
    x = left + int((min(frequency, 4000) - 10) * (right - left) / 3990)
    y = bottom - int(min(height, 100) * (bottom - top) / 100)
    return x, y


def changed_pixels(before, after, width):
    """The (x, y) of each pixel that differs between two RGB crops of one width."""
    return [(i // 3 % width, i // 3 // width) for i in range(0, len(before), 3)
            if before[i:i + 3] != after[i:i + 3]]


def near(point, spot, origin):
    """Whether a pixel of a crop at origin lies on a marker drawn at spot."""
    return spot is not None and abs(point[0] + origin[0] - spot[0]) <= MARKER_REACH and \
        abs(point[1] + origin[1] - spot[1]) <= MARKER_REACH


def rock_only_markers_follow(s, pedal, editor, played):
    """With only the rocker played, 200 ms after a rock the chart has changed
    since the rock looked at before exactly where a marker left and where it
    arrived at the pedal's position, and nowhere else."""
    pedal.process.send_signal(signal.SIGUSR2)
    time.sleep(0.5)
    seen = len(log_lines(played, "play"))
    looks = []  # (the markers' places, a screenshot)
    end = time.monotonic() + 6.0
    while time.monotonic() < end and len(looks) < 8:
        steps = log_lines(played, "play")[seen:]
        if not steps:
            time.sleep(0.02)
            continue
        seen += len(steps)
        _, at, _, what, _, f1, h1, f2, h2 = steps[-1]
        check(what == "pedal", "the rock-only player made a %s step" % what)
        wait = int(at) / 1e6 + 0.2 - time.monotonic()
        if wait < 0:
            continue  # seen too late to look at it in time
        time.sleep(wait)
        # Cropped afterwards: a screenshot takes most of the time to the next rock.
        looks.append(((marker_at(int(f1), int(h1)), marker_at(int(f2), int(h2))),
                      s.screenshot("rock-%d" % len(looks))))
    check(len(looks) >= 4, "only %d rocks were looked at" % len(looks))
    x, y, _, _ = editor.geometry()
    charts = [(spots, region_pixels(shot, x + FILTER_CHART[0], y + FILTER_CHART[1], *FILTER_CHART[2:]))
              for spots, shot in looks]
    origin = FILTER_CHART[:2]
    followed = 0
    for (spots_before, before), (spots_after, after) in zip(charts, charts[1:]):
        changed = changed_pixels(before, after, FILTER_CHART[2])
        spots = spots_before + spots_after
        stray = [p for p in changed if not any(near(p, spot, origin) for spot in spots)]
        check(not stray, "after a rock the chart changed away from the markers' places %s, at %s" %
              (spots, [(p[0] + origin[0], p[1] + origin[1]) for p in stray[:3]]))
        if spots_before != spots_after:
            check(changed, "200 ms after a rock to %s the markers had not moved" % (spots_after,))
        for filter in (0, 1):
            left, arrived = spots_before[filter], spots_after[filter]
            if left is None or arrived is None or far_apart(left, arrived) is False:
                continue
            others = [spot for i, spot in enumerate(spots) if i not in (filter, filter + 2) and spot]
            if any(not far_apart(spot, other) for spot in (left, arrived) for other in others):
                continue  # the other filter's marker is there too
            # A shown marker leaves its place and arrives at the new one; a hidden one does neither.
            went = any(near(p, left, origin) for p in changed)
            came = any(near(p, arrived, origin) for p in changed)
            check(went == came, "filter %d's marker %s %s but %s %s" %
                  (filter + 1, "left" if went else "did not leave", left,
                   "arrived at" if came else "did not arrive at", arrived))
            followed += came
    check(followed > 0, "no marker was seen to arrive where the pedal put it")
    print("    %d rocks looked at with only the rocker played; a marker followed %d times" % (len(looks), followed))


def far_apart(a, b):
    """Whether markers drawn at a and at b cannot touch."""
    return abs(a[0] - b[0]) > 2 * MARKER_REACH or abs(a[1] - b[1]) > 2 * MARKER_REACH


@scenario()
def a_played_pedal_is_followed_and_nothing_is_written_back(s):
    frames = os.path.join(s.root, "frames.log")
    played = os.path.join(s.root, "played.log")
    s.env["TOVAN_FRAME_LOG"] = frames
    # A step every 350 ms, time to look at the screen 200 ms after one; this
    # seed's steps step presets several times in the watched stretch.
    pedal = s.pedal("--play", "--play-interval-ms", "350", "--play-log", played, "--seed", "7")
    editor = s.show_editor()
    editor.move(*NOWHERE)
    time.sleep(1.0)  # the first reload, while the pedal is played already
    first = pedal.state()
    watched_from = time.monotonic()
    seen = 0
    headers = {}  # preset: what the header showed 200 ms after a step onto it
    rocks = []  # (live positions, the chart 200 ms after the rock)
    while time.monotonic() < watched_from + 8.0:
        steps = [line for line in log_lines(played, "play")[seen:]]
        if not steps:
            time.sleep(0.02)
            continue
        seen += len(steps)
        _, at, _, what, preset, *live = steps[-1]
        at = int(at) / 1e6
        if what not in ("pedal", "preset"):
            continue  # a knob or the mode switch
        wait = at + 0.2 - time.monotonic()
        if wait < 0:
            continue  # seen too late to look at it in time
        time.sleep(wait)
        shot = s.screenshot("step-%d" % seen)
        x, y, _, _ = editor.geometry()
        if what == "preset":
            header = region_pixels(shot, x + PRESET_HEADER[0], y + PRESET_HEADER[1], *PRESET_HEADER[2:])
            headers.setdefault(int(preset), []).append((seen, header))
        else:
            chart = region_pixels(shot, x + FILTER_CHART[0], y + FILTER_CHART[1], *FILTER_CHART[2:])
            rocks.append((tuple(live), chart, seen))
    last = pedal.state()
    watched_to = time.monotonic() - 0.3
    check(last["counters"]["writes"] == first["counters"]["writes"], "the editor wrote back what was played")

    # Nothing else moves on screen while nobody touches the window, so the first
    # frame after a step is the step shown.
    shown = [int(f[1]) / 1e6 for f in log_lines(frames, "frame")]
    lags = []
    for _, at, _, what, *_ in log_lines(played, "play"):
        at = int(at) / 1e6
        if what not in ("pedal", "preset") or not watched_from <= at <= watched_to:
            continue
        after = [t for t in shown if t >= at]
        lags.append(after[0] - at if after else float("inf"))
    looked = sum(len(v) for v in headers.values()) + len(rocks)
    check(looked >= 4, "only %d visible steps were looked at" % looked)
    lags.sort()
    print("    %d steps, %d looked at; first frame after %.0f ms (median), %.0f ms (slowest)" %
          (len(lags), looked, 1000 * lags[len(lags) // 2], 1000 * lags[-1]))

    # A rock moves the live marker: 200 ms after it the chart differs from the
    # chart after the rock before, whenever the pedal's position differs.
    for (before, chart_before, _), (after, chart_after, step) in zip(rocks, rocks[1:]):
        if before != after:
            check(chart_after != chart_before, "200 ms after rock %d the marker had not moved" % step)
    rock_only_markers_follow(s, pedal, editor, played)
    # One editor at a time (a second start hands over), one program a pedal.
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close")
    pedal.stop()

    # The header after a preset step is what the editor shows when the preset
    # is chosen from its own menu on a pedal nobody plays.
    check(headers, "no preset step was looked at")
    plain = s.pedal()
    reference = s.show_editor()
    for preset, looks in sorted(headers.items()):
        label = ("F%02d" if preset < 100 else "P%02d") % (preset % 100)
        reference.click(*PRESET_MENU)
        choose_in_menu(factory_preset_keys(preset) if preset < 100 else user_preset_keys(preset - 100))
        check(wait_until(lambda: plain.state()["active_preset"] == preset, 3), "%s was not selected" % label)
        reference.move(*NOWHERE)
        time.sleep(0.4)
        expected = screen_region(s, reference, "reference-" + label, PRESET_HEADER)
        for step, header in looks:
            check(header == expected, "200 ms after step %d the header did not show %s" % (step, label))
    print("    presets looked at: %s; %d rocks" % (", ".join(str(p) for p in sorted(headers)), len(rocks)))
    check(lags[-1] <= 0.2, "a step on the pedal took %.0f ms to show" % (1000 * lags[-1]))


@scenario()
def preset_menu_selects_a_preset(s):
    pedal = s.pedal()
    editor = s.show_editor()
    editor.click(*PRESET_MENU)
    time.sleep(0.6)
    s.screenshot("menu")
    # Factory, its first group, its second preset.
    for key in ("Down", "Right", "Right", "Down", "Return"):
        xdotool("key", key)
        time.sleep(0.2)
    check(wait_until(lambda: pedal.state()["active_preset"] == 1, 3), "the chosen preset was not selected")
    time.sleep(0.5)
    # The page shows the preset's number, name and values: as a new start that
    # reads the pedal, already on that preset, from scratch shows them.
    page = (20, 50, 600, 540)
    editor.move(*NOWHERE)  # nothing lit under the pointer
    time.sleep(0.5)
    chosen = screen_region(s, editor, "chosen", page)
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close")
    fresh = s.show_editor()
    fresh.move(*NOWHERE)
    time.sleep(1.0)
    check(screen_region(s, fresh, "read-afresh", page) == chosen,
          "the page after choosing differs from the page read afresh")


@scenario()
def typing_into_a_field_reaches_the_pedal(s):
    pedal = s.pedal()
    editor = s.show_editor()
    editor.click(*HEEL_FREQUENCY)
    time.sleep(0.3)
    xdotool("type", "--delay", "30", "777")
    xdotool("key", "Return")
    check(wait_until(lambda: pedal.state()["edit_buffer"]["filter"][0][3] == 777, 3),
          "the typed heel frequency did not reach the pedal")
    s.screenshot("typed")


@scenario()
def a_pedal_plugged_in_later_is_read(s):
    editor = s.show_editor()
    s.screenshot("no-pedal")
    plugged = time.monotonic()
    pedal = s.pedal()
    read = wait_until(lambda: pedal.state()["counters"]["requests"] > 100, 5)
    elapsed = time.monotonic() - plugged
    check(read and elapsed <= 2.0, "the new pedal was read after %.2f s" % elapsed)
    check(pedal.state()["counters"]["writes"] == 0, "reading the new pedal wrote to it")
    time.sleep(0.3)
    s.screenshot("plugged")
    print("    pedal read %.2f s after it appeared" % elapsed)


@scenario()
def a_vanishing_pedal_leaves_the_editor_responsive(s):
    pedal = s.pedal()
    editor = s.show_editor()
    body = (20, 50, 600, 540)
    editor.move(*NOWHERE)
    time.sleep(0.3)
    with_pedal = screen_region(s, editor, "with-pedal", body)
    pedal.stop()
    # The page says the pedal went (the tabs go with it)...
    check(wait_until(lambda: screen_region(s, editor, "unplugged", body) != with_pedal, 3),
          "the page did not change when the pedal went")
    check(editor.process.poll() is None, "the editor ended when the pedal went")
    # ... and still answers the player: a click on Load opens its chooser.
    editor.click(*LOAD_BUTTON)
    chooser = dialog("Load")
    xdotool("key", "Escape")
    check(wait_until(lambda: chooser not in windows_titled("Load"), 3), "the chooser did not close")
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the pedal went")


@scenario()
def two_pedals_switch_with_the_device_selector(s):
    pedals = s.pedal("--count", "2")
    editor = s.show_editor()
    editor.move(*NOWHERE)
    time.sleep(0.3)
    first_strip = screen_region(s, editor, "first-pedal", DEVICE_STRIP)
    before = [pedals.state(i)["counters"] for i in (0, 1)]
    editor.click(*DEVICE_MENU)
    choose_in_menu(["Down", "Down", "Return"])
    check(wait_until(lambda: pedals.state(1)["counters"]["requests"] > before[1]["requests"] + 100, 5),
          "the second pedal was not read after choosing it")
    check(pedals.state(1)["counters"]["writes"] == 0, "choosing a pedal wrote to it")
    # Now the editor talks to the second pedal and no longer to the first: a
    # turn of the level knob reaches the second only.
    time.sleep(0.5)
    first_before, second_before = pedals.state(0), pedals.state(1)
    editor.click(*LEVEL_KNOB, button=4)
    check(wait_until(lambda: pedals.state(1)["edit_buffer"]["common"][0] ==
                     second_before["edit_buffer"]["common"][0] + 1, 3),
          "turning the level after the switch did not reach the second pedal")
    first_after = pedals.state(0)
    check(first_after["counters"]["writes"] == first_before["counters"]["writes"] and
          first_after["edit_buffer"] == first_before["edit_buffer"], "the first pedal was still written")
    # The device menu shows the second pedal's name.
    editor.move(*NOWHERE)
    check(screen_region(s, editor, "second-pedal", DEVICE_STRIP) != first_strip,
          "the device menu still shows the first pedal")


@scenario()
def deleting_a_user_preset_asks_first(s):
    pedal = s.pedal()
    editor = s.show_editor()
    select_user_preset(editor, pedal, 0)
    name = pedal.state()["user_presets"][0]["name"]
    editor.click(*DELETE_BUTTON)
    dialog("Tovan Warning")
    s.screenshot("question")
    xdotool("key", "Escape")
    time.sleep(0.5)
    check(pedal.state()["user_presets"][0]["name"] == name, "Cancel deleted the preset")
    editor.click(*DELETE_BUTTON)
    dialog("Tovan Warning")
    xdotool("key", "Return")
    check(wait_until(lambda: pedal.state()["user_presets"][0]["name"] == "---", 3), "OK did not delete the preset")


@scenario()
def a_backup_shows_its_progress_and_can_be_verified(s):
    pedal = s.pedal("--latency-us", "300")
    editor = s.show_editor()
    editor.click(*SETLIST_TAB)
    editor.move(*NOWHERE)
    time.sleep(0.3)
    x, y, _, _ = editor.geometry()
    box = (x + PROGRESS_BOX[0], y + PROGRESS_BOX[1], PROGRESS_BOX[2], PROGRESS_BOX[3])
    caption = (x + PROGRESS_CAPTION[0], y + PROGRESS_CAPTION[1], PROGRESS_CAPTION[2], PROGRESS_CAPTION[3])
    dimmed = (x + DIMMED_AREA[0], y + DIMMED_AREA[1], DIMMED_AREA[2], DIMMED_AREA[3])
    undimmed = mean_level(s.screenshot("before-backup"), *dimmed)
    target = os.path.join(s.root, "pedal.tovan_all")
    editor.click(*ACTION_BUTTON)
    save_through_the_chooser(s, target, r"Save All \(backup\)")
    dialog("Tovan Info")  # hands off the pedal while it runs
    xdotool("key", "Return")
    # The progress panel shows over the dimmed window, and its bar moves on
    # as the pedal's presets are read.
    check(wait_until(lambda: pedal.state()["active_preset"] >= 101, 10), "the backup did not start reading presets")
    shot = s.screenshot("progress")
    check(mean_level(shot, *dimmed) < undimmed - 4, "the window was not dimmed for the progress panel")
    check(cream_pixels(shot, *caption) > 10, "the progress panel's box and caption are not drawn")
    early = region_pixels(shot, *box)
    reading = pedal.state()["active_preset"]
    check(wait_until(lambda: pedal.state()["active_preset"] >= reading + 3, 20), "the backup stopped reading presets")
    time.sleep(0.2)
    check(region_pixels(s.screenshot("progress-later"), *box) != early, "the progress bar did not move")
    check(wait_until(lambda: os.path.exists(target), 90), "no backup file")
    dismiss_if_shown("Tovan Info", 3)  # the backup's closing word, if it has one
    check(wait_until(lambda: editor.process.poll() is None and os.path.getsize(target) > 1000, 5), "backup empty")
    check(pedal.state()["active_preset"] == 0, "the backup left the pedal on another preset")
    # One program at a time talks to a pedal: the editor goes before the check.
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the backup")
    cli = subprocess.run([os.path.join(s.tools, "tovan-cli"), "--pedal", "virtual:" + s.bus, "verify", target],
                         capture_output=True, text=True, env=s.env)
    check(cli.returncode == 0, "verify: " + cli.stdout + cli.stderr)


def told(s, title):
    """The texts of the message boxes with that title the editor showed so far (its trace)."""
    with open(s.log, errors="replace") as f:
        prefix = 'message box "%s": ' % title
        return [line[len(prefix):].strip() for line in f if line.startswith(prefix)]


@scenario()
def a_pedal_pulled_during_a_backup(s):
    s.env["TOVAN_TRACE"] = "1"  # the message boxes' texts go to the log
    pedal = s.pedal("--latency-us", "2000")
    editor = s.show_editor()
    editor.click(*SETLIST_TAB)
    target = os.path.join(s.root, "old.tovan_all")
    with open(target, "wb") as f:
        f.write(b"an older backup")
    editor.click(*ACTION_BUTTON)
    save_through_the_chooser(s, target, r"Save All \(backup\)")
    replace = wait_until(lambda: visible_windows("already exists"), 3)
    if replace:  # the chooser asks before replacing the old file
        xdotool("key", "Return")
    # The notice before the backup starts; the backup runs once it is answered.
    dialog("Tovan Info")
    check(any(t.startswith("During backup, do not touch the controls") for t in told(s, "Tovan Info")),
          "the notice before the backup is not the backup's")
    xdotool("key", "Return")
    # Pulled while it reads the user presets: the pedal walks them one by one.
    check(wait_until(lambda: pedal.state()["active_preset"] >= 101, 10),
          "the backup did not get to the user presets")
    pedal.stop()
    went = pedal.state_at_exit()
    check(100 <= went["active_preset"] <= 198 and not went["mode_switch"],
          "the pedal was not in the middle of the backup's preset reads when it went: %s on P%02d" %
          ("mode switch on" if went["mode_switch"] else "mode switch off", went["active_preset"] - 100))
    print("    pulled while reading P%02d" % (went["active_preset"] - 100))
    # It says what happened, and still answers: the message goes, a pedal plugged
    # back in is read again.
    check(wait_until(lambda: windows_titled("Tovan Error"), 10), "nothing told the player that the backup failed")
    s.screenshot("pulled")
    check(editor.process.poll() is None, "the editor ended")
    with open(target, "rb") as f:
        check(f.read() == b"an older backup", "the old backup was replaced by a broken one")
    errors = told(s, "Tovan Error")
    check(any(t.startswith("The backup could not be completed: user preset P") and
              "No backup file was written; an existing file was left as it was." in t for t in errors),
          "the error does not say the backup failed and the old file stayed: %r" % errors)
    dialog("Tovan Error")
    xdotool("key", "Return")
    check(wait_until(lambda: not windows_titled("Tovan Error"), 3),
          "the message did not go")
    again = s.pedal()
    check(wait_until(lambda: again.state()["counters"]["requests"] > 100, 5), "the pedal plugged back was not read")
    check(again.state()["counters"]["writes"] == 0, "reading the pedal plugged back wrote to it")
    time.sleep(0.5)
    s.screenshot("plugged-back")
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the pedal went mid-backup")


def screen_region(s, editor, label, box):
    """The pixels of one client rectangle of the window, as bytes; raises when they cannot be read."""
    path = s.screenshot(label)
    x, y, _, _ = editor.geometry()
    return region_pixels(path, x + box[0], y + box[1], box[2], box[3])


@scenario()
def every_tab_shows_and_a_setlist_slot_is_edited(s):
    pedal = s.pedal()
    editor = s.show_editor()
    body = (20, 50, 600, 540)
    seen = []
    for name, tab in (("preset", PRESET_TAB), ("setlist", SETLIST_TAB), ("midi", MIDI_TAB),
                      ("settings", SETTINGS_TAB), ("library", LIBRARY_TAB)):
        editor.click(*tab)
        time.sleep(0.4)
        seen.append(screen_region(s, editor, "tab-" + name, body))
    check(len(set(seen)) == 5, "two tabs show the same body")

    editor.click(*SETLIST_TAB)
    # The active setlist's list is drawn by the page: Off, Demo Mode, Setlist A, ...
    editor.click(*ACTIVE_SETLIST)
    time.sleep(0.3)
    editor.click(ACTIVE_SETLIST[0], SETLIST_LIST_TOP + 2 * SETLIST_LIST_PITCH + SETLIST_LIST_PITCH // 2)
    time.sleep(0.5)
    editor.click(*SLOT1_PROGRAM)
    choose_in_menu(["Down", "Down", "Right", "Down", "Return"])  # 1 - 16, then its second: program 2
    check(wait_until(lambda: pedal.state()["setlists"][1]["programs"][0] == 2, 3),
          "slot 1 of setlist A does not hold program 2")
    editor.click(*SLOT1_PRESET)
    choose_in_menu(["Down", "Down", "Right", "Right", "Down", "Return"])  # Factory, F00 - F09, F01
    check(wait_until(lambda: pedal.state()["setlists"][1]["presets"][0] == 1, 3),
          "slot 1 of setlist A does not hold F01")
    slots = pedal.state()["setlists"][1]
    check(slots["presets"][1:] == [255] * 19 and slots["programs"][1:] == [0] * 19, "another slot changed")
    s.screenshot("slot-edited")


@scenario()
def a_preset_is_stored_another_deleted_a_third_reverted(s):
    pedal = s.pedal()
    editor = s.show_editor()

    # Store: P00 with a higher level, into P05 as "NEW".
    select_user_preset(editor, pedal, 0)
    level = pedal.state()["edit_buffer"]["common"][0]
    editor.click(*LEVEL_KNOB, button=4)
    check(wait_until(lambda: pedal.state()["edited"], 3), "the edit did not mark the preset edited")
    editor.click(*STORE_BUTTON)
    time.sleep(0.4)
    s.screenshot("store-panel")
    editor.click(*STORE_SLOT_MENU)
    # A hundred slots: the menu opens scrolled, with the slot under the pointer lit.
    choose_in_menu(["Home"] + ["Down"] * 5 + ["Return"])
    editor.click(*STORE_NAME_FIELD)
    time.sleep(0.3)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "30", "NEW")
    xdotool("key", "Return")
    time.sleep(0.3)
    editor.click(*STORE_PANEL_STORE)
    check(wait_until(lambda: pedal.state()["user_presets"][5]["name"] == "NEW", 3), "P05 was not stored as NEW")
    state = pedal.state()
    check(state["active_preset"] == 105 and not state["edited"], "the stored preset is not the one loaded")
    check(state["edit_buffer"]["common"][0] == level + 1, "P05 does not hold the edited level")
    select_user_preset(editor, pedal, 0)
    check(pedal.state()["edit_buffer"]["common"][0] == level, "storing elsewhere changed P00")
    s.screenshot("stored")

    # Delete: P01, answered OK in the warning.
    select_user_preset(editor, pedal, 1)
    editor.click(*DELETE_BUTTON)
    dialog("Tovan Warning")
    xdotool("key", "Return")
    check(wait_until(lambda: pedal.state()["user_presets"][1]["name"] == "---", 3), "P01 was not deleted")

    # Revert: P02 edited, then its edit discarded, answered OK in the warning.
    select_user_preset(editor, pedal, 2)
    stored = pedal.state()["edit_buffer"]["common"][0]
    editor.click(*LEVEL_KNOB, button=5)
    check(wait_until(lambda: pedal.state()["edited"], 3), "the edit did not mark P02 edited")
    editor.click(*REVERT_BUTTON)
    dialog("Tovan Warning")
    s.screenshot("revert-question")
    xdotool("key", "Return")
    check(wait_until(lambda: not pedal.state()["edited"], 3), "REVERT left P02 edited")
    check(pedal.state()["edit_buffer"]["common"][0] == stored, "REVERT did not bring P02's level back")
    names = [p["name"] for p in pedal.state()["user_presets"][:6]]
    check(names[0] != "---" and names[2] != "---" and names[5] == "NEW", "other presets changed: %r" % names)
    time.sleep(0.3)
    s.screenshot("reverted")


def window_state(window):
    out = subprocess.run(["xprop", "-id", window, "_NET_WM_STATE"], capture_output=True, text=True).stdout
    return out


@scenario(needs_window_manager=True)
def topmost_minimise_and_raise_with_a_window_manager(s):
    s.pedal()
    editor = s.show_editor()
    editor.click(*TOPMOST)
    check(wait_until(lambda: "_NET_WM_STATE_ABOVE" in window_state(editor.window), 3), "not kept above")
    editor.click(*TOPMOST)
    check(wait_until(lambda: "_NET_WM_STATE_ABOVE" not in window_state(editor.window), 3), "still kept above")
    editor.click(*MINIMISE)
    check(wait_until(lambda: not visible_windows("Plavik Tovan"), 3),
          "the window was not minimised")
    second = s.start_editor()
    check(second.wait_exit(15) == 1, "a second start did not exit with 1")
    check(wait_until(lambda: visible_windows("Plavik Tovan"), 3),
          "a second start did not bring the window back")
    s.screenshot("raised")


def main():
    build, artefacts = sys.argv[1], sys.argv[2]
    wanted = set(sys.argv[3:])
    unknown = wanted - {name for name, _, _ in SCENARIOS}
    if unknown:
        print("e2e: no scenario named %s" % ", ".join(sorted(unknown)))
        return 2
    os.makedirs(artefacts, exist_ok=True)
    # An X server resets when its last client leaves, and refuses connections
    # while it does ("cannot open display"): between two scenarios nothing else
    # is connected. A client held for the whole run keeps it up however the
    # server was started.
    keeper = subprocess.Popen(["xdotool", "sleep", "86400"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        return run_scenarios(build, artefacts, wanted)
    finally:
        keeper.kill()
        keeper.wait()


def run_scenarios(build, artefacts, wanted):
    failed = []
    ran = 0
    for name, function, needs_window_manager in SCENARIOS:
        if wanted and name not in wanted:
            continue
        session = Session(build, artefacts, name)
        manager = None
        if needs_window_manager:
            manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, env=session.env)
            time.sleep(1.0)
        began = time.monotonic()
        ran += 1
        passed = False
        try:
            function(session)
            session.screenshot("end")
            passed = True
        except Failure as failure:
            last_screenshot(session)
            print("FAIL %s: %s" % (name, failure))
        except Exception:
            last_screenshot(session)
            traceback.print_exc()
            print("FAIL %s" % name)
        finally:
            problems = session.close()
            if manager is not None:
                manager.terminate()
                manager.wait(5)
        for problem in problems:
            print("FAIL %s: %s" % (name, problem))
        if passed and not problems:
            print("ok   %s (%.1f s)" % (name, time.monotonic() - began))
        else:
            failed.append(name)
            # CI keeps no artefacts: what the programs said is shown here.
            for line in log_tail(session.log):
                print("     | %s" % line)
    if failed:
        print("e2e: %d of %d failed: %s" % (len(failed), ran, ", ".join(failed)))
        return 1
    if ran == 0:
        print("e2e: no scenario ran")
        return 1
    print("e2e: all %d passed" % ran)
    return 0


def last_screenshot(session):
    try:
        session.screenshot("failed")
    except Failure as failure:
        print("     (%s)" % failure)


if __name__ == "__main__":
    sys.exit(main())
