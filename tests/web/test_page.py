#!/usr/bin/env python3
"""The web page in headless Chromium, against the native programs.

Serves the site on 127.0.0.1, drives the page with Selenium and compares what
it shows with what norvane-cli and geokern-conv print for the same input.
Run with Debian's /usr/bin/python3 (python3-selenium).
"""
import argparse
import base64
import functools
import http.server
import os
import subprocess
import sys
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import catalogue_moteur  # noqa: E402
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

ARGS = None
DECLINATION_IDS = ["declinaison", "variation", "convergence", "angle-quadrillage"]

# (date, latitude, longitude): the grids' period, then the model's days.
PLACES = [
    ("2013-01-01", "48.85", "2.35"),
    ("2009-01-01", "47°12'30\"N", "1:30:00W"),
    ("2015-12-31", "42.7", "9.45"),
    ("2012-02-29", "46d35m0s N", "0.33 E"),
    ("1900-01-01", "48.85", "2.35"),
    ("2016-01-01", "43.3", "5.4"),
    ("2024-06-15", "-33.9", "18.4"),
    ("2030-01-01", "64.1", "-21.9"),
    ("2014-05-05", " 48.85", "2.35 "),  # blanks around a field, as norvane-cli cuts its fields
]
# Bad input: the page's message must be norvane-cli's. A date None is a field
# the browser holds empty, a day that does not exist for norvane-cli.
BAD_PLACES = [
    ("2013-01-01", "91", "2"),
    ("2013-01-01", "48", "abc"),
    ("2013-01-01", "47.2N", "1.5N"),
    ("2013-01-01", "55", "-3"),
    ("1899-12-31", "48", "2"),
    (None, "48", "2"),
    ("2013-01-01", "48.85\0x", "2.35"),  # what follows a NUL counts
]


# Bad input in every interface: the case, the program, the point (its line,
# the page's fields, Python's arguments), and what all must answer: the
# program's message (markers, NaN, errcheck's ValueError) or SAME, its numbers.
SAME = None
CROSS_INTERFACE = [
    ("latitude beyond a pole", ["geokern-conv", "WGS84GG", "RGF93L93"], (2.35, 91), "latitude au-delà de ±90°"),
    ("point 1e308 m away", ["geokern-conv", "NTFL2E", "WGS84GG"], (1e308, 1e308), "point à plus de 10 000 km"),
    ("1e-11 degree from a pole", ["norvane-cli", "-m", "-c"], ("2020-01-01", 2.35, 89.99999999999), "pôle géographique"),
    ("Nouméa, no Lambert 93 convergence", ["norvane-cli", "-m", "-c"], ("2020-01-01", 166.45, -22.27), SAME),
]


def in_grid_period(date):
    return date is not None and "2009-01-01" <= date <= "2015-12-31"


def norvane_cli(places, model):
    """norvane-cli's columns (or None) and messages for each place, in order."""
    program = os.path.join(ARGS.native, "programs/norvane-cli/norvane-cli")
    lines = "".join(f"{date or '2013-02-30'}\t{lon}\t{lat}\n" for date, lat, lon in places)
    run = subprocess.run([program, "--convergence"] + (["--modele"] if model else []),
                         input=lines.encode(), capture_output=True)
    messages = dict(m.split(", ligne ", 1)[1].split(" : ", 1) for m in run.stderr.decode().splitlines() if ", ligne " in m)
    results = []
    for number, line in enumerate(run.stdout.decode().splitlines(), 1):
        columns = line.split("\t")
        results.append((None, messages[str(number)]) if columns[0] == "*" else (columns, None))
    return results


def expected_for(places):
    grid = norvane_cli(places, False)
    model = norvane_cli(places, True)
    return [grid[i] if in_grid_period(p[0]) else model[i] for i, p in enumerate(places)]


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        handler = functools.partial(QuietHandler, directory=ARGS.site)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ["--headless=new", "--no-sandbox", "--window-size=1280,1000"]:
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        cls.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        cls.driver.get(f"http://127.0.0.1:{cls.server.server_address[1]}/")
        WebDriverWait(cls.driver, 30).until(lambda d: d.execute_script("return document.body.dataset.pret"))
        cls.driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        # Once loaded, the page needs no network.
        cls.driver.set_network_conditions(offline=True, latency=0, throughput=0)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()

    def el(self, id_):
        return self.driver.find_element("id", id_)

    def text(self, id_):
        return self.driver.execute_script(f"return document.getElementById('{id_}').value ?? ''")

    def compute(self, date, lat, lon):
        self.driver.execute_script("document.getElementById('date').value = arguments[0]", date or "")
        for id_, value in (("lat", lat), ("lon", lon)):
            self.el(id_).clear()
            if "\0" in value:  # not a key
                self.driver.execute_script(f"document.getElementById('{id_}').value = arguments[0]", value)
            else:
                self.el(id_).send_keys(value)
        self.el("calculer").click()

    def convert_point(self, source, target, x, y):
        Select(self.el("systeme-source")).select_by_value(source)
        Select(self.el("systeme-cible")).select_by_value(target)
        for id_, value in (("x", x), ("y", y)):
            self.el(id_).clear()
            self.el(id_).send_keys(value)
        self.el("convertir").click()

    def test_bad_input_answers_alike_everywhere(self):
        sys.path.insert(0, os.path.join(ARGS.native, "python", "packages"))  # the native build's packages
        import geokern, norvane  # noqa: E401
        for case, (program, *arguments), numbers, message in CROSS_INTERFACE:
            with self.subTest(case):
                texts = [str(n) for n in numbers]
                run = subprocess.run([os.path.join(ARGS.native, "programs", program, program), *arguments],
                                     input=" ".join(texts).encode() + b"\n", capture_output=True)
                out, err = run.stdout.decode().rstrip("\n"), run.stderr.decode()
                if program == "geokern-conv":
                    python = lambda **k: geokern.transform(*numbers, *arguments, **k)
                    self.convert_point(*arguments, *texts)
                    page, page_message = [self.text("resultat-x"), self.text("resultat-y")], "message-conversion"
                else:
                    python = lambda **k: norvane.declination(*numbers, **k)
                    self.compute(texts[0], texts[2], texts[1])
                    page, page_message = [self.text(i) for i in DECLINATION_IDS], "message"
                page_message = self.el(page_message).text
                if message is SAME:
                    self.assertEqual((run.returncode, err, page_message), (0, "", ""))
                    self.assertEqual(page, out.split("\t"))
                    self.assertAlmostEqual(python()[0], float(out.split()[0]), delta=0.005)
                else:
                    self.assertEqual((run.returncode, set(out.split())), (1, {"*"}))
                    self.assertEqual(set(page), {"*"} if program == "geokern-conv" else {""})
                    for said in (err, page_message):
                        self.assertIn(message, said)
                    self.assertTrue(all(v != v for v in python()))
                    with self.assertRaisesRegex(ValueError, message):
                        python(errcheck=True)

    def test_places_match_norvane_cli(self):
        for (date, lat, lon), (columns, _) in zip(PLACES, expected_for(PLACES)):
            with self.subTest(date=date, lat=lat, lon=lon):
                self.compute(date, lat, lon)
                self.assertEqual([self.text(i) for i in DECLINATION_IDS], columns)
                self.assertIn("grilles" if in_grid_period(date) else "IGRF", self.text("source"))
                self.assertEqual(self.el("message").text, "")

    def test_bad_input_gives_the_message_and_empties_results(self):
        for (date, lat, lon), (_, message) in zip(BAD_PLACES, expected_for(BAD_PLACES)):
            with self.subTest(date=date, lat=lat, lon=lon):
                self.compute(*PLACES[0])
                self.assertNotEqual(self.text("declinaison"), "")
                self.compute(date, lat, lon)
                self.assertEqual(self.el("message").text, message)
                self.assertEqual([self.text(i) for i in DECLINATION_IDS + ["source"]], [""] * 5)
        # Nothing typed: no field is named before the other.
        self.compute("2013-01-01", "", "")
        self.assertEqual(self.el("message").text, "Latitude et longitude manquantes")

    def test_lists_are_the_engines_systems(self):
        # Grouped by datum (the engine's 0 NTF, 1 WGS84, 2 RGF93) in this order, each with its EPSG code.
        _, systems = catalogue_moteur.load(os.path.join(ARGS.native, "engine/libgeokern.so"))
        groups = {"NTF": 0, "RGF93": 2, "WGS84": 1}
        expected = [[group, [[s.name, f"{s.name} : {s.label} (EPSG:{s.epsg})"] for s in systems if s.datum == datum]]
                    for group, datum in groups.items()]
        for id_ in ("systeme-source", "systeme-cible"):
            listed = self.driver.execute_script(
                "return [...document.getElementById(arguments[0]).querySelectorAll('optgroup')].map("
                "g => [g.label, [...g.querySelectorAll('option')].map(o => [o.value, o.textContent])])", id_)
            self.assertEqual(listed, expected)

    def test_model_elements_pole_zone_and_map(self):
        """A chosen model: its declination, elements and pole zone as norvane-cli
        --modele=... --elements --incertitude -n gives them, and its lines drawn on the map."""
        program = os.path.join(ARGS.native, "programs/norvane-cli/norvane-cli")
        select = Select(self.el("modele"))
        for key, label, (date, lat, lon) in (("wmm", "WMM2025", ("2027-03-14", "75", "-70")),
                                             ("wmmhr", "WMMHR2025", ("2026-06-01", "48.85", "2.35"))):
            with self.subTest(model=key):
                select.select_by_visible_text(next(o.text for o in select.options if o.text.startswith(label)))
                self.compute(date, lat, lon)
                run = subprocess.run([program, "--modele=" + key, "--elements", "--incertitude", "-n", "-d", date,
                                      "-x", lon, "-y", lat], capture_output=True, text=True, check=True)
                numbers = [float(v) for v in run.stdout.split("\t")]
                self.assertIn(label, self.text("source"))
                self.assertAlmostEqual(float(self.text("declinaison").split()[0]), numbers[0], delta=0.005)
                rows = [[c.text for c in r.find_elements("css selector", "td")]
                        for r in self.driver.find_elements("css selector", "#elements-lignes tr")]
                for k, row in enumerate(rows):  # value, rate, uncertainty of D, I, H, X, Y, Z, F
                    for column, index in enumerate((k, k + 7, k + 14)):
                        decimals = len(row[column].split()[0].split(".")[1])
                        self.assertAlmostEqual(float(row[column].split()[0]), numbers[index],
                                               delta=0.5 * 10 ** -decimals + 1e-9)
                zone = self.el("zone-pole")
                self.assertEqual(zone.is_displayed(), numbers[-1] > 0)
                if numbers[-1] > 0:
                    self.assertIn("prudence", zone.text)
                WebDriverWait(self.driver, 30).until(lambda d: label in self.el("legende-carte").text)
                self.assertTrue(self.el("isogones").is_displayed())
        select.select_by_index(0)
        self.compute(*PLACES[0])
        WebDriverWait(self.driver, 10).until(lambda d: not self.el("isogones").is_displayed())

    def test_bad_point_gives_geokern_conv_reason(self):
        cases = [("WGS84GG", "RGF93L93", "2,35", "48.85"), ("WGS84GG", "NTFL2E", "abc", "48.85"),
                 ("RGF93GG", "NTFL2E", "20", "46"), ("NTFL2E", "WGS84GG", "600000", "-9999x")]
        for source, target, x, y in cases:
            with self.subTest(x=x, y=y):
                native = subprocess.run([os.path.join(ARGS.native, "programs/geokern-conv/geokern-conv"), source, target],
                                        input=f"{x}\t{y}\n".encode(), capture_output=True)
                self.convert_point(source, target, x, y)
                self.assertEqual([self.text("resultat-x"), self.text("resultat-y")], native.stdout.decode().split())
                self.assertEqual(self.el("message-conversion").text, native.stderr.decode().strip().split(": ")[-1])

    def convert_file(self, source, target, options, content, dropped=False, name=None):
        path = os.path.join(ARGS.scratch, name or f"points-{source}.txt")
        with open(path, "wb") as f:
            f.write(content)
        Select(self.el("systeme-source")).select_by_value(source)
        Select(self.el("systeme-cible")).select_by_value(target)
        for box in ("precision", "entete"):
            if self.el(box).is_selected() != (f"--{box}" in options):
                self.el(box).click()
        if dropped:  # dropped on the page rather than chosen
            self.driver.execute_script("""
                const data = new DataTransfer();
                data.items.add(new File([Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0))], 'depot.txt'));
                document.getElementById('depot').dispatchEvent(new DragEvent('drop', {dataTransfer: data}));""",
                base64.b64encode(content).decode())
        else:
            self.el("fichier").send_keys(path)
        WebDriverWait(self.driver, 120).until(lambda d: self.el("telecharger").is_displayed())
        data = self.driver.execute_async_script("""
            const done = arguments[0];
            fetch(document.getElementById('telecharger').href).then(r => r.blob()).then(b => {
              const reader = new FileReader();
              reader.onload = () => done(reader.result.split(',')[1]);
              reader.readAsDataURL(b);
            });""")
        native = subprocess.run([os.path.join(ARGS.native, "programs/geokern-conv/geokern-conv"), *options,
                                 source, target, path], capture_output=True)
        self.assertEqual(base64.b64decode(data), native.stdout)
        lines = content.count(b"\n") + (not content.endswith(b"\n"))
        failures = len(native.stderr.splitlines())
        self.assertIn(f"{lines} lignes, {failures} en échec", self.text("bilan"))
        report = self.el("rapport").text.splitlines()  # the first 100 failures, then how many more
        self.assertEqual(report[100:], [f"… et {failures - 100} autres lignes en échec"] if failures > 100 else [])
        return self.el("telecharger").get_attribute("download")

    def test_file_equals_geokern_conv(self):
        odd = (b"\xef\xbb\xbf# lon;lat;nom\n2.35;48.85;Paris\r\n-1.55 47.22 Nantes\n\n20,46,Szeged\n2,35 48,85\nabc;def\n"
               b"  # retrait\n7.75\t48.58\tStrasbourg\n3.0,46.5,\n\xe9t\xe9;\x00\n+9.45 42.7 Bastia\n-9999 0\n")
        # Enough lines to cross the worker's pieces of 4 MiB.
        many = b"".join(b"%.6f %.6f n%d\n" % (-5 + (i * 7919 % 15000) / 1000, 41 + (i * 104729 % 10000) / 1000, i)
                        for i in range(200000))
        self.convert_file("WGS84GG", "RGF93L93", [], odd + many + b"9.45 42.7 sans fin de ligne")
        self.convert_file("RGF93GG", "NTFL2E", ["--precision", "--entete"], odd)
        self.convert_file("NTFL2E", "RGF93L93", [], odd, dropped=True)
        # Any file: the result is text, named after the whole name.
        self.assertEqual(self.convert_file("WGS84GG", "RGF93L93", [], b"\x89PNG\r\n\x1a\n" + b"2.35 91\n" * 150,
                                           name="carte.png"), "carte.png-RGF93L93.txt")

    def test_keyboard_alone(self):
        labelled = self.driver.execute_script(
            "return [...document.querySelectorAll('input, select')].every(e => e.labels.length > 0)")
        self.assertTrue(labelled)
        self.driver.execute_script("document.getElementById('date').value = '2013-01-01'; window.scrollTo(0, 0);"
                                   "document.activeElement.blur()")
        self.driver.execute_script("document.getElementById('lat').value = document.getElementById('lon').value"
                                   " = document.getElementById('x').value = document.getElementById('y').value = ''")
        body = ActionChains(self.driver)
        for _ in range(40):
            if self.driver.execute_script("return document.activeElement.id") == "lat":
                break
            body.send_keys(Keys.TAB).perform()
        body.send_keys("48.85", Keys.TAB, "2.35", Keys.ENTER).perform()
        self.assertNotEqual(self.text("declinaison"), "")

        def tab_to(id_):
            for _ in range(40):
                if self.driver.execute_script("return document.activeElement.id") == id_:
                    return
                body.send_keys(Keys.TAB).perform()
        tab_to("zone-carte")
        body.send_keys(Keys.ARROW_LEFT, Keys.ARROW_LEFT, Keys.ENTER).perform()
        self.assertNotEqual(self.el("lat").get_attribute("value"), "48.85")
        tab_to("x")
        body.send_keys("2.35", Keys.TAB, "48.85", Keys.ENTER).perform()
        self.assertNotEqual(self.text("resultat-x"), "")

    def test_map_click_fills_the_position(self):
        self.el("lat").clear()
        self.el("lon").clear()
        ActionChains(self.driver).move_to_element(self.el("carte")).click().perform()
        self.assertNotEqual(self.el("lat").get_attribute("value"), "")
        self.assertNotEqual(self.text("declinaison"), "")

    def test_reopens_when_the_server_is_gone(self):
        QuietHandler.gone = True
        try:
            self.driver.refresh()
            WebDriverWait(self.driver, 30).until(lambda d: d.execute_script("return document.body.dataset.pret"))
            self.compute(*PLACES[0])
            self.assertEqual([self.text(i) for i in DECLINATION_IDS], expected_for(PLACES[:1])[0][0])
        finally:
            QuietHandler.gone = False

    def test_zz_both_widths_and_a_clean_console(self):
        os.makedirs(ARGS.screenshots, exist_ok=True)
        self.compute(*PLACES[0])
        for id_, value in (("x", "2.35"), ("y", "48.85")):
            self.el(id_).clear()
            self.el(id_).send_keys(value)
        self.el("convertir").click()
        for width in (360, 1280):
            self.driver.set_window_size(width, 2600)
            self.driver.execute_script("window.scrollTo(0, 0)")
            self.driver.save_screenshot(os.path.join(ARGS.screenshots, f"page-{width}.png"))
            overflow = self.driver.execute_script(
                "return document.documentElement.scrollWidth - document.documentElement.clientWidth")
            self.assertLessEqual(overflow, 0, f"wider than {width} px")
        errors = [e for e in self.driver.get_log("browser") if e["level"] in ("SEVERE", "WARNING")]
        self.assertEqual(errors, [])


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    gone = False  # when set, every request is dropped unanswered, as by a network down

    def handle_one_request(self):
        if QuietHandler.gone:
            self.close_connection = True
            return
        super().handle_one_request()

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("--site", "--native", "--screenshots", "--scratch"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    os.makedirs(ARGS.scratch, exist_ok=True)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
