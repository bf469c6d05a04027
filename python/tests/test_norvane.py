"""norvane.declination against norvane-cli, both sources."""
import datetime
import os
import subprocess

import numpy as np
import pytest

import norvane

CLI = os.environ.get("NORVANE_CLI")
# (date, lon, lat): the grids' period and area, then the model's span and beyond France.
GRID_PLACES = [("2013-01-01", 2.35, 48.85), ("2009-01-01", -4.48, 48.39), ("2015-12-31", 9.45, 42.7),
               ("2011-06-15", 7.75, 48.58), ("2012-02-29", -1.55, 47.22)]
MODEL_PLACES = [("1900-01-01", 2.35, 48.85), ("1987-03-14", -4.48, 48.39), ("2026-12-08", 2.35, 48.85),
                ("2029-12-31", 9.45, 42.7), ("2020-07-01", -3.0, 55.0), ("2001-01-01", 151.2, -33.9)]


def cli(places, *options):
    lines = "".join(f"{d} {lon} {lat}\n" for d, lon, lat in places)
    out = subprocess.run([CLI, "--nombres", *options], input=lines, capture_output=True, text=True, check=True)
    return np.array([[float(v) for v in line.split("\t")[:2]] for line in out.stdout.splitlines()])


@pytest.mark.skipif(not CLI, reason="NORVANE_CLI names the program")
@pytest.mark.parametrize("source, places, options", [("grille", GRID_PLACES, []),
                                                     ("modele", MODEL_PLACES, ["--modele"])])
def test_declination_equals_norvane_cli(source, places, options):
    dates, lon, lat = zip(*places)
    d, rate = norvane.declination(np.array(dates, dtype="datetime64[D]"), lon, lat, source=source)
    np.testing.assert_allclose(np.column_stack([d, rate]), cli(places, *options), rtol=0, atol=5e-7)


def test_auto_takes_the_grids_in_their_period_and_the_model_otherwise():
    dates, lon, lat = zip(*(GRID_PLACES + MODEL_PLACES[:4]))
    auto = norvane.declination(list(dates), lon, lat)
    grid = norvane.declination(list(dates), lon, lat, source="grille")
    model = norvane.declination(list(dates), lon, lat, source="modele")
    n = len(GRID_PLACES)
    for a, g, m in zip(auto, grid, model):
        np.testing.assert_array_equal(a[:n], g[:n])
        np.testing.assert_array_equal(a[n:], m[n:])
        assert np.isnan(g[n:]).all()


def test_failures_give_nan_or_raise_with_the_reason():
    d, rate = norvane.declination(["2013-01-01", "2013-01-01"], [2.35, -3.0], [48.85, 55.0], source="grille")
    assert not np.isnan(d[0]) and np.isnan(d[1]) and np.isnan(rate[1])
    with pytest.raises(ValueError, match="point 1 .*hors zone"):
        norvane.declination("2013-01-01", [2.35, -3.0], [48.85, 55.0], source="grille", errcheck=True)
    with pytest.raises(ValueError, match="source inconnue"):
        norvane.declination("2013-01-01", 2.35, 48.85, source="igrf")
    assert type(norvane.declination(np.datetime64("2013-01-01T12:00"), 2.35, 48.85)[0]) is float
    d, _ = norvane.declination(["2013-01-01", "2013-02-30"], 2.35, 48.85)
    assert not np.isnan(d[0]) and np.isnan(d[1])
    with pytest.raises(ValueError, match="point 1 .*2013-02-30.*date illisible"):
        norvane.declination(["2013-01-01", "2013-02-30"], 2.35, 48.85, errcheck=True)


# Places of the WMM's span, one near a magnetic pole, one as a decimal year.
FIELD_PLACES = [("2026-06-01", 2.35, 48.85), ("2025-01-01", -121.0, 89.0), ("2029.75", 151.2, -33.9),
                ("2027-03-14", -70.0, 75.0)]


@pytest.mark.skipif(not CLI, reason="NORVANE_CLI names the program")
@pytest.mark.parametrize("model", ["wmm", "wmmhr", "igrf"])
def test_field_equals_norvane_cli_elements(model):
    dates, lon, lat = zip(*FIELD_PLACES)
    rows = [norvane.field(float(d) if "." in d else d, x, y, model=model, uncertainty=model != "igrf")
            for d, x, y in FIELD_PLACES]
    f = {k: np.array([row[k] for row in rows]) for k in rows[0]}
    options = ["--modele=" + model, "--elements"] + (["--incertitude"] if model != "igrf" else [])
    lines = "".join(f"{d} {x} {y}\n" for d, x, y in FIELD_PLACES)
    out = subprocess.run([CLI, "--nombres", *options], input=lines, capture_output=True, text=True, check=True)
    table = np.array([[float(v) for v in line.split("\t")] for line in out.stdout.splitlines()])
    keys = list(norvane.ELEMENTS) + (["u" + k for k in norvane.ELEMENTS[:7]] if model != "igrf" else []) + ["zone"]
    np.testing.assert_allclose(np.column_stack([f[k] for k in keys]), table, rtol=0, atol=5e-7)
    d, rate = norvane.declination(np.array(dates[:2], dtype="datetime64[D]"), lon[:2], lat[:2], model=model,
                                  source="modele")
    np.testing.assert_array_equal(d, f["D"][:2])
    np.testing.assert_array_equal(rate, f["dD"][:2])


# One table of the models' messages: each interface says the same.
MESSAGE_CASES = [("wmm", "2024-12-31", 2.0, 48.0, "Date hors de la période du modèle WMM2025 : du 1er janvier 2025"),
                 ("wmmhr", "2030-01-02", 2.0, 48.0, "WMMHR2025 : du 1er janvier 2025 au 1er janvier 2030"),
                 ("igrf", "1899-12-31", 2.0, 48.0, "IGRF-14 : du 1er janvier 1900 au 1er janvier 2030"),
                 ("wmm", "2026-01-01", 0.0, 90.0, "pôle géographique"),
                 ("wmmhr", "2026-01-01", 0.0, -90.0, "pôle géographique")]


@pytest.mark.skipif(not CLI, reason="NORVANE_CLI names the program")
@pytest.mark.parametrize("model, date, lon, lat, words", MESSAGE_CASES)
def test_messages_are_the_same_in_every_interface(model, date, lon, lat, words):
    with pytest.raises(ValueError) as field_error:
        norvane.field(date, lon, lat, model=model, errcheck=True)
    with pytest.raises(ValueError) as declination_error:
        norvane.declination(date, lon, lat, source="modele", model=model, errcheck=True)
    run = subprocess.run([CLI, "--modele=" + model, "-d", date, "-x", str(lon), "-y", str(lat)],
                         capture_output=True, text=True)
    message = run.stderr.splitlines()[0].split(" : ", 1)[1]
    assert run.returncode == 1 and run.stdout.startswith("*")
    assert words in message
    for error in (field_error, declination_error):
        assert str(error.value).endswith(" : " + message)
    assert np.isnan(norvane.field(date, lon, lat, model=model)["D"])


def test_numbers_are_no_dates_and_every_unit_is_read():
    for number in (2013.0, True, 1 + 2j, [datetime.date(2013, 1, 1), 2013]):  # numpy: days since 1970
        with pytest.raises(TypeError, match="pas un nombre"):
            norvane.declination(number, 2.35, 48.85)
    first_day = norvane.declination(np.datetime64("1970-01-01", "D"), 2.35, 48.85)
    for unit in ("ns", "ps", "fs", "as"):  # numpy cannot bring ps, fs or as to days itself
        assert norvane.declination(np.datetime64(1, unit), 2.35, 48.85) == first_day
    with pytest.raises(ValueError, match="date manquante"):
        norvane.declination(np.datetime64("NaT"), 2.35, 48.85, errcheck=True)
