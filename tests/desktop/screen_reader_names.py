#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""screen_reader_names.py PROGRAM: starts the program on the current X
display and reads its window over the accessibility bus (AT-SPI), as a
screen reader does; fails unless each control has the role and the name it
should be spoken by. Runs inside a D-Bus session (dbus-run-session)."""
import os
import subprocess
import sys
import time

import pyatspi

EXPECTED = [
    ("push button", "File"),
    ("progress bar", "Regular Status"),
    ("progress bar", "File Save Status"),
    ("label", "Wave File Name"),
    ("status bar", ""),
]


def main():
    # What a screen reader switches on for every program when it starts.
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        subprocess.run(["xdotool", "search", "--sync", "--pid", str(program.pid), "--name", "^Varnola$"],
                       check=True, stdout=subprocess.DEVNULL, timeout=60)
        # The program joins the bus on its own after its window is up: wait
        # for it, within a bound, rather than for a fixed time.
        deadline = time.monotonic() + 30
        apps = []
        while not apps and time.monotonic() < deadline:
            apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "varnola"]
            if not apps:
                time.sleep(0.05)
        if len(apps) != 1:
            print("the program is not on the accessibility bus")
            return 1
        dialogs = [c for c in apps[0] if c.getRoleName() == "dialog" and c.name == "Varnola"]
        if len(dialogs) != 1:
            print("no dialog named Varnola")
            return 1
        seen = [(c.getRoleName(), c.name) for c in dialogs[0]]
        missing = [e for e in EXPECTED if e not in seen]
        for role, name in missing:
            print("missing: %s named %r" % (role, name))
        print("seen:", seen)
        return 1 if missing else 0
    finally:
        program.terminate()
        program.wait()


sys.exit(main())
