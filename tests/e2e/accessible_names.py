#!/usr/bin/python3
"""Reads the running utility's main window through the desktop's accessibility bus (AT-SPI),
as a screen reader does, and checks the names its controls announce.
Usage: accessible_names.py TIMEOUT_SECONDS [--dump]"""
import sys
import time

import pyatspi

# The names of the controls whose meaning comes from a label beside them, with the roles a
# screen reader announces with them.
EXPECTED = {
    "I P": "filler", "Netmask": "filler", "Gateway": "filler",
    "Receive DHCP": "combo box", "Available Drive Letters": "combo box",
    "Network Storage Device": "tree", "Drive Mapping": "tree",
}


def find_window(timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None or app.name != "ostrel-ferrow-utility":
                continue
            for window in app:
                if window is not None and window.name == "Ostrel Ferrow Utility":
                    return window
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node
    if depth > 12:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def main():
    window = find_window(float(sys.argv[1]))
    if window is None:
        sys.exit("the main window never appeared on the accessibility bus")
    # Each control is known by its own name and by the labels it is "labelled by".
    named = {}
    for node in walk(window):
        names = {node.name} if node.name else set()
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    names.add(relation.getTarget(i).name.rstrip(" :"))
        for name in names:
            named.setdefault(name, set()).add(node.getRoleName())
    if "--dump" in sys.argv:
        print(named)
    problems = [f"{name!r}: {'missing' if name not in named else 'roles ' + ', '.join(sorted(named[name]))}, "
                f"expected role {role}" for name, role in EXPECTED.items() if role not in named.get(name, ())]
    for part in range(1, 5):
        if "text" not in named.get(f"Netmask, part {part} of 4", ()):
            problems.append(f"the netmask's field {part} has no name")
    print("\n".join(problems) or f"all {len(EXPECTED)} labelled controls announce their label")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
