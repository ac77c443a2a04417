#!/usr/bin/env python3
"""Reads the running player's window through AT-SPI, as a screen reader does.

Waits (up to --timeout seconds) until an application named "tunova" shows a frame whose result
list ("검색 결과") holds at least --rows rows, then prints the named controls (role and name)
and the rows of the result list, one a line. Exits 1 when the window or the rows never come.

usage: read-player-tree.py [--rows N] [--timeout SECONDS]
"""
import argparse
import sys
import time

import pyatspi

RESULT_LIST = "검색 결과"


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for index in range(node.childCount):
        try:
            child = node.getChildAtIndex(index)
        except Exception:  # a child that went away while we read
            continue
        yield from walk(child, depth + 1)


def player_frame():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "tunova":
            for child in range(app.childCount):
                frame = app.getChildAtIndex(child)
                if frame is not None and frame.getState().contains(pyatspi.STATE_VISIBLE):
                    return frame
    return None


def result_rows(frame):
    for node in walk(frame):
        if node.name == RESULT_LIST and node.getRole() in (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST):
            table = node.queryTable()
            return [table.getAccessibleAt(row, 0).name for row in range(table.nRows)]
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rows", type=int, default=1)
    parser.add_argument("--timeout", type=float, default=60)
    args = parser.parse_args()
    deadline = time.monotonic() + args.timeout
    frame, rows = None, None
    while time.monotonic() < deadline:
        try:
            frame = player_frame()
            rows = result_rows(frame) if frame is not None else None
        except Exception as error:  # the bus or the player is still starting
            print(f"read-player-tree: {error}", file=sys.stderr)
            frame, rows = None, None
        if rows is not None and len(rows) >= args.rows:
            break
        time.sleep(0.5)
    if frame is None:
        print("read-player-tree: no window of tunova on the accessibility bus", file=sys.stderr)
        return 1
    named = sorted({(n.getRoleName(), n.name) for n in walk(frame) if n.name and n.getRoleName() != "table cell"})
    for role, name in named:
        print(f"control: {role}: {name}")
    for row in rows or []:
        print(f"row: {row}")
    if rows is None or len(rows) < args.rows:
        print(f"read-player-tree: the result list shows {len(rows or [])} rows, not {args.rows}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
