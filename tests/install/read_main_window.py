#!/usr/bin/python3
"""Prints what Sacotin's main window shows, as a screen reader reads it through AT-SPI: the status
line, then each entry of the item list, a line each. Waits up to 30 s for the window."""
import sys
import time

import pyatspi


def find(accessible, role, name=None):
    if accessible.getRoleName() == role and (name is None or accessible.name == name):
        return accessible
    for index in range(accessible.childCount):
        found = find(accessible.getChildAtIndex(index), role, name)
        if found:
            return found
    return None


for _ in range(300):
    for application in pyatspi.Registry.getDesktop(0):
        if application and application.name == "Sacotin":
            items = find(application, "list", "Objets du personnage")
            status = find(application, "status bar")
            if items and status and items.childCount > 0:
                print(status.name.replace("\n", " / "))
                for index in range(items.childCount):
                    print(items.getChildAtIndex(index).name)
                sys.exit(0)
    time.sleep(0.1)
sys.exit("no Sacotin window with a listed inventory")
