#!/usr/bin/python3
# offline.py <site>: the site from a plain static server, then without it. After one visit of the
# choice of tools the service worker holds every file of the site, so that Ostrel's page, never
# visited, starts its main window once the server is gone.
import functools
import http.server
import os
import sys
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def main(site):
    if not os.path.isfile(os.path.join(site, "lxtools.wasm")):
        print(f"no site in {site} (scripts/build-web.sh builds it): skipped")
        return 77
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"):
        o.add_argument(a)
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    try:
        d.get(f"http://127.0.0.1:{port}/index.html")
        # Installed once every file is stored; the page is controlled from its next load.
        d.set_script_timeout(60)
        d.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        d.refresh()
        WebDriverWait(d, 30).until(lambda x: x.execute_script("return !!navigator.serviceWorker.controller"))
        server.shutdown()
        server.server_close()
        d.get(f"http://127.0.0.1:{port}/ostrel.html")
        WebDriverWait(d, 30).until(lambda x: x.execute_script(
            "return typeof LxPage !== 'undefined' && LxPage.windowsOpen().length === 1"))
        caption = d.execute_script("return LxPage.topWindow().caption")
    except Exception as e:  # noqa: BLE001 - any failure of the page is the test's failure
        print(f"FAIL: {type(e).__name__}: {e}")
        return 1
    finally:
        d.quit()
    print(f"offline, Ostrel's page started its main window \"{caption}\"")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: offline.py <site>")
    sys.exit(main(sys.argv[1]))
