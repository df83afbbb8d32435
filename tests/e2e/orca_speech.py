#!/usr/bin/env python3
"""Runs the Orca screen reader with what it says written to a log as it says
it (its debug log, a line at a time; Orca writes that log in blocks), without
braille and with preferences of its own.
Usage: orca_speech.py LOG PREFERENCES_FOLDER

Unlike the orca command, it runs beside any other Orca of the same user on the
machine (the command refuses to), since it serves its own private session."""
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")

from orca import debug  # noqa: E402
from orca import orca  # noqa: E402


def main():
    log, prefs = sys.argv[1], sys.argv[2]
    debug.debugLevel = debug.LEVEL_ALL
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = open(log, "w", buffering=1)
    if hasattr(orca, "getSettingsManager"):  # Orca 43 (Debian 12)
        manager = orca.getSettingsManager()
        manager.activate(prefs, {"enableBraille": False})
        sys.path.insert(0, manager.getPrefsDir())
    else:  # Orca 48 (Debian 13) renamed its settings manager's calls
        from orca import settings_manager
        manager = settings_manager.get_manager()
        manager.activate(prefs, {"enableBraille": False})
        sys.path.insert(0, manager.get_prefs_dir())
    return orca.main()


if __name__ == "__main__":
    sys.exit(main())
