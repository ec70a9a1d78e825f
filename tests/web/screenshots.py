#!/usr/bin/python3
# screenshots.py <site> <folder>: every window of both tools in headless Chromium, photographed
# as <folder>/web-<tool>-<window>.png and checked as the Qt screenshots are: the client area is
# the template's size in dialog units, every control lies inside it, no text is cut by its box,
# the main window shows its white background, every picture is loaded at its own size, and a plot
# paints the channels it lists (the planning window's with a scan imported through the file picker).
import functools
import http.server
import os
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

HERE = os.path.dirname(os.path.abspath(__file__))
SCAN = os.path.join(HERE, "..", "data", "scan-levels.csv")

# How each window opens from the main window (after choosing the second model).
WINDOWS = {
    "ambrel": [("rf", "click", 1000), ("audio", "click", 1004), ("other", "click", 1005),
               ("channel", "click", 1006), ("convert", "menu", 32775), ("registers", "menu", 32776),
               ("planning", "menu", 32777), ("about", "menu", 32774)],
    "ostrel": [("sound", "click", 1000), ("audio", "click", 1004), ("other", "click", 1005),
               ("channel", "click", 1006), ("convert", "menu", 32775), ("registers", "menu", 32776),
               ("planning", "menu", 32777), ("about", "menu", 32774)],
}

# What the page shows of the top window: sizes, and the controls whose text or place is wrong.
CHECK = """
const frame = [...document.querySelectorAll('.lx-window')].pop();
const client = frame.querySelector('.lx-client');
const tpl = arguments[0];
const u = tpl.units;
const want = [Math.floor((tpl.cx * u.bx + 2) / 4), Math.floor((tpl.cy * u.by + 4) / 8)];
const box = client.getBoundingClientRect();
const problems = [];
if (Math.round(box.width) !== want[0] || Math.round(box.height) !== want[1])
  problems.push(`client ${box.width}x${box.height}, template ${want}`);
for (const c of client.querySelectorAll('.lx-control')) {
  if (c.style.display === 'none') continue;
  const r = c.getBoundingClientRect();
  if (r.left < box.left - 1 || r.top < box.top - 1 || r.right > box.right + 1 || r.bottom > box.bottom + 1)
    problems.push(`control ${c.dataset.id} (${c.dataset.kind}) outside the client area`);
  const text = c.querySelector('.lx-text') || (['button', 'label'].includes(c.dataset.kind) ? c : null);
  if (text && text.scrollWidth > text.clientWidth + 1 && c.dataset.kind !== 'label')
    problems.push(`control ${c.dataset.id} (${c.dataset.kind}) cuts its text`);
  for (const img of c.querySelectorAll('img'))
    if (img.getAttribute('src') && !(img.complete && img.naturalWidth > 0))
      problems.push(`control ${c.dataset.id}: picture ${img.getAttribute('src')} not shown`);
  // A plot paints the channels it lists, in their colour.
  if (c.dataset.kind === 'plot' && /channel CH/.test(c.textContent)) {
    const g = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let green = false;
    for (let i = 0; i < g.length && !green; i += 4) green = g[i] === 0x1E && g[i + 1] === 0x7B && g[i + 2] === 0x34;
    if (!green) problems.push(`control ${c.dataset.id}: plot lists channels but paints none`);
  }
}
return problems;
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def main(site, folder):
    if not os.path.isfile(os.path.join(site, "lxtools.wasm")):
        print(f"no site in {site} (scripts/build-web.sh builds it): skipped")
        return 77
    os.makedirs(folder, exist_ok=True)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--window-size=1280,900",
              "--force-device-scale-factor=1"):
        o.add_argument(a)
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    problems = []

    def top_template():
        return d.execute_script("const w = LxPage.topWindow(); return {cx: w.tpl.cx, cy: w.tpl.cy, units: w.units};")

    def plan_with_scan(name):
        # As the other hosts' pictures show it: a spacing of 320 kHz (two channels in conflict)
        # and a scan imported through the page's file picker.
        win = d.find_elements(By.CSS_SELECTOR, ".lx-window")[-1]
        box = win.find_element(By.CSS_SELECTOR, '.lx-control[data-id="1002"]')
        box.click()
        box.send_keys(Keys.CONTROL, "a")
        box.send_keys("320", Keys.TAB)
        d.execute_cdp_cmd("Page.setInterceptFileChooserDialog", {"enabled": True})  # no native picker
        win.find_element(By.CSS_SELECTOR, '.lx-control[data-id="1008"]').click()
        WebDriverWait(d, 10).until(lambda x: x.find_elements(By.CSS_SELECTOR, "input.lx-file-input"))
        d.find_element(By.CSS_SELECTOR, "input.lx-file-input").send_keys(os.path.abspath(SCAN))
        try:
            WebDriverWait(d, 10).until(lambda x: "trace " in x.execute_script(
                "return [...document.querySelectorAll('canvas.lx-plot')].pop().textContent"))
        except TimeoutException:
            problems.append(f"{name}: the imported scan is not drawn")

    def shoot(name):
        time.sleep(0.3)  # pictures decoded and painted
        found = d.execute_script(CHECK, top_template())
        problems.extend(f"{name}: {p}" for p in found)
        d.find_elements(By.CSS_SELECTOR, ".lx-window")[-1].screenshot(os.path.join(folder, f"web-{name}.png"))

    try:
        for tool, windows in WINDOWS.items():
            d.get(f"http://127.0.0.1:{server.server_address[1]}/{tool}.html")
            WebDriverWait(d, 30).until(lambda x: x.execute_script(
                "return typeof LxPage !== 'undefined' && LxPage.windowsOpen().length === 1"))
            main_id = d.execute_script("return LxPage.windowsOpen()[0]")
            d.find_element(By.CSS_SELECTOR, f'.lx-window[data-window="{main_id}"] .lx-control[data-id="1003"]').click()
            time.sleep(0.2)
            shoot(f"{tool}-main")
            white = d.execute_script("""
              const c = document.querySelector('.lx-window .lx-client');
              return getComputedStyle(c).backgroundImage !== 'none';""")
            if not white:
                problems.append(f"{tool}-main: no background picture")
            for name, how, what in windows:
                if how == "click":
                    d.find_element(By.CSS_SELECTOR,
                                   f'.lx-window[data-window="{main_id}"] .lx-control[data-id="{what}"]').click()
                else:
                    d.execute_script(f"document.querySelector('.lx-menu-item[data-command=\"{what}\"]')"
                                     ".dispatchEvent(new MouseEvent('mouseup', {bubbles: true}));")
                WebDriverWait(d, 10).until(lambda x: x.execute_script("return LxPage.windowsOpen().length === 2"))
                if name == "planning":
                    plan_with_scan(f"{tool}-{name}")
                shoot(f"{tool}-{name}")
                d.find_elements(By.CSS_SELECTOR, ".lx-window")[-1].find_element(By.CSS_SELECTOR, ".lx-close").click()
                WebDriverWait(d, 10).until(lambda x: x.execute_script("return LxPage.windowsOpen().length === 1"))
        problems += [f"page: {e['message']}" for e in d.get_log("browser")
                     if e["level"] == "SEVERE" and "ServiceWorker" not in e["message"]]
    finally:
        d.quit()
        server.shutdown()
    for p in problems:
        print("FAIL:", p)
    print(f"{sum(len(w) + 1 for w in WINDOWS.values())} windows photographed in {folder}")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: screenshots.py <site> <folder>")
    sys.exit(main(sys.argv[1], sys.argv[2]))
