#!/usr/bin/python3
# web_budgets.py <site> [rounds]: the browser tools' budgets, in headless Chromium from a local
# server: transfer size (page, styles, scripts, module, default images, font; gzip) ≤ 1.5 MB,
# cold load (empty cache) to the main window painted ≤ 500 ms (median), and every dialog the
# main windows open shown within 16 ms of the click (median). Exits 1 when one is missed.
# The load on the machine is printed beside the figures: other work inflates them.
import functools
import gzip
import http.server
import os
import statistics
import sys
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

PAGE_FILES = ["ambrel.html", "lx.css", "lx-plot.js", "lx-host.js", "lx-start.js", "lxtools.js", "lxtools.wasm", "lxtools.data",
              "lxfont.woff2"]
# Per tool: what opens each dialog (a control to click after choosing the second model, or a
# menu command).
DIALOGS = [("click", 1004), ("click", 1005), ("click", 1006), ("click", 1000),
           ("menu", 32775), ("menu", 32776), ("menu", 32774)]

# Time from the input to the dialog shown: its window built, initialised and laid out, and the
# program waiting for the next input (the frame's paint follows at the display's next refresh).
PROBE = """
window.lxTimes = [];
LxPage.onIdle = () => {
  if (window.lxInputAt === undefined || LxPage.windowsOpen().length !== 2) return;
  document.body.offsetHeight;  // layout done
  window.lxTimes.push(performance.now() - window.lxInputAt);
  window.lxInputAt = undefined;
};
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def driver():
    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--window-size=1280,900"):
        o.add_argument(a)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)


def verdict(name, value, limit, unit):
    ok = value <= limit
    print(f"{name:<44} {value:9.1f} {unit:<3} (budget {limit} {unit}) {'ok' if ok else 'OVER'}")
    return ok


def main(site, rounds):
    print(f"{os.cpu_count()} cores, load {open('/proc/loadavg').read().split()[0]}, {rounds} rounds")
    ok = True
    total = 0
    for f in PAGE_FILES:
        with open(os.path.join(site, f), "rb") as fh:
            total += len(gzip.compress(fh.read(), 9))
    ok &= verdict("transfer, gzip", total / 1e6, 1.5, "MB")

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"
    d = driver()
    try:
        loads = []
        d.execute_cdp_cmd("Network.enable", {})
        d.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
        for _ in range(rounds):
            d.execute_cdp_cmd("Network.clearBrowserCache", {})
            d.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
            d.get(f"{base}/ambrel.html")
            WebDriverWait(d, 30).until(lambda x: x.execute_script(
                "return typeof LxPage !== 'undefined' && LxPage.windowsOpen().length === 1"))
            loads.append(d.execute_script(
                "return new Promise((r) => requestAnimationFrame(() => r(performance.now())))"))
        ok &= verdict("cold load to the main window painted", statistics.median(loads), 500, "ms")
        d.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": False})
        worst = 0
        for tool in ("ambrel", "ostrel"):
            d.get(f"{base}/{tool}.html")
            WebDriverWait(d, 30).until(lambda x: x.execute_script(
                "return typeof LxPage !== 'undefined' && LxPage.windowsOpen().length === 1"))
            d.execute_script(PROBE)
            main_id = d.execute_script("return LxPage.windowsOpen()[0]")
            d.find_element(By.CSS_SELECTOR, f'.lx-window[data-window="{main_id}"] .lx-control[data-id="1003"]').click()
            for how, what in DIALOGS:
                times = []
                for _ in range(rounds):
                    d.execute_script("window.lxTimes = [];")
                    if how == "click":
                        el = d.find_element(By.CSS_SELECTOR,
                                            f'.lx-window[data-window="{main_id}"] .lx-control[data-id="{what}"]')
                        d.execute_script("window.lxInputAt = performance.now(); arguments[0].click();", el)
                    else:
                        d.execute_script("window.lxInputAt = performance.now();"
                                         f"document.querySelector('.lx-menu-item[data-command=\"{what}\"]')"
                                         ".dispatchEvent(new MouseEvent('mouseup', {bubbles: true}));")
                    WebDriverWait(d, 10).until(lambda x: x.execute_script(
                        "return LxPage.windowsOpen().length === 2 && window.lxTimes.length === 1"))
                    times.append(d.execute_script("return window.lxTimes[0]"))
                    d.find_element(By.CSS_SELECTOR, ".lx-window:last-of-type .lx-close").click()
                    WebDriverWait(d, 10).until(lambda x: x.execute_script("return LxPage.windowsOpen().length === 1"))
                median = statistics.median(times)
                worst = max(worst, median)
                print(f"  {tool} {how} {what}: {median:.1f} ms")
        ok &= verdict("slowest dialog, click to shown", worst, 16, "ms")
    finally:
        d.quit()
        server.shutdown()
    return 0 if ok else 1


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: web_budgets.py <site> [rounds]")
    sys.exit(main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 5))
