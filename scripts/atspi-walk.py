#!/usr/bin/python3
"""A small accessibility client: walks the objects a program shows on the AT-SPI bus.

    atspi-walk.py ADDRESS PID [--expect NAME:ROLE ...] [--expect-checked NAME] [--press NAME]
                  [--dump FILE]

Finds the application whose connection belongs to process PID on the accessibility bus at
ADDRESS and visits every object below it, as a screen reader or an inspector does: name,
description, role, states, interfaces and children, and org.freedesktop.DBus.Properties.GetAll
on every interface the object lists. After each object it checks that the process is still
alive. --expect NAME:ROLE fails unless some object has that name and role name (NAME may end in
'*' to match a beginning); --expect-checked NAME fails unless a visible object of that name is
checked; --press NAME runs the first action of the visible object of that name.
Exit status 0 when everything answered and every expectation held; 1 otherwise.
"""
import argparse
import os
import sys

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
ACTION = "org.a11y.atspi.Action"
PROPERTIES = "org.freedesktop.DBus.Properties"
REGISTRY = "org.a11y.atspi.Registry"
ROOT = "/org/a11y/atspi/accessible/root"
TIMEOUT = 10  # seconds for one call; a hung program fails the walk
MAX_OBJECTS = 5000  # a program that reports endless children fails the walk instead

# AT-SPI state numbers (AtspiStateType) worth naming in the dump.
STATE_NAMES = {
    1: "active", 4: "checked", 7: "editable", 8: "enabled", 11: "focusable", 12: "focused",
    17: "multi-line", 21: "resizable", 24: "sensitive", 25: "showing", 29: "vertical",
    30: "visible", 41: "checkable", 43: "read-only",
}


def alive(pid):
    try:
        os.kill(pid, 0)
    except OSError:
        return False
    with open(f"/proc/{pid}/stat") as f:
        return f.read().split(")")[-1].split()[0] != "Z"


def states(bits):
    numbers = [i * 32 + b for i, word in enumerate(bits) for b in range(32) if word & (1 << b)]
    return [STATE_NAMES.get(n, str(n)) for n in numbers]


class Walk:
    def __init__(self, bus, pid):
        self.bus = bus
        self.pid = pid
        self.objects = []
        self.errors = []

    def call(self, name, path, interface, method, *args):
        obj = self.bus.get_object(name, path, introspect=False)
        return obj.get_dbus_method(method, interface)(*args, timeout=TIMEOUT)

    def app(self):
        daemon = self.bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
        for name, path in self.call(REGISTRY, ROOT, ACCESSIBLE, "GetChildren"):
            pid = daemon.GetConnectionUnixProcessID(name, dbus_interface="org.freedesktop.DBus")
            if pid == self.pid:
                return str(name), str(path)
        return None

    def visit(self, name, path, depth, seen):
        if (name, path) in seen or len(seen) >= MAX_OBJECTS:
            return
        seen.add((name, path))
        entry = {"path": str(path), "depth": depth}
        try:
            get = lambda prop: self.call(name, path, PROPERTIES, "Get", ACCESSIBLE, prop)
            entry["name"] = str(get("Name"))
            entry["description"] = str(get("Description"))
            entry["role"] = str(self.call(name, path, ACCESSIBLE, "GetRoleName"))
            entry["states"] = states(self.call(name, path, ACCESSIBLE, "GetState"))
            entry["interfaces"] = [str(i) for i in self.call(name, path, ACCESSIBLE,
                                                             "GetInterfaces")]
            for interface in entry["interfaces"]:
                # The request that once ended the program: every property of an interface.
                self.call(name, path, PROPERTIES, "GetAll", interface)
            children = self.call(name, path, ACCESSIBLE, "GetChildren")
        except dbus.DBusException as e:
            self.errors.append(f"{path}: {e.get_dbus_name()}: {e.get_dbus_message()}")
            children = []
        self.objects.append(entry)
        if not alive(self.pid):
            raise SystemExit(f"atspi-walk: FAIL: the program ended at {path}")
        for child_name, child_path in children:
            self.visit(str(child_name), str(child_path), depth + 1, seen)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("address")
    parser.add_argument("pid", type=int)
    parser.add_argument("--expect", action="append", default=[])
    parser.add_argument("--expect-checked", action="append", default=[])
    parser.add_argument("--press")
    parser.add_argument("--dump")
    args = parser.parse_args()

    bus = dbus.bus.BusConnection(args.address)
    walk = Walk(bus, args.pid)
    found = walk.app()
    if not found:
        print("atspi-walk: FAIL: the program is not on the accessibility bus", file=sys.stderr)
        return 1
    walk.visit(found[0], found[1], 0, set())

    lines = ["%s%s [%s] %r %r %s" % ("  " * o["depth"], o["path"].rsplit("/", 1)[-1],
                                      o.get("role"), o.get("name"), o.get("description"),
                                      ",".join(o.get("states", [])))
             for o in walk.objects]
    if args.dump:
        with open(args.dump, "w") as f:
            f.write("\n".join(lines) + "\n")

    failed = list(walk.errors)
    for expectation in args.expect:
        want_name, want_role = expectation.rsplit(":", 1)
        prefix = want_name.endswith("*")
        matches = [o for o in walk.objects if o.get("role") == want_role and (
            o.get("name", "").startswith(want_name[:-1]) if prefix else o.get("name") == want_name)]
        if not matches:
            failed.append(f"no {want_role} named {want_name!r}")
    visible = lambda name: [o for o in walk.objects
                            if o.get("name") == name and "visible" in o.get("states", [])]
    for name in args.expect_checked:
        if not any("checked" in o["states"] for o in visible(name)):
            failed.append(f"nothing visible named {name!r} is checked")
    if args.press:
        target = next(iter(visible(args.press)), None)
        if not target or ACTION not in target.get("interfaces", []):
            failed.append(f"no object named {args.press!r} with an action")
        else:
            walk.call(found[0], target["path"], ACTION, "DoAction", dbus.Int32(0))
    if not alive(args.pid):
        failed.append("the program ended")
    for f in failed:
        print("atspi-walk: FAIL: " + f, file=sys.stderr)
    print(f"atspi-walk: {len(walk.objects)} objects visited, {len(failed)} failures")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
