#!/usr/bin/env python3
"""Prints the accessibility tree of one application as a screen reader sees it
over AT-SPI: role, name, description, screen extents and relations of every
object (each relation's targets by role, name and extents), as JSON on stdout.
Usage: atspi_tree.py APPLICATION_NAME
Exit 0 with the tree; 1 when no such application is registered yet."""
import json
import sys

import pyatspi
from gi.repository import Atspi


def extents(acc):
    try:
        ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [ext.x, ext.y, ext.width, ext.height]
    except NotImplementedError:
        return None


def role(acc):
    # By its number, named as libatspi names it, with one name for push
    # buttons: at-spi2-core 2.46 (Debian 12) calls role 43 "push button", 2.56
    # (Debian 13) "button", and each toolkit's own text (GetRoleName) follows
    # its release (Qt 6.4 "push button", Qt 6.8 "button").
    name = Atspi.role_get_name(acc.getRole())
    return "push button" if name == "button" else name


def relations(acc):
    return [{
        "type": r.getRelationType().value_nick,
        "targets": [{"role": role(t), "name": t.name, "rect": extents(t)}
                    for t in (r.getTarget(i) for i in range(r.getNTargets())) if t is not None],
    } for r in acc.getRelationSet()]


def node(acc):
    return {
        "role": role(acc),
        "name": acc.name,
        "description": acc.description,
        "rect": extents(acc),
        "relations": relations(acc),
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
