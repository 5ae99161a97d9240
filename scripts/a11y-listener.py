#!/usr/bin/python3
"""Listens to every object event on the accessibility bus, as a screen reader does, so that
programs send their events; counts them and prints the count when terminated. Needs python3-dbus
and python3-gi (the system's Python)."""
import signal
import sys

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
    dbus_interface="org.a11y.Bus")
bus = dbus.bus.BusConnection(address)
registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/registry")
for event in ("object:", "window:", "focus:"):
    registry.RegisterEvent(event, dbus.Array([], signature="s"), "",
                           dbus_interface="org.a11y.atspi.Registry")

count = 0


def on_event(*args, **kwargs):
    global count
    count += 1


for interface in ("org.a11y.atspi.Event.Object", "org.a11y.atspi.Event.Window",
                  "org.a11y.atspi.Event.Focus"):
    bus.add_signal_receiver(on_event, dbus_interface=interface)

loop = GLib.MainLoop()


def stop(*_):
    print(f"a11y-listener: {count} events", file=sys.stderr, flush=True)
    loop.quit()


signal.signal(signal.SIGTERM, stop)
print("a11y-listener: listening", flush=True)
loop.run()
