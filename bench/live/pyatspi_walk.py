#!/usr/bin/env python3
"""The accessibility-tree dump common Python test agents write: every element
of one application's first window, with role, name, states and extents read
one call at a time through pyatspi. Prints one line per walk: seconds and the
number of elements.

Usage: pyatspi_walk.py PID WALKS"""
import sys
import time

import pyatspi


def walk(element, rows):
    rows.append((element.getRole(), element.name, element.getState().getStates(),
                 element.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                 if "Component" in pyatspi.listInterfaces(element) else None))
    for child in element:
        if child is not None:
            walk(child, rows)


def main():
    pid, walks = int(sys.argv[1]), int(sys.argv[2])
    desktop = pyatspi.Registry.getDesktop(0)
    app = next(a for a in desktop if a is not None and a.get_process_id() == pid)
    for _ in range(walks):
        # Each walk starts from fresh proxies, as a new agent process would.
        pyatspi.Registry.clearCache() if hasattr(pyatspi.Registry, "clearCache") else None
        app.clear_cache()
        window = app[0]
        start = time.perf_counter()
        rows = []
        walk(window, rows)
        print(f"{time.perf_counter() - start:.6f} {len(rows)}", flush=True)


if __name__ == "__main__":
    main()
