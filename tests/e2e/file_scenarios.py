"""Scenarios of preset and backup files: export and load, restore, files
dropped on the window or opened from the file manager."""

import os
import subprocess
import time

from e2e import *  # noqa: F401,F403


def preset_file_of(s, pedal, preset, name):
    """A preset file of a factory preset, written by tovan-cli before the
    editor starts; the pedal is put back on F00. Returns the path and the
    pedal's edit buffer while it was on that preset."""
    path = os.path.join(s.root, name)
    code, text = tovan_cli(s, "--yes", "select", preset)
    check(code == 0, "tovan-cli select %s: %s" % (preset, text))
    buffer = edit_buffer(pedal)
    for arguments in (("export", path), ("--yes", "select", "F00")):
        code, text = tovan_cli(s, *arguments)
        check(code == 0, "tovan-cli %s: %s" % (" ".join(arguments), text))
    check(pedal.state()["active_preset"] == 0, "the pedal was not put back on F00")
    check(dump_file(s, path)["kind"] == "preset", "tovan-cli did not write a preset file")
    return path, buffer


@scenario()
def a_preset_is_exported_and_loaded_back(s):
    pedal = s.pedal()
    editor = s.show_editor()
    stored = edit_buffer(pedal)
    # Three steps up on the level: the edit buffer differs from the stored preset.
    editor.click(*LEVEL_KNOB, button=4)
    # The pointer is there already: a synced move onto the same spot would wait for nothing.
    for _ in range(2):
        xdotool("click", 4)
        time.sleep(0.15)
    check(wait_until(lambda: edit_buffer(pedal)["common"][0] == stored["common"][0] + 3, 3),
          "the wheel did not raise the level")
    exported = edit_buffer(pedal)
    check(pedal.state()["edited"], "the pedal does not show the preset as edited")

    target = os.path.join(s.root, "Loud Level.tovan")
    editor.click(*ACTION_BUTTON)
    save_through_the_chooser(s, target, "Export Preset")
    check(wait_until(lambda: os.path.exists(target), 5), "no preset file written")
    contents = dump_file(s, target)
    check(contents["kind"] == "preset" and len(contents["presets"]) == 1, "not a preset file: %r" % contents)
    name = contents["presets"][0]["name"]
    check(name != "", "the exported preset has no name")

    # Another preset on the pedal: every value and the name change.
    editor.click(*PRESET_MENU)
    # User, P00 - P09, P05 (the user slots leave the factory as copies of F00 to F99).
    choose_in_menu(user_preset_keys(5))
    dialog("Tovan")  # the edits of F00 are discarded, after asking
    xdotool("key", "Return")
    check(wait_until(lambda: pedal.state()["active_preset"] == 105, 3), "P05 was not selected")
    check(wait_until(lambda: edit_buffer(pedal) != exported, 3), "P05 holds the exported values already")
    users = pedal.state()["user_presets"]

    editor.click(*LOAD_BUTTON)
    open_through_the_chooser(s, target, "Load")
    for title in ("Tovan", "Tovan Warning"):
        dismiss_if_shown(title, 0.5)
    check(wait_until(lambda: edit_buffer(pedal) == exported, 5),
          "the pedal does not hold the exported values: %r, not %r" % (edit_buffer(pedal), exported))
    check(pedal.state()["active_preset"] == 105, "loading the file moved the pedal off P05")
    s.screenshot("loaded")

    # The name came with the file: storing into P05 keeps it, with the file's name as description.
    editor.click(*STORE_BUTTON)
    time.sleep(0.4)
    shot = s.screenshot("store-panel")
    x, y, _, _ = editor.geometry()
    check(cream_pixels(shot, x + STORE_PANEL_LABELS[0], y + STORE_PANEL_LABELS[1], *STORE_PANEL_LABELS[2:]) > 10,
          "the store panel shows without its labels")
    editor.click(*STORE_PANEL_STORE)
    check(name != users[5]["name"], "P05 has the exported preset's name already")
    check(wait_until(lambda: pedal.state()["user_presets"][5]["name"] == name, 5),
          "P05 is %r after the store, not named %r" % (pedal.state()["user_presets"][5], name))
    after = pedal.state()["user_presets"]
    check(after[5]["description"] == "Loud Level", "description %r" % after[5]["description"])
    check(after[:5] + after[6:] == users[:5] + users[6:], "storing changed another slot")
    check(edit_buffer(pedal) == exported, "storing changed the values")
    s.screenshot("stored")


def make_backup(s, editor, target):
    """A backup through the chooser on the setlist tab, as the backup scenario makes it."""
    editor.click(*SETLIST_TAB)
    editor.click(*ACTION_BUTTON)
    save_through_the_chooser(s, target, r"Save All \(backup\)")
    dismiss_if_shown("Tovan Info")  # hands off the pedal while it runs
    check(wait_until(lambda: os.path.exists(target), 60), "no backup file")
    dismiss_if_shown("Tovan Info", 1)


@scenario()
def a_backup_is_restored_with_its_progress_shown(s):
    pedal = s.pedal("--latency-us", "100")
    editor = s.show_editor(timeout=30)
    target = os.path.join(s.root, "before.tovan_all")
    make_backup(s, editor, target)
    backed_up = pedal.state()
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the backup")

    # The pedal changes while the editor is closed: a louder P03 under a new
    # name, and the pedal left on it.
    level = backed_up["edit_buffer"]["common"][0]
    for arguments in (("--yes", "select", "P03"), ("set", "9", str(level + 7)),
                      ("--yes", "store", "P03", "CLI", "stored by tovan-cli")):
        code, text = tovan_cli(s, *arguments)
        check(code == 0, "tovan-cli %s: %s" % (" ".join(arguments), text))
    changed = pedal.state()
    check(changed["user_presets"][3]["name"] == "CLI", "tovan-cli did not store P03")
    check(changed["active_preset"] == 103, "tovan-cli left the pedal on another preset")

    # A start reads the whole pedal before the window shows: slower on a slow pedal.
    editor = s.show_editor(timeout=30)
    editor.click(*SETLIST_TAB)
    time.sleep(0.3)
    x, y, _, _ = editor.geometry()
    caption = (x + PROGRESS_CAPTION[0], y + PROGRESS_CAPTION[1], PROGRESS_CAPTION[2], PROGRESS_CAPTION[3])
    dimmed = (x + DIMMED_AREA[0], y + DIMMED_AREA[1], DIMMED_AREA[2], DIMMED_AREA[3])
    before = s.screenshot("before-restore")
    undimmed = mean_level(before, *dimmed)
    editor.click(*LOAD_BUTTON)
    open_through_the_chooser(s, target, "Load")
    # Two questions: replace every preset, and keep hands off the pedal.
    for _ in range(2):
        dialog("Tovan")
        xdotool("key", "Return")
    began = time.monotonic()
    time.sleep(0.5)
    shot = s.screenshot("progress")
    check(mean_level(shot, *dimmed) < undimmed - 4, "the window was not dimmed for the progress panel")
    check(cream_pixels(shot, *caption) > 10, "the progress panel's box and caption are not drawn")
    check(wait_until(lambda: pedal.state()["user_presets"][3] == backed_up["user_presets"][3], 40),
          "P03 was not restored")
    # Done once the panel has gone and the tab shows undimmed again.
    check(wait_until(lambda: mean_level(s.screenshot("restored"), *dimmed) >= undimmed - 1, 30),
          "the progress panel did not go")
    print("    restore took about %.1f s" % (time.monotonic() - began))
    said = wait_until(lambda: visible_windows("^Tovan (Error|Info)$"), 1)
    check(not said, "the restore ended with a message")
    restored = pedal.state()
    check(restored["user_presets"] == backed_up["user_presets"], "the user presets differ from the backup")
    check(restored["active_preset"] == 103, "the restore did not put the pedal back on P03")
    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close after the restore")
    code, text = tovan_cli(s, "verify", target)
    check(code == 0, "verify after the restore: " + text)


@scenario()
def a_file_opened_from_the_file_manager_is_loaded(s):
    pedal = s.pedal()
    first, first_buffer = preset_file_of(s, pedal, "F05", "first.tovan")
    second, second_buffer = preset_file_of(s, pedal, "F07", "second.tovan")
    stored = edit_buffer(pedal)
    check(stored != first_buffer and stored != second_buffer, "F00 holds the files' values already")

    # The first start with a file, as the desktop file's Exec=tovan %F gives it.
    editor = s.show_editor(first)
    check(wait_until(lambda: edit_buffer(pedal) == first_buffer, 5),
          "the file given to the first start was not loaded: %r" % edit_buffer(pedal))
    check(pedal.state()["active_preset"] == 0, "opening the file moved the pedal off F00")
    s.screenshot("first")

    # A second start hands its file to the running editor and exits.
    again = s.start_editor(second)
    check(again.wait_exit(15) == 1, "a second start with a file did not exit with 1")
    check(wait_until(lambda: edit_buffer(pedal) == second_buffer, 5),
          "the file given to a second start was not loaded: %r" % edit_buffer(pedal))
    windows = visible_windows("Plavik Tovan")
    check(len(windows) == 1, "%d windows after a second start" % len(windows))
    s.screenshot("second")


def drag_and_drop(s, source_at, target_at, steps=8):
    """Presses on the drag source, moves onto the target in steps, releases."""
    xdotool("mousemove", "--sync", *source_at)
    time.sleep(0.2)
    xdotool("mousedown", 1)
    time.sleep(0.2)
    # Past GTK's drag threshold inside the source first, so the drag begins there.
    for dx in (4, 8, 12, 16):
        xdotool("mousemove", "--sync", source_at[0] + dx, source_at[1] + dx // 2)
        time.sleep(0.05)
    time.sleep(0.2)
    start = (source_at[0] + 16, source_at[1] + 8)
    for k in range(1, steps + 1):
        xdotool("mousemove", "--sync", start[0] + (target_at[0] - start[0]) * k // steps,
                start[1] + (target_at[1] - start[1]) * k // steps)
        time.sleep(0.1)
    # The target answers the position messages before the drop.
    xdotool("mousemove", "--sync", target_at[0] + 1, target_at[1] + 1)
    time.sleep(0.4)
    xdotool("mouseup", 1)


def drop_a_file(s):
    pedal = s.pedal()
    path, buffer = preset_file_of(s, pedal, "F05", "dropped.tovan")
    check(edit_buffer(pedal) != buffer, "F00 holds the file's values already")
    editor = s.show_editor()
    source = subprocess.Popen([drag_source_program(s), path, "1100", "60"], env=s.env, stdout=subprocess.PIPE,
                              stderr=open(s.log, "a"), text=True)
    try:
        check(source.stdout.readline().strip() == "ready", "the drag source did not start")
        window = wait_until(lambda: visible_windows("^tovan-drag-source$"), 5)
        check(window, "no drag source window")
        time.sleep(0.3)
        out = xdotool("getwindowgeometry", "--shell", window[0])
        geometry = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        at = (int(geometry["X"]) + int(geometry["WIDTH"]) // 2, int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2)
        drag_and_drop(s, at, editor.at(320, 420))
        ended = source.stdout.readline().strip()
        check(ended == "dropped", "the drag ended with %r" % ended)
    finally:
        source.terminate()
        source.wait(5)
    check(wait_until(lambda: edit_buffer(pedal) == buffer, 5),
          "the dropped file was not loaded: %r, not %r" % (edit_buffer(pedal), buffer))
    check(pedal.state()["active_preset"] == 0, "the drop moved the pedal off F00")
    s.screenshot("dropped")


@scenario()
def a_file_dropped_on_the_window_is_loaded(s):
    drop_a_file(s)


# Under a window manager the source and the editor are managed, reparented windows.
@scenario(needs_window_manager=True)
def a_file_dropped_on_the_window_is_loaded_with_a_window_manager(s):
    drop_a_file(s)
