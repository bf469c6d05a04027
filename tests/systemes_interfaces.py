#!/usr/bin/python3
"""Each interface lists the engine's systems, all of them and only them: the
help of geokern-conv and of norvane-cli, the Python package's systems(), and
the README's table (code, name, units, EPSG code; its labels are English).
(The page's lists are compared with the same table in tests/web/test_page.py.)

usage: systemes_interfaces.py LIBGEOKERN GEOKERN_CONV NORVANE_CLI PYTHON_PACKAGES README"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue_moteur  # noqa: E402


def help_rows(program, pattern):
    text = subprocess.run([program, "--aide"], capture_output=True, text=True, check=True).stdout
    return [m.groups() for m in re.finditer(pattern, text, re.MULTILINE)]


def main():
    library, conv, cli, packages, readme = sys.argv[1:6]
    _, systems = catalogue_moteur.load(library)
    expected = [(s.code, s.name, s.label, s.epsg) for s in systems]
    listed = {
        # "  code  nom  système  unités (x y)  EPSG"
        "geokern-conv": [(int(c), n, l, int(e)) for c, n, l, e in help_rows(
            conv, r"^ +(\d+)  (\S+) +(.+?) +\S+ \((?:lon lat|E N)\) +(\d+)$")],
        # "  code nom système, unités" (no EPSG code there)
        "norvane-cli": [(int(c), n, l, s.epsg) for (c, n, l), s in zip(help_rows(
            cli, r"^ +(\d+) (\S+) +(.+), (?:degrés|grades|mètres)$"), systems)],
    }
    sys.path.insert(0, packages)
    import geokern
    listed["Python"] = [(s.code, s.name, s.label, s.epsg) for s in geokern.systems()]
    units = {"degrés": "degrees", "grades": "grads", "mètres": "metres"}
    expected_readme = [(s.code, s.name, units[s.units], s.epsg) for s in systems]
    with open(readme, encoding="utf-8") as f:
        readme_rows = [(int(c), n, u, int(e)) for c, n, u, e in re.findall(
            r"^\| (\d+) \| `(\w+)` \| [^|]+ \| (\w+) \| (\d+) \|$", f.read(), re.MULTILINE)]
    failures = 0
    if readme_rows != expected_readme:
        failures += 1
        print(f"README: {len(readme_rows)} rows, not the engine's {len(expected_readme)}:",
              sorted(set(readme_rows) ^ set(expected_readme)))
    for interface, rows in listed.items():
        if rows != expected:
            failures += 1
            print(f"{interface}: {len(rows)} systems listed, not the engine's {len(expected)}:")
            for row in sorted(set(rows) ^ set(expected)):
                print("   ", "listed" if row in rows else "missing", row)
        else:
            print(f"{interface}: the engine's {len(expected)} systems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
