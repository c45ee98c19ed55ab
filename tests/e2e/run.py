#!/usr/bin/env python3
"""End-to-end scenarios of the editor window. Usage:

    dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" tests/e2e/run.py BUILD ARTEFACTS [NAME...]

Each scenario starts its own simulated pedals and editor; screenshots of the
end states are kept in ARTEFACTS. Exits non-zero when a scenario fails."""

import os
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import *  # noqa: E402,F401,F403
import claim_scenarios  # noqa: E402,F401  (registers its scenarios)
import file_scenarios  # noqa: E402,F401  (registers its scenarios)
import history_scenarios  # noqa: E402,F401  (registers its scenarios)


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


@scenario()
def a_played_pedal_is_followed_and_nothing_is_written_back(s):
    frames = os.path.join(s.root, "frames.log")
    played = os.path.join(s.root, "played.log")
    s.env["TOVAN_FRAME_LOG"] = frames
    pedal = s.pedal("--play", "--play-interval-ms", "250", "--play-log", played)
    editor = s.show_editor()
    time.sleep(1.0)  # the first reload, while the pedal is played already
    first = pedal.state()
    watched_from = time.monotonic()
    time.sleep(6.0)
    last = pedal.state()
    watched_to = time.monotonic() - 0.3
    check(last["counters"]["writes"] == first["counters"]["writes"], "the editor wrote back what was played")
    # Nothing else moves on screen while nobody touches the window, so the first
    # frame after a step is the step shown. Knobs turned on the pedal may sit on a
    # mode panel that is not showing: rocking the pedal and stepping presets show.
    shown = [int(f[1]) / 1e6 for f in log_lines(frames, "frame")]
    lags = []
    for _, at, _, what in log_lines(played, "play"):
        at = int(at) / 1e6
        if what not in ("pedal", "preset") or not watched_from <= at <= watched_to:
            continue
        after = [t for t in shown if t >= at]
        lags.append(after[0] - at if after else float("inf"))
    check(len(lags) >= 8, "only %d visible steps were played" % len(lags))
    lags.sort()
    print("    %d steps shown after %.0f ms (median), %.0f ms (slowest)" %
          (len(lags), 1000 * lags[len(lags) // 2], 1000 * lags[-1]))
    check(lags[-1] <= 0.2, "a step on the pedal took %.0f ms to show" % (1000 * lags[-1]))
    s.screenshot("played")


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
    pedal.stop()
    time.sleep(1.0)
    editor.click(*SETLIST_TAB)
    check(editor.process.poll() is None, "the editor ended when the pedal went")
    s.screenshot("unplugged")
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the pedal went")


@scenario()
def two_pedals_switch_with_the_device_selector(s):
    pedals = s.pedal("--count", "2")
    editor = s.show_editor()
    before = pedals.state(1)["counters"]["requests"]
    editor.click(*DEVICE_MENU)
    choose_in_menu(["Down", "Down", "Return"])
    check(wait_until(lambda: pedals.state(1)["counters"]["requests"] > before + 100, 5),
          "the second pedal was not read after choosing it")
    check(pedals.state(1)["counters"]["writes"] == 0, "choosing a pedal wrote to it")
    s.screenshot("second-pedal")


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
    target = os.path.join(s.root, "pedal.tovan_all")
    editor.click(*ACTION_BUTTON)
    save_through_the_chooser(s, target, r"Save All \(backup\)")
    dismiss_if_shown("Tovan Info")  # hands off the pedal while it runs
    time.sleep(0.8)
    s.screenshot("progress")
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


@scenario()
def a_pedal_pulled_during_a_backup(s):
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
    dismiss_if_shown("Tovan Info")
    time.sleep(1.5)
    pedal.stop()
    time.sleep(3.0)
    s.screenshot("pulled")
    check(editor.process.poll() is None, "the editor ended")
    with open(target, "rb") as f:
        check(f.read() == b"an older backup", "the old backup was replaced by a broken one")
    # It says what happened, and still answers: the message goes, a pedal plugged
    # back in is read again.
    said = [t for t in ("Tovan Error", "Tovan Warning", "Tovan Info")
            if windows_titled(t)]
    check(said, "nothing told the player that the backup failed")
    dialog(said[0])
    xdotool("key", "Return")
    check(wait_until(lambda: not windows_titled(said[0]), 3),
          "the message did not go")
    again = s.pedal()
    check(wait_until(lambda: again.state()["counters"]["requests"] > 100, 5), "the pedal plugged back was not read")
    check(again.state()["counters"]["writes"] == 0, "reading the pedal plugged back wrote to it")
    time.sleep(0.5)
    s.screenshot("plugged-back")
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the pedal went mid-backup")


def screen_region(s, editor, label, box):
    """The pixels of one client rectangle of the window, as bytes."""
    path = s.screenshot(label)
    x, y, _, _ = editor.geometry()
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (box[2], box[3], x + box[0], y + box[1]),
                          "+repage", "rgb:-"], capture_output=True).stdout
    return out


@scenario()
def every_tab_shows_and_a_setlist_slot_is_edited(s):
    pedal = s.pedal()
    editor = s.show_editor()
    body = (20, 50, 600, 540)
    seen = []
    for name, tab in (("preset", PRESET_TAB), ("setlist", SETLIST_TAB), ("midi", MIDI_TAB),
                      ("settings", SETTINGS_TAB)):
        editor.click(*tab)
        time.sleep(0.4)
        seen.append(screen_region(s, editor, "tab-" + name, body))
    check(len(set(seen)) == 4, "two tabs show the same body")

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
    os.makedirs(artefacts, exist_ok=True)
    failed = []
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
        try:
            function(session)
            session.screenshot("end")
            print("ok   %s (%.1f s)" % (name, time.monotonic() - began))
        except Failure as failure:
            session.screenshot("failed")
            print("FAIL %s: %s" % (name, failure))
            failed.append(name)
        except Exception:
            session.screenshot("failed")
            traceback.print_exc()
            failed.append(name)
        finally:
            session.close()
            if manager is not None:
                manager.terminate()
                manager.wait(5)
    if failed:
        print("e2e: %d failed: %s" % (len(failed), ", ".join(failed)))
        return 1
    print("e2e: all passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
