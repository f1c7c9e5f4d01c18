#!/usr/bin/env python3
"""settings_portal.py BUS-NAME [NAMESPACE KEY KIND("rgb": "r,g,b" in 0 to 1, or "s") VALUE]...
A settings portal back end serving ReadAll and Read from a table; com.marten.Test.Set changes a
value and sends SettingChanged, com.marten.Test.FailReadAll makes ReadAll fail from then on."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

IMPL = "org.freedesktop.impl.portal.Settings"


def value(kind, text):
    return dbus.Struct([dbus.Double(float(c)) for c in text.split(",")], signature="ddd") if kind == "rgb" \
        else dbus.String(text)


class Settings(dbus.service.Object):
    def __init__(self, bus, table):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.table, self.fail_read_all = table, False

    @dbus.service.method(IMPL, in_signature="as", out_signature="a{sa{sv}}")
    def ReadAll(self, namespaces):
        if self.fail_read_all:
            raise dbus.exceptions.DBusException("no ReadAll here", name="org.freedesktop.DBus.Error.NotSupported")
        return {ns: dbus.Dictionary(keys, signature="sv") for ns, keys in self.table.items()
                if not namespaces or ns in namespaces}

    @dbus.service.method(IMPL, in_signature="ss", out_signature="v")
    def Read(self, namespace, key):
        if key not in self.table.get(namespace, {}):
            raise dbus.exceptions.DBusException("not found", name="org.freedesktop.portal.Error.NotFound")
        return self.table[namespace][key]

    @dbus.service.signal(IMPL, signature="ssv")
    def SettingChanged(self, namespace, key, val):
        pass

    @dbus.service.method("com.marten.Test", in_signature="ssss")
    def Set(self, namespace, key, kind, text):
        self.table.setdefault(namespace, {})[key] = value(kind, text)
        self.SettingChanged(namespace, key, self.table[namespace][key])

    @dbus.service.method("com.marten.Test")
    def FailReadAll(self):
        self.fail_read_all = True


DBusGMainLoop(set_as_default=True)
bus, table, args = dbus.SessionBus(), {}, sys.argv[2:]
for i in range(0, len(args) - 3, 4):
    table.setdefault(args[i], {})[args[i + 1]] = value(args[i + 2], args[i + 3])
service, name = Settings(bus, table), dbus.service.BusName(sys.argv[1], bus, do_not_queue=True)
GLib.MainLoop().run()
