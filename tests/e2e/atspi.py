# atspi.py step: the step on display as the accessibility tree shows it: the progress bar's
#   place ("Step 2 of 4"), a tab, the step's heading (its panel's name). Status 1 while none shows.
# atspi.py centre NAME: "x y", the screen point at the middle of the showing push button NAME.
# With the system's python3 (python3-gi, gir1.2-atspi-2.0), on the program's session bus.
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def showing(node):
    """The showing objects from node down, depth first, each with its name."""
    try:
        if node is not None and node.get_state_set().contains(Atspi.StateType.SHOWING):
            yield node, node.get_name()
            for i in range(node.get_child_count()):
                yield from showing(node.get_child_at_index(i))
    except GLib.Error:
        return  # gone while being read: the step changed meanwhile


def named(role):
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    return [(o, name) for app in apps if app.get_name().startswith("MartenOnboarding")
            for o, name in showing(app) if name and o.get_role() == role]


if sys.argv[1] == "step":
    places = [o.get_description() for o, name in named(Atspi.Role.FILLER) if name == "Progress"]
    headings = [name for _, name in named(Atspi.Role.PANEL)]
    if len(places) != 1 or len(headings) != 1:
        sys.exit(1)
    print(f"{places[0]}\t{headings[0]}")
elif sys.argv[1] == "centre":
    button = next((o for o, name in named(Atspi.Role.PUSH_BUTTON) if name == sys.argv[2]), None)
    if button is None:
        sys.exit(1)
    box = button.get_extents(Atspi.CoordType.SCREEN)
    print(box.x + box.width // 2, box.y + box.height // 2)
