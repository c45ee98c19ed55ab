"""Scenarios of preset and backup files: export and load, restore, files
dropped on the window or opened from the file manager."""

from e2e import *  # noqa: F401,F403
