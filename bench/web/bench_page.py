#!/usr/bin/env python3
"""Runs bench.html in headless Chromium and prints its figures.

Usage: bench_page.py FOLDER   (the folder bench-web.sh prepares)
"""
import functools
import http.server
import json
import sys
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=sys.argv[1]))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--no-sandbox"]:
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/bench.html")
        r = WebDriverWait(driver, 600, poll_frequency=1).until(lambda d: d.execute_script("return window.benchResult"))
        version = driver.capabilities.get("browserVersion", "?")
    finally:
        driver.quit()
        server.shutdown()
    print(f"Chromium {version} (headless), proj4js {r['proj4_version']}, {r['points']:,} points, "
          f"WGS84GG -> NTFL2E; three runs untimed, then the least of 5")
    print(f"{'':36}{'ms':>10}{'ns/point':>10}")
    rows = [("numbers: page's module (array call)", r["geokern_ms"]),
            ("numbers: proj4js forward()", r["proj4js_ms"]),
            ("text: page's file conversion", r["page_file_ms"]),
            ("text: proj4js + split/toFixed", r["proj4js_text_ms"])]
    for name, ms in rows:
        print(f"{name:36}{ms:10.0f}{ms * 1e6 / r['points']:10.0f}")
    print(f"proj4js / page, numbers: {r['proj4js_ms'] / r['geokern_ms']:.2f}x; "
          f"text: {r['proj4js_text_ms'] / r['page_file_ms']:.2f}x")
    print(f"largest difference between the two, numbers: {r['max_difference_m'] * 1000:.3f} mm")
    print(json.dumps(r))


main()
