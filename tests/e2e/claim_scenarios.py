"""tovan-cli beside the open editor: the editor holds the pedal and runs
tovan-cli's reading commands itself, between its polls."""

import os
import signal
import subprocess
import time

from e2e import *  # noqa: F401,F403


def run_reading_commands(s, pedal, tag):
    """A backup, an export and a verify of that backup: their results, and the
    writes each made (a backup selects every user preset in turn)."""
    backup = os.path.join(s.root, "%s.tovan_all" % tag)
    export = os.path.join(s.root, "%s.tovan" % tag)
    results = {}
    for name, arguments in (("backup", ("backup", backup)), ("export", ("export", export)),
                            ("verify", ("verify", backup)), ("info", ("--json", "info"))):
        writes = pedal.state()["counters"]["writes"]
        results[name] = tovan_cli(s, *arguments)
        check(results[name][0] == 0, "tovan-cli %s (%s): %s" % (name, tag, results[name][1]))
        results["writes " + name] = pedal.state()["counters"]["writes"] - writes
    with open(backup, "rb") as f:
        results["backup file"] = f.read()
    with open(export, "rb") as f:
        results["export file"] = f.read()
    return results


@scenario()
def tovan_cli_beside_the_editor_on_a_played_pedal(s):
    played = os.path.join(s.root, "played.log")
    pedal = s.pedal("--latency-us", "1000", "--play", "--play-interval-ms", "200", "--play-log", played)
    editor = s.show_editor(timeout=30)
    time.sleep(2.0)  # knobs, presets and the pedal's rocker are played; the editor follows
    check(pedal.state()["counters"]["writes"] == 0, "the editor wrote back what was played")
    # From here the player only rocks the pedal: the presets and knobs stay put,
    # so that what tovan-cli reads can be compared with a run without the editor.
    pedal.process.send_signal(signal.SIGUSR2)
    time.sleep(0.5)
    before = pedal.state()

    # A backup through the editor shows the editor's progress panel.
    x, y, _, _ = editor.geometry()
    dimmed = (x + DIMMED_AREA[0], y + DIMMED_AREA[1], DIMMED_AREA[2], DIMMED_AREA[3])
    undimmed = mean_level(s.screenshot("before-backup"), *dimmed)
    background = subprocess.Popen(
        [os.path.join(s.tools, "tovan-cli"), "--pedal", "virtual:" + s.bus, "backup",
         os.path.join(s.root, "watched.tovan_all")], env=s.env, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL)
    time.sleep(1.5)
    during = s.screenshot("backup-for-tovan-cli")
    check(background.wait(60) == 0, "the watched backup failed")
    check(mean_level(during, *dimmed) < undimmed - 4, "the editor did not show the backup's progress")

    with_editor = run_reading_commands(s, pedal, "with-editor")
    check(editor.process.poll() is None, "the editor ended")

    # As cron runs it: no bus address in the environment, the bus where the
    # user's runtime folder has it.
    address = s.env["DBUS_SESSION_BUS_ADDRESS"]
    check(address.startswith("unix:path="), "the session bus is not at a path: %s" % address)
    os.symlink(address[len("unix:path="):].split(",")[0], os.path.join(s.env["XDG_RUNTIME_DIR"], "bus"))
    cron = {k: v for k, v in s.env.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
    out = subprocess.run([os.path.join(s.tools, "tovan-cli"), "--pedal", "virtual:" + s.bus, "--json", "info"],
                         capture_output=True, text=True, env=cron, timeout=60)
    check((out.returncode, out.stdout + out.stderr) == with_editor["info"],
          "tovan-cli without a bus address said %r" % (out.stdout + out.stderr))
    served = pedal.state()
    # (A backup leaves the preset it found, with its edits gone, as it does alone.)
    for name in ("active_preset", "user_presets", "setlists"):
        check(served[name] == before[name], "the commands through the editor changed the pedal's %s" % name)
    # The editor polls again: its status requests go on.
    requests = served["counters"]["requests"]
    check(wait_until(lambda: pedal.state()["counters"]["requests"] >= requests + 5, 3),
          "the editor stopped polling after tovan-cli's commands")
    writes_with_editor = pedal.state()["counters"]["writes"] - before["counters"]["writes"]

    editor.click(*CLOSE)
    check(editor.wait_exit(10) == 0, "the editor did not close")
    alone = run_reading_commands(s, pedal, "alone")
    for name in ("backup file", "export file"):
        check(with_editor[name] == alone[name], "the %s through the editor differs from tovan-cli's own" % name)
    for name in ("verify", "info"):
        check(with_editor[name] == alone[name], "tovan-cli %s said %r through the editor and %r alone" %
              (name, with_editor[name][1], alone[name][1]))
    # Nothing but what tovan-cli asked for was written: its commands and the
    # watched backup, each as many writes as tovan-cli alone makes.
    asked = sum(alone["writes " + name] for name in ("backup", "export", "verify", "info"))
    asked += alone["writes backup"]
    check(writes_with_editor == asked,
          "%d writes with the editor open, %d asked for" % (writes_with_editor, asked))
    print("    %d writes, as asked; backup through the editor %d bytes, identical" %
          (writes_with_editor, len(alone["backup file"])))
