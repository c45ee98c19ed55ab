"""The library tab in the real window: presets dragged between slots and from
the library folder onto a slot, each checked on the pedal, and the search
field filtering the library's list as it is typed (checked on screen)."""

import os
import shutil
import subprocess
import time

from e2e import *  # noqa: F401,F403

# Window coordinates: the first rows of the user presets' and the library's
# lists, their row height, and the search field.
USER_ROW_0 = (120, 98)
FILE_ROW_0 = (450, 306)
ROW = 15
SEARCH_FIELD = (470, 284)
# The library list's first rows, for the screen check of the search.
FILE_ROWS_BOX = (332, 299, 270, 3 * ROW)


def user_row(slot):
    return USER_ROW_0[0], USER_ROW_0[1] + ROW * slot


def file_row(index):
    return FILE_ROW_0[0], FILE_ROW_0[1] + ROW * index


def drag(editor, start, end):
    """A press, a move in steps and a release, as a hand drags."""
    editor.move(*start)
    time.sleep(0.1)
    xdotool("mousedown", 1)
    time.sleep(0.1)
    for k in range(1, 7):
        x = start[0] + (end[0] - start[0]) * k // 6
        y = start[1] + (end[1] - start[1]) * k // 6
        editor.move(x, y)
        time.sleep(0.05)
    time.sleep(0.1)
    xdotool("mouseup", 1)


def user_presets(pedal):
    return pedal.state()["user_presets"]


def library_folder(s):
    return os.path.join(s.env["XDG_DATA_HOME"], "tovan", "library")


def show_library(s, editor):
    editor.click(*LIBRARY_TAB)
    time.sleep(0.6)


def export_presets(s, folder, *slots):
    """Preset files of the pedal's slots, exported with tovan-cli while no editor runs."""
    os.makedirs(folder, exist_ok=True)
    scratch = os.path.join(s.root, "scratch")
    code, text = tovan_cli(s, "export-all", scratch)
    check(code == 0, "export-all failed: %s" % text)
    names = sorted(os.listdir(scratch))
    for slot in slots:
        shutil.copy(os.path.join(scratch, names[slot]), folder)
    return [names[slot] for slot in slots]


@scenario()
def a_drag_swaps_two_user_presets(s):
    pedal = s.pedal()
    editor = s.show_editor()
    show_library(s, editor)
    s.screenshot("library-tab")
    before = user_presets(pedal)
    check(before[3] != before[7], "the pedal's P03 and P07 are alike; the swap would show nothing")
    drag(editor, user_row(3), user_row(7))
    check(wait_until(lambda: user_presets(pedal)[3] == before[7], 10), "P03 does not hold P07's preset")
    after = user_presets(pedal)
    check(after[7] == before[3], "P07 does not hold P03's preset")
    others = [i for i in range(100) if after[i] != before[i] and i not in (3, 7)]
    check(not others, "other slots changed: %s" % others)
    s.screenshot("swapped")


@scenario()
def a_library_file_dragged_onto_a_slot_is_on_the_pedal(s):
    pedal = s.pedal()
    folder = library_folder(s)
    export_presets(s, folder, 2)
    before = user_presets(pedal)
    editor = s.show_editor()
    show_library(s, editor)
    drag(editor, file_row(0), user_row(20))
    # P20 holds a preset: the load is asked about first.
    dialog("Tovan")
    xdotool("key", "Return")
    check(wait_until(lambda: user_presets(pedal)[20] == before[2], 10), "P20 does not hold the file's preset")
    check(user_presets(pedal)[2] == before[2], "the file's own slot changed")


@scenario()
def the_search_field_filters_the_library_as_typed(s):
    s.pedal()
    folder = library_folder(s)
    names = export_presets(s, folder, 0, 1, 2, 3)
    editor = s.show_editor()
    show_library(s, editor)
    shot = s.screenshot("library-all")
    first_rows = region_pixels(shot, *editor_box(editor, FILE_ROWS_BOX))
    # A word of the third file's description only.
    word = names[2].split(" - ")[1].split()[0]
    editor.click(*SEARCH_FIELD)
    time.sleep(0.3)
    xdotool("type", "--delay", "80", word)
    time.sleep(0.8)
    shot = s.screenshot("library-searched")
    filtered = region_pixels(shot, *editor_box(editor, FILE_ROWS_BOX))
    check(filtered != first_rows, "the library's list did not change while the word was typed")
    # One row is left: the second and third rows are empty well.
    x, y, w, h = editor_box(editor, (FILE_ROWS_BOX[0], FILE_ROWS_BOX[1] + ROW, FILE_ROWS_BOX[2], 2 * ROW))
    check(cream_pixels(shot, x, y, w, h) == 0, "rows other than the one found are still listed")
    check(cream_pixels(shot, *editor_box(editor, (FILE_ROWS_BOX[0], FILE_ROWS_BOX[1], FILE_ROWS_BOX[2], ROW))) > 0,
          "the file found is not listed")
    xdotool("key", "ctrl+a", "BackSpace")
    time.sleep(0.8)
    shot = s.screenshot("library-cleared")
    check(region_pixels(shot, *editor_box(editor, FILE_ROWS_BOX)) == first_rows,
          "clearing the search did not bring the whole list back")


def editor_box(editor, box):
    x, y, _, _ = editor.geometry()
    return x + box[0], y + box[1], box[2], box[3]


EXPORT_ALL_BUTTON = (78, 574)
IMPORT_BUTTON = (182, 574)


@scenario()
def export_all_and_import_through_the_buttons(s):
    pedal = s.pedal()
    folder = os.path.join(s.root, "all-presets")
    os.makedirs(folder)
    editor = s.show_editor()
    show_library(s, editor)
    editor.click(*EXPORT_ALL_BUTTON)
    open_through_the_chooser(s, folder, "Export All Presets")
    check(wait_until(lambda: len(os.listdir(folder)) == 100, 30), "export all did not write 100 files")
    # Two files are left, imported from the selected slot on.
    names = sorted(os.listdir(folder))
    for name in names[2:]:
        os.remove(os.path.join(folder, name))
    before = user_presets(pedal)
    editor.click(*user_row(12))
    editor.click(*IMPORT_BUTTON)
    open_through_the_chooser(s, folder, "Import Presets")
    dialog("Tovan")  # asked once
    xdotool("key", "Return")
    check(wait_until(lambda: user_presets(pedal)[12] == before[0] and user_presets(pedal)[13] == before[1], 15),
          "P12 and P13 do not hold the two imported presets")
    check(user_presets(pedal)[14] == before[14], "a third slot was written")
