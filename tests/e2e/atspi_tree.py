#!/usr/bin/env python3
"""Prints the accessibility tree of one application as a screen reader sees it
over AT-SPI: role, name, description, screen extents and relations of every
object (each relation's targets by role, name and extents), as JSON on stdout.
Usage: atspi_tree.py APPLICATION_NAME
Exit 0 with the tree; 1 when no such application is registered yet."""
import json
import sys

import pyatspi


def extents(acc):
    try:
        ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [ext.x, ext.y, ext.width, ext.height]
    except NotImplementedError:
        return None


def relations(acc):
    return [{
        "type": r.getRelationType().value_nick,
        "targets": [{"role": t.getRoleName(), "name": t.name, "rect": extents(t)}
                    for t in (r.getTarget(i) for i in range(r.getNTargets())) if t is not None],
    } for r in acc.getRelationSet()]


def node(acc):
    return {
        "role": acc.getRoleName(),
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
