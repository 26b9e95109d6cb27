"""Reads the program's window over the AT-SPI accessibility bus, as a screen
reader does, and checks each line's name and description; each
DESCRIPTION=TEXT given must also be read exactly, and each DESCRIPTION~REGEX
must match the whole text read.

Usage: atspi_reader.py APPLICATION_NAME [DESCRIPTION=TEXT | DESCRIPTION~REGEX ...]
       atspi_reader.py APPLICATION_NAME --print FILE
The second form also writes the five values read to FILE, as DESCRIPTION=TEXT.
"""
import re
import sys
import time

import pyatspi

EXPECTED = {  # description -> how the name (the shown text) must start; a value follows
    "Rights notice": "Copyright",
    "Drive type and letter": "",
    "Volume serial number": "SN. ",
    "Total size in bytes": "TS. ",
    "File system": "FS. ",
    "Operating system platform, version and build": "OS. ",
}


def find_application(name):
    """The application of that name with a window, and how many of that name
    the bus has (a toolkit's bridge may register one more, with none)."""
    for _ in range(100):
        named = [app for app in pyatspi.Registry.getDesktop(0)
                 if app is not None and app.name == name]
        for app in named:
            if app.childCount > 0:
                return app, len(named)
        time.sleep(0.1)
    return None, 0


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def main(name, exact, out=None):
    app, named = find_application(name)
    if app is None:
        print(f"not ok - no application '{name}' with a window on the accessibility bus")
        return 1
    print(("ok - " if named == 1 else "not ok - ") +
          f"one application named {name!r} on the accessibility bus (saw {named})")
    nodes = list(walk(app))
    failures = int(named != 1)
    by_description = {n.description: n for n in nodes if n.description}
    for description, prefix in EXPECTED.items():
        node = by_description.get(description)
        ok = node is not None and node.name.startswith(prefix) and len(node.name) > len(prefix)
        print(("ok - " if ok else "not ok - ") +
              f"{description!r} reads {node.name if node else None!r}")
        failures += not ok
    for description, text in exact.items():
        node = by_description.get(description)
        read = node.name if node else None
        ok = re.fullmatch(text[1:], read or "") if text.startswith("~") else read == text
        print(("ok - " if ok else "not ok - ") + f"{description!r} is {text!r} (read {read!r})")
        failures += not ok
    if out:
        with open(out, "w") as lines:
            for description in list(EXPECTED)[1:]:
                node = by_description.get(description)
                lines.write(f"{description}={node.name if node else ''}\n")
    maker = by_description.get("Maker")
    print(("ok - " if maker and maker.name == "Orlenda" else "not ok - ") +
          f"'Maker' reads {maker.name if maker else None!r}")
    failures += not (maker and maker.name == "Orlenda")
    banner = [n for n in nodes if n.name == "Banner"]
    print(("ok - " if banner else "not ok - ") + "the text box is named 'Banner'")
    failures += not banner
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[2:3] == ["--print"]:
        sys.exit(main(sys.argv[1], {}, sys.argv[3]))
    sys.exit(main(sys.argv[1], dict(re.sub(r"^([^=~]*)~", r"\1=~", a).split("=", 1) for a in sys.argv[2:])))
