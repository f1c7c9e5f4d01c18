#!/usr/bin/python3
"""Claims org.a11y.Bus on the session bus and names ADDRESS as the accessibility bus, with
accessibility asked for (org.a11y.Status), as a desktop whose accessibility bus daemon has
stopped would: pair it with silent_bus.py serving ADDRESS. Prints "ready" once the name is
owned. Usage: silent_a11y_bus.py ADDRESS"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

STATUS = {"IsEnabled": dbus.Boolean(True), "ScreenReaderEnabled": dbus.Boolean(True)}


class A11yBus(dbus.service.Object):
    @dbus.service.method("org.a11y.Bus", out_signature="s")
    def GetAddress(self):
        return sys.argv[1]

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return STATUS[name]

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="s",
                         out_signature="a{sv}")
    def GetAll(self, interface):
        return STATUS


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
name = dbus.service.BusName("org.a11y.Bus", session)
A11yBus(session, "/org/a11y/bus")
print("ready", flush=True)
GLib.MainLoop().run()
