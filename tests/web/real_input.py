#!/usr/bin/python3
# real_input.py <site> <uiscenario> <work folder> [<screenshot folder>]
# Ambrel in headless Chromium driven as a visitor drives it, with no script engine: LX7250
# chosen with the mouse, 音频配置 opened by its picture button, a microphone sensitivity chosen
# with the keyboard in its list, OK, then 文件 > 保存 through the menu (the browser's download,
# under the name the save dialog proposes). The header saved must be byte for byte the one the
# headless host saves for the same steps. Then the keyboard's open list: F4 drops the list,
# Down and Escape close only the list (the window stays; before, the arrow's click opens it and
# a click beside it only closes it), F4, Down, Enter, OK and 文件 > 保存
# save the header the headless host saves, whose word is the item the field showed; and the
# menu bar's keys: F10, Right, Enter, Enter open 查看 > 寄存器. Each window, the open list and
# the highlighted menu are photographed on the way. Last, the LX7240 default header dropped on
# the page must open as 文件 > 打开 opens it: LX7240 chosen.
import functools
import http.server
import os
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# The same steps for the headless host.
HEADLESS_SCRIPT = """click 1003
click 1004
click 1008
press down
press down
click 1
command 32772
file EEPROM.h
close
"""
# Then, on the image those steps left, the open list's.
OPEN_LIST_SCRIPT = HEADLESS_SCRIPT.replace("close\n", "") + """click 1004
focus 1008
press f4
press down
press escape
press f4
press down
press enter
show
click 1
command 32772
file EEPROM.h
close
"""


# A file dragged from the file manager and dropped on the main window.
DROP = """
const [name, text] = arguments;
const data = new DataTransfer();
data.items.add(new File([text], name));
document.querySelector('.lx-client').dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true}));
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def control(driver, window_id, control_id, inner=""):
    return driver.find_element(
        By.CSS_SELECTOR, f'.lx-window[data-window="{window_id}"] .lx-control[data-id="{control_id}"] {inner}'.strip())


def windows(driver):
    return driver.execute_script("return LxPage.windowsOpen()")


def wait_windows(driver, count):
    WebDriverWait(driver, 30).until(lambda d: len(windows(d)) == count)
    return windows(driver)


def keys(driver, *pressed):
    for key in pressed:
        ActionChains(driver).send_keys(key).perform()
        time.sleep(0.1)  # each key taken before the next, as a hand gives them


def dropped(driver, window_id, control_id):
    return control(driver, window_id, control_id, ".lx-combo-list").is_displayed()


def downloaded(folder, name):
    saved = os.path.join(folder, name)
    for _ in range(100):
        if os.path.exists(saved) and not any(n.endswith(".crdownload") for n in os.listdir(folder)):
            with open(saved, "rb") as f:
                data = f.read()
            os.remove(saved)  # the next download keeps the name
            return data
        time.sleep(0.1)
    return None


def save_from_menu(driver):
    menu = [e for e in driver.find_elements(By.CSS_SELECTOR, ".lx-menu-entry") if e.text.startswith("文件")][0]
    menu.click()
    driver.find_element(By.CSS_SELECTOR, '.lx-menu-item[data-command="32772"]').click()


def headless_header(uiscenario, work, script):
    run = subprocess.run([uiscenario, "ambrel", work, "-"], input=script.encode(), capture_output=True)
    if run.returncode != 0:
        return None, "the headless run failed:\n" + run.stdout.decode()
    with open(os.path.join(work, "EEPROM.h"), "rb") as f:
        return f.read(), run.stdout.decode()


def photograph(driver, folder, window_id, name):
    if not folder:
        return
    time.sleep(0.2)
    frame = driver.find_element(By.CSS_SELECTOR, f'.lx-window[data-window="{window_id}"]')
    frame.screenshot(os.path.join(folder, f"web-{name}.png"))


def main(site, uiscenario, work, shots):
    if not os.path.isfile(os.path.join(site, "lxtools.wasm")):
        print(f"no site in {site} (scripts/build-web.sh builds it): skipped")
        return 77
    downloads = os.path.join(work, "downloads")
    headless = os.path.join(work, "headless")
    os.makedirs(downloads, exist_ok=True)
    if shots:
        os.makedirs(shots, exist_ok=True)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--window-size=1280,900"):
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/ambrel.html")
        # The download under the proposed name, not the system's save picker, which a headless
        # browser cannot answer.
        driver.execute_script("delete window.showSaveFilePicker; window.showSaveFilePicker = undefined;")
        main_id = wait_windows(driver, 1)[0]
        photograph(driver, shots, main_id, "ambrel-main")
        control(driver, main_id, 1003).click()
        control(driver, main_id, 1004).click()
        audio_id = wait_windows(driver, 2)[1]
        control(driver, audio_id, 1008, ".lx-combo-edit").click()
        ActionChains(driver).send_keys(Keys.ARROW_DOWN).send_keys(Keys.ARROW_DOWN).perform()
        photograph(driver, shots, audio_id, "ambrel-audio")
        control(driver, audio_id, 1).click()
        wait_windows(driver, 1)
        save_from_menu(driver)
        browser = downloaded(downloads, "EEPROM.h")
        if browser is None:
            print("FAIL: nothing was downloaded as EEPROM.h")
            return 1

        # The open list from the keyboard.
        control(driver, main_id, 1004).click()
        audio_id = wait_windows(driver, 2)[1]
        # The arrow opens the list; a click beside it only closes it, the radio button untouched.
        control(driver, audio_id, 1008, ".lx-combo-drop").click()
        radio = control(driver, audio_id, 1003).get_attribute("class")
        opened_by_mouse = dropped(driver, audio_id, 1008)
        control(driver, audio_id, 1003).click()
        if not opened_by_mouse or dropped(driver, audio_id, 1008) or \
                control(driver, audio_id, 1003).get_attribute("class") != radio:
            print("FAIL: the list's arrow, then a click beside the open list, did not only open and close it")
            return 1
        control(driver, audio_id, 1008, ".lx-combo-edit").click()
        keys(driver, Keys.F4)
        if not dropped(driver, audio_id, 1008):
            print("FAIL: F4 did not open the list")
            return 1
        keys(driver, Keys.ARROW_DOWN)
        photograph(driver, shots, audio_id, "ambrel-open-list")
        keys(driver, Keys.ESCAPE)
        if len(windows(driver)) != 2 or dropped(driver, audio_id, 1008):
            print("FAIL: Escape in the open list did not close only the list")
            return 1
        keys(driver, Keys.F4, Keys.ARROW_DOWN, Keys.ENTER)
        if len(windows(driver)) != 2 or dropped(driver, audio_id, 1008):
            print("FAIL: Enter in the open list did not close only the list")
            return 1
        shown = control(driver, audio_id, 1008, ".lx-combo-edit").get_attribute("value")
        control(driver, audio_id, 1).click()
        wait_windows(driver, 1)
        save_from_menu(driver)
        open_list = downloaded(downloads, "EEPROM.h")
        if open_list is None:
            print("FAIL: nothing was downloaded as EEPROM.h after the open list")
            return 1

        # The menu bar from the keyboard: F10, Right, Enter, Enter run 查看 > 寄存器.
        keys(driver, Keys.F10)
        photograph(driver, shots, main_id, "ambrel-menu-highlighted")
        keys(driver, Keys.ARROW_RIGHT, Keys.ENTER)
        photograph(driver, shots, main_id, "ambrel-menu-open")
        keys(driver, Keys.ENTER)
        opened = wait_windows(driver, 2)
        caption = driver.find_element(By.CSS_SELECTOR, f'.lx-window[data-window="{opened[1]}"] .lx-caption-text').text
        if "寄存器" not in caption:
            print(f"FAIL: F10, Right, Enter, Enter opened {caption!r}, not the register window")
            return 1
        keys(driver, Keys.ESCAPE)
        wait_windows(driver, 1)

        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "Data", "LX7240",
                               "EEPROM.h"), encoding="utf-8") as f:
            driver.execute_script(DROP, "EEPROM.h", f.read())
        WebDriverWait(driver, 10).until(
            lambda d: "lx-checked" in control(d, main_id, 1001).get_attribute("class").split())
        errors = [e for e in driver.get_log("browser")
                  if e["level"] == "SEVERE" and "ServiceWorker" not in e["message"]]
        if errors:
            print("FAIL: the page reported errors:", *errors, sep="\n  ")
            return 1
    finally:
        driver.quit()
        server.shutdown()
    reference, transcript = headless_header(uiscenario, headless, HEADLESS_SCRIPT)
    if reference is None:
        print("FAIL: " + transcript)
        return 1
    if browser != reference:
        print("FAIL: the browser saved another header than the headless host")
        return 1
    reference, transcript = headless_header(uiscenario, os.path.join(work, "headless-open-list"), OPEN_LIST_SCRIPT)
    if reference is None:
        print("FAIL: " + transcript)
        return 1
    if f'1008 combo "{shown}"' not in transcript:
        print(f"FAIL: the browser's list showed {shown!r}; the headless host's run:\n{transcript}")
        return 1
    if open_list != reference:
        print("FAIL: after the open list the browser saved another header than the headless host")
        return 1
    print(f"the browser saved the headless host's headers ({len(browser)} bytes; {shown} from the open list)")
    return 0


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit("usage: real_input.py <site> <uiscenario> <work folder> [<screenshot folder>]")
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] if len(sys.argv) == 5 else None))
