#!/usr/bin/env python3
"""Prints the accessibility tree of one application as a screen reader sees it
over AT-SPI: role, name and screen extents of every object, as JSON on stdout.
Usage: atspi_tree.py APPLICATION_NAME
Exit 0 with the tree; 1 when no such application is registered yet."""
import json
import sys

import pyatspi


def node(acc):
    try:
        ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        rect = [ext.x, ext.y, ext.width, ext.height]
    except NotImplementedError:
        rect = None
    return {
        "role": acc.getRoleName(),
        "name": acc.name,
        "rect": rect,
        "children": [node(c) for c in acc if c is not None],
    }


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == sys.argv[1]:
            json.dump(node(app), sys.stdout, ensure_ascii=False)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
