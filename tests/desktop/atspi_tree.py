#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints application ARGV[1]'s objects as the AT-SPI bus shows them to screen
readers, one a line: "role<TAB>name<TAB>actions<TAB>focused". Exits 1 while
it is not registered. Needs a session bus that serves org.a11y.Bus."""
import sys

import dbus

A11Y = "org.a11y.atspi."


def lines(bus, name, path):
    node = bus.get_object(name, path, introspect=False)
    get = lambda interface, prop: node.Get(A11Y + interface, prop, dbus_interface=dbus.PROPERTIES_IFACE)
    call = lambda method, *args: node.get_dbus_method(method, A11Y + "Accessible")(*args)
    actions = []
    if A11Y + "Action" in call("GetInterfaces"):
        actions = [node.GetName(i, dbus_interface=A11Y + "Action") for i in range(get("Action", "NActions"))]
    focused = "focused" if call("GetState")[0] & (1 << 12) else ""
    yield "\t".join([call("GetRoleName"), get("Accessible", "Name"), ",".join(actions), focused])
    for child in call("GetChildren"):
        yield from lines(bus, *child)


session = dbus.SessionBus()
bus = dbus.bus.BusConnection(session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus"))
root = bus.get_object(A11Y + "Registry", "/org/a11y/atspi/accessible/root", introspect=False)
for application in root.GetChildren(dbus_interface=A11Y + "Accessible"):
    found = list(lines(bus, *application))
    if found[0].split("\t")[1] == sys.argv[1]:
        print("\n".join(found))
        sys.exit(0)
sys.exit(1)
