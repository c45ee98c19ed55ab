"""Undo, redo and compare in the real window: steps taken back with the keys and
the buttons, each seen on screen and on the pedal, and the stored preset heard
against the edited one."""

import subprocess
import time

from e2e import *  # noqa: F401,F403

# Window coordinates of the history's controls (the preset tab's header row
# and the title strip's lamp).
UNDO_BUTTON = (226, 101)
REDO_BUTTON = (262, 101)
COMPARE_BUTTON = (301, 101)
COMPARE_LAMP = (320, 11)
HISTORY_CAPTION = (178, 59, 132, 14)
# Filter 1: its LFO mode button and, in the LFO panel, its sync source pop-up.
LFO_MODE = (131, 413)
SYNC_SOURCE = (110, 438)
# What shows each edited value: the level's value text, the sync source's
# selector and the heel frequency field.
LEVEL_TEXT = (LEVEL_KNOB[0] - 20, LEVEL_KNOB[1] + 12, 40, 12)
SYNC_BOX = (66, 431, 88, 14)
HEEL_BOX = (82, 354, 38, 14)


def region(path, editor, box):
    x, y, _, _ = editor.geometry()
    return subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (box[2], box[3], x + box[0], y + box[1]),
                           "+repage", "rgb:-"], capture_output=True).stdout


def regions(s, editor, label):
    """What the three edited values look like on screen now."""
    time.sleep(0.4)
    path = s.screenshot(label)
    return {name: region(path, editor, box) for name, box in
            (("level", LEVEL_TEXT), ("sync", SYNC_BOX), ("heel", HEEL_BOX))}


def writes(pedal):
    return pedal.state()["counters"]["writes"]


def lamp_lit(path, editor):
    """Whether the compare lamp shows amber: a few lit pixels around its middle."""
    x, y, _, _ = editor.geometry()
    box = "%dx%d+%d+%d" % (10, 10, x + COMPARE_LAMP[0] - 5, y + COMPARE_LAMP[1] - 5)
    out = subprocess.run(["convert", "%s[%s]" % (path, box), "-fx", "(r>0.8&&g>0.45&&b<0.8*r)?1:0",
                          "-format", "%[fx:int(mean*w*h+0.5)]", "info:"], capture_output=True, text=True)
    return int(out.stdout.strip() or "0") >= 4


def keys(editor, *names):
    xdotool("windowfocus", "--sync", editor.window)
    for name in names:
        xdotool("key", name)
        time.sleep(0.3)


def drag_level_up(editor, moves):
    sx, sy = editor.at(*LEVEL_KNOB)
    xdotool("mousemove", "--sync", sx, sy)
    xdotool("mousedown", 1)
    time.sleep(0.2)
    for _ in range(moves):
        xdotool("mousemove_relative", "--", 0, -2)
        time.sleep(0.15)
    xdotool("mouseup", 1)
    time.sleep(0.4)


def undone(pedal, before, what, count=1):
    """Waits for `what` to hold on the pedal and checks the writes it took."""
    check(wait_until(lambda: what(pedal.state()), 3), "the pedal did not take the step back")
    time.sleep(0.3)
    written = writes(pedal) - before
    check(written == count, "%d write exchanges for one step back, not %d" % (written, count))


@scenario()
def a_knob_a_menu_and_a_typed_value_are_undone_with_the_keys_and_the_buttons(s):
    pedal = s.pedal()
    editor = s.show_editor()
    start = pedal.state()
    level = start["edit_buffer"]["common"][0]
    heel = start["edit_buffer"]["filter"][0][3]
    shown_start = regions(s, editor, "start")

    drag_level_up(editor, 4)
    check(pedal.state()["edit_buffer"]["common"][0] == level + 8, "the drag did not reach the pedal")
    editor.click(*LFO_MODE)
    check(wait_until(lambda: pedal.state()["edit_buffer"]["filter"][0][6] == 1, 3), "the LFO mode was not chosen")
    shown_lfo = regions(s, editor, "lfo")
    editor.click(*SYNC_SOURCE)
    choose_in_menu(["Down", "Down", "Return"])  # Tempo, then Tap tempo
    check(wait_until(lambda: pedal.state()["edit_buffer"]["detail"][0][1] == 2, 3),
          "the sync source chosen did not reach the pedal")
    editor.click(*HEEL_FREQUENCY)
    time.sleep(0.3)
    xdotool("type", "--delay", "30", "777")
    xdotool("key", "Return")
    check(wait_until(lambda: pedal.state()["edit_buffer"]["filter"][0][3] == 777, 3),
          "the typed heel frequency did not reach the pedal")
    shown_edited = regions(s, editor, "edited")
    check(cream_pixels(s.screenshot("caption"), *at_window(editor, HISTORY_CAPTION)) > 20,
          "the caption does not say what the undo takes back")
    for name in ("level", "heel"):
        check(shown_edited[name] != shown_start[name], "the %s edit does not show" % name)
    check(shown_edited["sync"] != shown_lfo["sync"], "the sync source chosen does not show")

    # The typed value, with Ctrl+Z.
    before = writes(pedal)
    keys(editor, "ctrl+z")
    undone(pedal, before, lambda st: st["edit_buffer"]["filter"][0][3] == heel)
    check(regions(s, editor, "undo-typed")["heel"] == shown_start["heel"], "the field does not show its value back")
    # The menu choice, with the button.
    before = writes(pedal)
    editor.click(*UNDO_BUTTON)
    undone(pedal, before, lambda st: st["edit_buffer"]["detail"][0][1] == start["edit_buffer"]["detail"][0][1])
    check(regions(s, editor, "undo-menu")["sync"] == shown_lfo["sync"], "the selector does not show its choice back")
    # The mode, with Ctrl+Z, then the drag with the button: the pedal's edits
    # are all gone, so it is told to discard them too.
    before = writes(pedal)
    keys(editor, "ctrl+z")
    undone(pedal, before, lambda st: st["edit_buffer"]["filter"][0][6] == start["edit_buffer"]["filter"][0][6])
    before = writes(pedal)
    editor.click(*UNDO_BUTTON)
    undone(pedal, before, lambda st: st["edit_buffer"]["common"][0] == level, count=2)
    check(wait_until(lambda: not pedal.state()["edited"], 3), "the pedal is still marked edited")
    check(pedal.state()["edit_buffer"] == start["edit_buffer"], "the edit buffer is not the stored preset")
    check(regions(s, editor, "undone")["level"] == shown_start["level"], "the knob does not show its value back")

    # Redo, with the keys and the button.
    before = writes(pedal)
    keys(editor, "ctrl+y")
    undone(pedal, before, lambda st: st["edit_buffer"]["common"][0] == level + 8)
    before = writes(pedal)
    keys(editor, "ctrl+shift+z")
    undone(pedal, before, lambda st: st["edit_buffer"]["filter"][0][6] == 1)
    before = writes(pedal)
    editor.click(*REDO_BUTTON)
    undone(pedal, before, lambda st: st["edit_buffer"]["detail"][0][1] == 2)
    s.screenshot("redone")


@scenario()
def compare_shows_the_stored_preset_with_its_lamp_and_goes_back(s):
    pedal = s.pedal()
    editor = s.show_editor()
    start = pedal.state()
    level = start["edit_buffer"]["common"][0]
    shown_start = regions(s, editor, "start")
    for _ in range(3):
        editor.click(*LEVEL_KNOB, button=4)
    check(wait_until(lambda: pedal.state()["edited"], 3), "the edit did not mark the preset edited")
    edited = pedal.state()["edit_buffer"]
    check(edited["common"][0] == level + 3, "the wheel did not reach the pedal")
    shown_edited = regions(s, editor, "edited")
    check(not lamp_lit(s.screenshot("lamp-off"), editor), "the compare lamp is lit before comparing")

    # The key: the stored preset, on the pedal and on screen, with the lamp.
    keys(editor, "c")
    check(wait_until(lambda: pedal.state()["edit_buffer"] == start["edit_buffer"], 3),
          "comparing did not bring the stored preset")
    check(wait_until(lambda: not pedal.state()["edited"], 3), "the pedal is marked edited while comparing")
    shot = s.screenshot("comparing")
    check(lamp_lit(shot, editor), "the compare lamp is not lit")
    check(regions(s, editor, "comparing-values")["level"] == shown_start["level"], "the stored level does not show")
    # The knobs take no edits meanwhile.
    before = writes(pedal)
    editor.click(*LEVEL_KNOB, button=4)
    time.sleep(0.4)
    check(writes(pedal) == before, "a knob was written while comparing")

    # The button: back to the edits, one write a value that differs.
    before = writes(pedal)
    editor.click(*COMPARE_BUTTON)
    check(wait_until(lambda: pedal.state()["edit_buffer"] == edited, 3), "the edits did not come back")
    time.sleep(0.3)
    check(writes(pedal) - before == 1, "%d writes to go back, not 1" % (writes(pedal) - before))
    check(wait_until(lambda: pedal.state()["edited"], 3), "the pedal is not marked edited again")
    shot = s.screenshot("back")
    check(not lamp_lit(shot, editor), "the compare lamp stayed lit")
    check(regions(s, editor, "back-values")["level"] == shown_edited["level"], "the edited level does not show")


def at_window(editor, box):
    x, y, _, _ = editor.geometry()
    return (x + box[0], y + box[1], box[2], box[3])
