"""The start: the window shows at once, whatever the pedal does, and reads the
pedal under its busy overlay with the reading's progress."""

import os
import time

from e2e import *  # noqa: F401,F403

# The busy overlay's caption and bar, in client coordinates (the frame layout).
BUSY_CAPTION = (220, 356, 200, 14)
READING_BAR = (220, 380, 200, 8)
FULL_RELOAD_REQUESTS = 1227


def amber_pixels(path, x, y, w, h):
    """Pixels of the progress bar's fill: amber, red well above blue."""
    data = region_pixels(path, x, y, w, h)
    return sum(1 for i in range(0, len(data), 3) if data[i] > 150 and data[i] > data[i + 2] + 80)


@scenario()
def the_window_shows_at_once_and_reads_the_pedal_into_it(s):
    pedal = s.pedal("--latency-us", "1000")
    began = time.monotonic()
    editor = s.start_editor()
    window = wait_until(lambda: visible_windows("Plavik Tovan"), 10, 0.01)
    shown = time.monotonic() - began
    check(window, "the editor window did not appear")
    editor.window = window[0]
    time.sleep(0.8)
    x, y, _, _ = editor.geometry()
    reading = s.screenshot("reading")
    asked = pedal.state()["counters"]["requests"]
    check(asked < FULL_RELOAD_REQUESTS, "the reading was over (%d requests) before it was looked at" % asked)
    caption = (x + BUSY_CAPTION[0], y + BUSY_CAPTION[1], BUSY_CAPTION[2], BUSY_CAPTION[3])
    bar = (x + READING_BAR[0], y + READING_BAR[1], READING_BAR[2], READING_BAR[3])
    check(cream_pixels(reading, *caption) > 20, "no caption on the busy overlay while the pedal is read")
    filled = amber_pixels(reading, *bar)
    check(filled > 0, "the reading's progress bar is empty")
    time.sleep(0.6)
    later = amber_pixels(s.screenshot("reading-later"), *bar)
    check(later > filled, "the progress bar did not move (%d, then %d pixels)" % (filled, later))

    s.wait_pedals_read(30)
    done = s.screenshot("read")
    check(amber_pixels(done, *bar) == 0, "the busy overlay stayed after the pedal was read")
    check(pedal.state()["counters"]["writes"] == 0, "reading the pedal wrote to it")
    # The page shows what was read: the level knob's value text.
    level = (x + LEVEL_KNOB[0] - 20, y + LEVEL_KNOB[1] + 12, 40, 12)
    check(region_pixels(done, *level) != region_pixels(reading, *level),
          "the level knob shows the same before and after the pedal was read")
    print("    window on screen %.2f s after the start; %d of %d requests asked %.1f s later" %
          (shown, asked, FULL_RELOAD_REQUESTS, 0.8))


@scenario()
def the_window_shows_at_once_on_a_pedal_losing_reports(s):
    s.pedal("--fault-rate", "0.05", "--seed", "3")
    began = time.monotonic()
    editor = s.start_editor()
    window = wait_until(lambda: visible_windows("Plavik Tovan"), 10, 0.01)
    shown = time.monotonic() - began
    check(window, "the editor window did not appear")
    check(shown < 5, "the window took %.1f s to show on a pedal losing reports" % shown)
    editor.window = window[0]
    time.sleep(1.0)
    check(editor.process.poll() is None, "the editor ended")
    s.screenshot("reading")
    print("    window on screen %.2f s after the start" % shown)
