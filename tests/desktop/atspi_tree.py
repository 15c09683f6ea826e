#!/usr/bin/python3
"""Prints the accessibility tree of one application as the AT-SPI bus shows
it to screen readers: one line per object, "role<TAB>name<TAB>actions<TAB>focused"
(the last field empty unless the object has the keyboard focus), indented by
depth. Exits 1 when no application of that name is registered.

Usage: atspi_tree.py APPLICATION-NAME
The session bus (DBUS_SESSION_BUS_ADDRESS) must serve org.a11y.Bus."""
import sys

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
ACTION = "org.a11y.atspi.Action"
FOCUSED = 1 << 12  # ATSPI_STATE_FOCUSED in the first word of the state set


def a11y_bus():
    session = dbus.SessionBus()
    launcher = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    address = launcher.GetAddress(dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(str(address))


def describe(bus, name, path, depth, lines):
    node = bus.get_object(name, path, introspect=False)
    accessible = dbus.Interface(node, ACCESSIBLE)
    properties = dbus.Interface(node, dbus.PROPERTIES_IFACE)
    label = str(properties.Get(ACCESSIBLE, "Name"))
    interfaces = [str(i) for i in accessible.GetInterfaces()]
    actions = ""
    if ACTION in interfaces:
        action = dbus.Interface(node, ACTION)
        count = int(properties.Get(ACTION, "NActions"))
        actions = ",".join(str(action.GetName(i)) for i in range(count))
    focused = "focused" if int(accessible.GetState()[0]) & FOCUSED else ""
    lines.append("%s%s\t%s\t%s\t%s" % ("  " * depth, accessible.GetRoleName(), label, actions, focused))
    for child_name, child_path in accessible.GetChildren():
        describe(bus, str(child_name), str(child_path), depth + 1, lines)


def main():
    bus = a11y_bus()
    root = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", introspect=False)
    for name, path in dbus.Interface(root, ACCESSIBLE).GetChildren():
        node = bus.get_object(str(name), str(path), introspect=False)
        if str(dbus.Interface(node, dbus.PROPERTIES_IFACE).Get(ACCESSIBLE, "Name")) == sys.argv[1]:
            lines = []
            describe(bus, str(name), str(path), 0, lines)
            print("\n".join(lines))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
