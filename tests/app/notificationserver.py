#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop notification server of the tests' own, on the session bus.

Takes the name org.freedesktop.Notifications and records every Notify call; the tests drive it
through org.example.RuvoTest: Capabilities(as) sets what GetCapabilities answers, Calls()
gives the calls so far as JSON, Invoke(u, s) emits ActionInvoked for a notification.
"""
import json
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"


class Server(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.capabilities = ["actions", "body"]
        self.calls = []

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return self.capabilities

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.calls.append({"app": str(app), "icon": str(icon), "summary": str(summary),
                           "body": str(body), "actions": [str(a) for a in actions],
                           "desktop-entry": str(hints.get("desktop-entry", ""))})
        return len(self.calls)

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, number):
        self.NotificationClosed(number, 3)

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("tests", "Ruvo", "1", "1.2")

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, number, key):
        pass

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, number, reason):
        pass

    @dbus.service.method("org.example.RuvoTest", in_signature="as")
    def Capabilities(self, capabilities):
        self.capabilities = list(capabilities)
        self.calls = []

    @dbus.service.method("org.example.RuvoTest", out_signature="s")
    def Calls(self):
        return json.dumps(self.calls)

    @dbus.service.method("org.example.RuvoTest", in_signature="us")
    def Invoke(self, number, key):
        self.ActionInvoked(number, key)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
server = Server(bus)
name = dbus.service.BusName(NAME, bus)
GLib.MainLoop().run()
