"""Checks that the docs name only what exists: every repository path and
script in backquotes, in a code block or in a link, and every CMake preset,
named in the Markdown files given.

Usage: docs_check.py REPOSITORY FILE.md...
"""
import glob
import json
import os
import re
import sys

root = sys.argv[1]
top = set(os.listdir(root))
presets = {p["name"] for kind in ("configurePresets", "buildPresets", "testPresets")
           for p in json.load(open(os.path.join(root, "CMakePresets.json"))).get(kind, [])}
# What the build and the release make: named in the docs, not in the repository.
OUTPUTS = ("build/", "dist/")

failures = 0


def check(what, ok, where):
    global failures
    if not ok:
        print(f"not ok - {where}: {what}")
        failures += 1


def repository_path(token):
    """The token as a path inside the repository, or None when it names none."""
    if not token.split():
        return None
    token = token.split()[0].rstrip(".,:;")
    if token.startswith(OUTPUTS) or "<" in token or "://" in token:
        return None
    first = token.split("/")[0]
    if first in top and first not in ("build", "dist") and ("/" in token or "." in first):
        return token
    return None


for name in sys.argv[2:]:
    text = open(name).read()
    here = os.path.dirname(os.path.abspath(name))
    where = os.path.relpath(name, root)
    checked = 0
    in_code = False
    for number, line in enumerate(text.splitlines(), 1):
        if line.startswith("```"):
            in_code = not in_code
            continue
        # In a code block every word may be a path; elsewhere what is quoted.
        tokens = line.split("#")[0].split() if in_code else re.findall(r"`([^`]+)`", line)
        if in_code:
            tokens.append(" ".join(tokens))
        for token in tokens:
            path = repository_path(token)
            if path:
                check(f"`{path}` does not exist", glob.glob(os.path.join(root, path)), f"{where}:{number}")
                checked += 1
            for preset in re.findall(r"--preset[ =]([\w-]+)", token):
                check(f"no preset '{preset}'", preset in presets, f"{where}:{number}")
                checked += 1
        for target in re.findall(r"\]\(([^)#\s]+)", line):
            if "://" in target:
                continue
            check(f"the link {target} leads nowhere", os.path.exists(os.path.join(here, target)),
                  f"{where}:{number}")
            checked += 1
        for listed in re.findall(r"[Pp]resets? ((?:`[\w-]+`(?:, | and | or )?)+)", line):
            for preset in re.findall(r"`([\w-]+)`", listed):
                check(f"no preset '{preset}'", preset in presets, f"{where}:{number}")
                checked += 1
    print(f"ok - {where}: {checked} names checked")

# The Windows page gives the manifest's oldest system and the build before
# which Windows ignores dpiAwareness, as the manifest has them.
manifest = open(os.path.join(root, "app", "tarvino.manifest.in")).read()
page = " ".join(open(os.path.join(root, "docs", "windows.md")).read().split())
oldest = re.findall(r"<!-- (Windows [\w.]+)", manifest)[:1]
before = re.findall(r"older than (Windows 10 \d+), which ignore dpiAwareness", " ".join(manifest.split()))
for said in [f"{name} to 11 as supported systems" for name in oldest] + \
        [f"before {build}, which ignore `dpiAwareness`" for build in before]:
    check(f"says \"{said}\", as the manifest does", said in page, "docs/windows.md")
check("the manifest names its oldest system and dpiAwareness' first build", oldest and before,
      "app/tarvino.manifest.in")
sys.exit(1 if failures else 0)
