#!/usr/bin/python3
"""Each interface lists the engine's systems, all of them and only them: the
help of geokern-conv and of norvane-cli, the Python package's systems(), and
the README's table (code, name, units, EPSG code; its labels are English).
(The page's lists are compared with the same table in tests/web/test_page.py.)
And every period the texts state (the README, the page, norvane.h, the Python
docstrings, norvane-cli's help) is the grids' period or a model's span, as
the core has them.

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


MONTHS = ("janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre", "octobre",
          "novembre", "décembre")
ENGLISH_MONTHS = ("January", "February", "March", "April", "May", "June", "July", "August", "September",
                  "October", "November", "December")
DAY = r"(1er|\d{1,2}) (%s) (\d{4})" % "|".join(MONTHS)
ENGLISH_DAY = r"(\d{1,2}) (%s) (\d{4})" % "|".join(ENGLISH_MONTHS)


def stated_periods(text):
    """Every pair of dates or years the text gives as a span, as ISO texts or years."""
    text = re.sub(r"<[^>]+>", "", text).replace("\n", " ")
    text = re.sub(r"\s+(\*\s+)?", " ", text)
    pairs = set(re.findall(r"(\d{4}-\d\d-\d\d)(?: to | au |\.\.| \.\. |/)(\d{4}-\d\d-\d\d)", text))
    french = lambda d, m, y: f"{y}-{MONTHS.index(m) + 1:02d}-{1 if d == '1er' else int(d):02d}"
    english = lambda d, m, y: f"{y}-{ENGLISH_MONTHS.index(m) + 1:02d}-{int(d):02d}"
    for m in re.finditer(r"du %s au %s" % (DAY, DAY), text):
        pairs.add((french(*m.groups()[:3]), french(*m.groups()[3:])))
    for m in re.finditer(r"from %s to %s" % (ENGLISH_DAY, ENGLISH_DAY), text):
        pairs.add((english(*m.groups()[:3]), english(*m.groups()[3:])))
    years = set(re.findall(r"\b(1[89]\d\d|20\d\d)(?:–| to | à |-)(1[89]\d\d|20\d\d)\b", text))
    return pairs, years


def check_periods(root, cli, packages):
    """The periods of the texts against the core's; the number of texts that differ."""
    sys.path.insert(0, packages)
    import norvane
    spans = {tuple(norvane.GRID_PERIOD)}
    for _, span, _ in norvane.MODELS.values():
        spans |= stated_periods(span)[0]
    years = {(a[:4], b[:4]) for a, b in spans} | {(a[:4], str(int(b[:4]) - 1)) for a, b in spans}
    texts = {name: open(os.path.join(root, name), encoding="utf-8").read()
             for name in ("README.md", "web/site/index.html", "calculator/core/norvane.h")}
    texts["norvane (docstrings)"] = "\n".join(
        f.__doc__ for f in (norvane, norvane.declination, norvane.field))
    texts["norvane-cli --aide"] = subprocess.run(
        [cli, "--aide"], capture_output=True, text=True, check=True).stdout
    failures = 0
    for name, text in texts.items():
        pairs, year_pairs = stated_periods(text)
        wrong = sorted(pairs - spans) + sorted(year_pairs - years)
        if wrong:
            failures += 1
            print(f"{name}: periods that are not the core's {sorted(spans)}: {wrong}")
    if not failures:
        print(f"periods: the core's {sorted(spans)} in {len(texts)} texts")
    return failures


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
    failures = check_periods(os.path.dirname(os.path.abspath(readme)), cli, packages)
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
