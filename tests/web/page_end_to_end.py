#!/usr/bin/python3
"""The web site end to end, in a real browser.

    page_end_to_end.py CASE SITE NATIVE_BUILD OUTPUT

CASE is one of launcher, frames, escape, damaged. SITE is the folder
scripts/build-web made; NATIVE_BUILD a native build folder with kvor,
kvor-capture and the demo data it generated, which the page is compared
with. Each case serves the site from a static server of its own on a free
port of the loopback and drives Debian's Chromium, headless and drawing
WebGL 2 on the CPU, through chromedriver; both are stopped at the end. The
screenshots, frames and logs stay in OUTPUT. Exit status 77: skipped (no
browser, no driver or no native build).
"""

import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request
from pathlib import Path

SKIPPED = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
PART_ONE_FRAMES = 1500
PART_THREE_FRAMES_BEFORE_LAST = 5

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    webdriver = None


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, timeout, condition, interval=0.1):
    """The first true value of condition() within timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout} s")
        time.sleep(interval)


class Processes:
    """What a case starts, stopped by PID at its end."""

    def __init__(self):
        self.started = []

    def start(self, command, **options):
        process = subprocess.Popen(command, **options)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                os.kill(process.pid, signal.SIGTERM)
        for process in self.started:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.kill(process.pid, signal.SIGKILL)
                process.wait()


def serve(processes, folder):
    """A static server on a free port of the loopback; the site's address."""
    server = processes.start(
        ["/usr/bin/python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", str(folder)],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = server.stdout.readline()
    port = re.search(r" port (\d+)", line)
    check(port, f"the static server did not start: {line!r}")
    address = f"http://127.0.0.1:{port.group(1)}/"
    urllib.request.urlopen(address, timeout=10).close()
    return address


class Browser:
    """Headless Chromium with WebGL 2 on SwiftShader, through chromedriver."""

    def __init__(self, scratch):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in ("--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                         "--autoplay-policy=no-user-gesture-required", "--window-size=1000,860",
                         "--hide-scrollbars", f"--user-data-dir={scratch}/profile"):
            options.add_argument(argument)
        # The page's console is kept for the case's output.
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.service = Service(CHROMEDRIVER)
        self.driver = webdriver.Chrome(service=self.service, options=options)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            process = self.service.process
            if process is not None and process.poll() is None:
                os.kill(process.pid, signal.SIGKILL)

    def open(self, address):
        self.driver.get(address)

    def run(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def kvor(self, name):
        return self.run(f"return window.kvor.{name};")

    def find(self, selector):
        elements = self.driver.find_elements(By.CSS_SELECTOR, selector)
        return elements[0] if elements else None

    def find_all(self, selector):
        return self.driver.find_elements(By.CSS_SELECTOR, selector)

    def screenshot(self, path):
        self.driver.save_screenshot(str(path))

    def wait_for_launcher(self):
        return wait_for("the launcher's driver list", 30, lambda: self.find("#dialogs .window select option"))

    def launch(self):
        self.wait_for_launcher()
        button = next((b for b in self.find_all("#dialogs .window button") if b.text == "Launch"), None)
        check(button is not None, "the launcher has no Launch button")
        button.click()

    def press_escape(self):
        webdriver.ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()


def frame_count(scene):
    """A scene's frames: its lastFrame + 1, after the magic and the name."""
    data = scene.read_bytes()
    name_end = data.index(b"\0", 7)
    _, last = struct.unpack_from("<ii", data, name_end + 1)
    return last + 1


def png_from_data_url(url, path):
    import base64
    check(url and url.startswith("data:image/png;base64,"), f"framePNG() gave no PNG data URL: {str(url)[:40]}")
    path.write_bytes(base64.b64decode(url.split(",", 1)[1]))


def differing_share(first, second, difference):
    """The share of pixels where a channel differs by more than 10 % of its range."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", str(first), str(second), str(difference)],
                            capture_output=True, text=True)
    check(result.returncode in (0, 1), f"compare failed: {result.stderr}")
    return float(result.stderr.split()[0]) / (640 * 480)


def image_size(path):
    return subprocess.run(["identify", "-format", "%w %h", str(path)], capture_output=True, text=True,
                          check=True).stdout


class Case:
    def __init__(self, site, native, output, scratch, processes):
        self.site = site
        self.native = native
        self.datas = native / "demo" / "datas"
        self.output = output
        self.scratch = scratch
        self.processes = processes
        self.address = serve(processes, site)
        self.browser = Browser(scratch)

    def close(self):
        self.browser.quit()

    def native_folder(self, name, datas):
        """A folder for a native run: the data beside it, its log written there."""
        folder = self.scratch / name
        folder.mkdir()
        (folder / "datas").symlink_to(datas)
        return folder

    # ---- the launcher -------------------------------------------------------
    def launcher(self):
        self.browser.open(self.address)
        self.browser.wait_for_launcher()
        shown_at = self.browser.kvor("launcherShownAt")
        print(f"launcher shown {shown_at / 1000:.2f} s after the page's start")
        check(self.browser.kvor("state") == "launcher", "the page is not in its launcher state")
        self.browser.screenshot(self.output / "launcher.png")
        names = [option.text for option in self.browser.find_all("#dialogs .window select option")]
        print(f"drivers listed: {names}")
        check(len(names) >= 2, f"the launcher lists {names}, not the display and enhanced drivers")
        check(names == sorted(names), f"the driver list is not sorted: {names}")
        chosen = self.browser.run("return document.querySelector('#dialogs select').selectedOptions[0].text;")
        check("Enhanced" not in chosen, f"the list starts on {chosen}, not on the primary display driver")
        self.check_layout()

    def check_layout(self):
        """Every control where the template's dialog units put it, at one scale
        for each axis (a dialog unit is a quarter of the font's average width
        and an eighth of its height)."""
        template = launcher_template(Path(__file__).resolve().parents[2] / "app" / "kvor.rc")
        client = self.browser.run("""
            const client = document.querySelector('#dialogs .window .client').getBoundingClientRect();
            return [client.width, client.height].concat(
              [...document.querySelectorAll('#dialogs .window .client > *')].map((element) => {
                const box = element.getBoundingClientRect();
                return [box.left - client.left, box.top - client.top, box.width, box.height, element.textContent];
              }));""")
        width, height, controls = client[0], client[1], client[2:]
        check(len(controls) == len(template["items"]),
              f"{len(controls)} controls shown, the template has {len(template['items'])}")
        across, down = width / template["width"], height / template["height"]
        print(f"dialog: {width:.0f} x {height:.0f} px, {across * 4:.2f} x {down * 8:.2f} px per character")
        for (x, y, w, h, text), item in zip(controls, template["items"]):
            expected = [item["x"] * across, item["y"] * down, item["width"] * across]
            for measured, wanted, name in zip((x, y, w), expected, ("x", "y", "width")):
                check(abs(measured - wanted) <= 1.5,
                      f"{item['text'] or item['kind']}: {name} {measured:.1f} px, its units give {wanted:.1f}")
            if item["kind"] != "COMBOBOX":
                check(abs(h - item["height"] * down) <= 1.5,
                      f"{item['text']}: height {h:.1f} px, its units give {item['height'] * down:.1f}")
            check(item["text"] in text, f"control {text!r} is not the template's {item['text']!r}")

    # ---- a frame of each part -----------------------------------------------
    def frames(self):
        """A frame of each part, near the parts' boundaries so that the native
        capture writes few frames and the browser plays few: all three in one
        run of each, the browser keeping the first two as they are presented
        and holding the show at the third."""
        mont = frame_count(self.datas / "mont.kvs")
        part_three = PART_ONE_FRAMES + mont
        chosen = [PART_ONE_FRAMES - 20, PART_ONE_FRAMES + 20, part_three + 20]
        tool = self.native / "tools" / "capture" / "kvor-capture"
        native_frames = self.scratch / "native-frames"
        capture = self.processes.start(
            [str(tool), "--png", str(native_frames), "--frames", f"{chosen[0]}-{chosen[-1]}"],
            cwd=self.native_folder("capture", self.datas), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        started = time.monotonic()
        last = chosen[-1]
        self.browser.open(f"{self.address}?stop={last}&unpaced")
        self.browser.run("window.kvor.keepFrames(arguments[0]);", chosen[:-1])
        self.browser.launch()
        wait_for(f"the show held at frame {last}", 900, lambda: self.browser.kvor("state") == "held", 0.25)
        seconds = time.monotonic() - started
        frame = self.browser.kvor("frame")
        print(f"held after frame {last} {seconds:.1f} s after loading the page, unpaced")
        check(frame == last + 1, f"held with kvor.frame {frame}: frame {last} is the {last + 1}th presented")
        check(self.browser.kvor("player").get("condition") == "paused", "the music plays on while held")
        self.browser.screenshot(self.output / "held.png")
        pictures = [self.browser.run("return window.kvor.keptFrame(arguments[0]);", n) for n in chosen[:-1]]
        pictures.append(self.browser.run("return window.kvor.framePNG();"))
        _, errors = capture.communicate(timeout=300)
        check(capture.returncode == 0, f"kvor-capture --frames failed: {errors.decode()}")
        worst = 0.0
        for n, picture in zip(chosen, pictures):
            web = self.output / f"web-{n}.png"
            png_from_data_url(picture, web)
            check(image_size(web) == "640 480", f"frame {n} from the page is {image_size(web)}, not 640 x 480")
            native = self.output / f"native-{n}.png"
            shutil.copy(native_frames / f"frame-{n:06d}.png", native)
            share = differing_share(native, web, self.output / f"difference-{n}.png")
            worst = max(worst, share)
            print(f"frame {n}: {share * 100:.2f} % of the pixels differ from the native capture's")
            check(share <= FRAME_TOLERANCE, f"frame {n} differs from the native capture in {share * 100:.2f} % "
                  f"of its pixels (at most {FRAME_TOLERANCE * 100:.0f} % may): see {self.output}")
        print(f"worst frame: {worst * 100:.2f} % of the pixels differ")

    # ---- Escape, the fade, the status and the log ----------------------------
    def escape(self):
        native_log = self.start_native_null_show()
        self.browser.open(self.address)
        self.browser.launch()
        wait_for("the show's 60th frame", 60, lambda: (self.browser.kvor("frame") or 0) >= 60)
        check(self.browser.kvor("state") == "show", f"the page says {self.browser.kvor('state')} during the show")
        player = self.browser.kvor("player")
        check(player["condition"] == "playing", f"the music is {player['condition']} during the show")
        check(player["volume"] == 1.0, f"the music's volume is {player['volume']} during the show, not 1.0")
        wait_for("the music's position to move", 10, lambda: self.browser.kvor("player")["position"] > 0.2)
        self.browser.screenshot(self.output / "show.png")
        self.browser.press_escape()
        wait_for("the end of the program", 30, lambda: self.browser.kvor("state") == "ended", 0.25)
        self.browser.screenshot(self.output / "ended.png")
        code = self.browser.kvor("exitCode")
        check(code == 2, f"the program ended with {code}, not 2")
        ending = self.browser.find("#ending-text").text
        check("status 2" in ending, f"the page does not give the exit status: {ending!r}")
        check(self.browser.find("#log-text").text.strip() != "", "the page does not show the log after the end")
        self.check_fade(self.browser.kvor("player"))
        log = self.browser.run("return window.kvor.log();")
        (self.output / "web-kvorlog.txt").write_text(log)
        compare_logs(normalise_log(native_log()), normalise_log(log), self.output / "kvorlog.diff")

    def check_fade(self, player):
        """A hundred steps of 0.01 from 1 down to 0, over the fade's three seconds."""
        steps = player["volumes"]
        volumes = [round(volume, 6) for _, volume in steps]
        check(volumes == [round(1 - (n + 1) / 100, 6) for n in range(100)],
              f"the fade's volumes are not 0.99 down to 0 by 0.01: {volumes[:5]}...{volumes[-5:]}")
        span = (steps[-1][0] - steps[0][0]) / 1000
        print(f"fade: 100 steps from 0.99 to 0 over {span:.2f} s; the player is {player['condition']}")
        check(2.8 <= span <= 3.2, f"the fade took {span:.2f} s, not three seconds")
        check(player["condition"] == "closed", f"the player is {player['condition']} at the end, not closed")

    def start_native_null_show(self):
        """The native kvor on the null driver, its GTK launcher on a private
        Xvfb, "Launch" clicked: the show plays on while the browser plays its
        own. Gives what waits for its end and answers its log."""
        folder = self.native_folder("native-null", self.datas)
        display_pipe, display_end = os.pipe()
        self.processes.start(["Xvfb", "-displayfd", str(display_end), "-screen", "0", "1024x768x24", "-nolisten",
                              "tcp"], pass_fds=(display_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(display_end)
        with os.fdopen(display_pipe) as lines:
            display = ":" + lines.readline().strip()
        environment = dict(os.environ, DISPLAY=display, KVOR_DRIVER="null", NO_AT_BRIDGE="1",
                           DBUS_SESSION_BUS_ADDRESS="disabled:", XDG_RUNTIME_DIR=str(self.scratch))
        kvor = self.processes.start([str(self.native / "kvor")], cwd=folder, env=environment,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

        def launcher_window():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^kvor$"], env=environment,
                                   capture_output=True, text=True).stdout.split()
            return found[0] if found else None

        window = wait_for("the native launcher", 30, launcher_window)
        readings = [None]

        def settled_geometry():
            """The window's place and size once two readings in a row agree."""
            text = subprocess.run(["xwininfo", "-id", window], env=environment, capture_output=True,
                                  text=True).stdout
            now = [line for line in text.splitlines() if re.search(r"Absolute upper-left|^\s*(Width|Height):", line)]
            settled, readings[0] = now == readings[0], now
            return text if settled else None

        geometry = wait_for("the native launcher's place", 10, settled_geometry)
        number = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", geometry).group(1))
        x, y = number("Absolute upper-left X"), number("Absolute upper-left Y")
        width, height = number("Width"), number("Height")
        # "Launch" is at 86,70 to 123,84 of the 207 x 143 dialog units.
        subprocess.run(["xdotool", "mousemove", str(x + width * (86 + 37 / 2) // 207),
                        str(y + height * (70 + 7) // 143), "sleep", "0.3", "click", "1"], env=environment, check=True)

        def log():
            _, errors = kvor.communicate(timeout=180)
            check(kvor.returncode == 2, f"the native kvor ended with {kvor.returncode}: {errors.decode()}")
            text = (folder / "kvorlog.txt").read_text()
            (self.output / "native-null-kvorlog.txt").write_text(text)
            return text

        return log

    # ---- a damaged scene --------------------------------------------------
    def damaged(self):
        """The demo's data with mont.kvs cut short, packed into a copy of the
        site as scripts/build-web --datas packs a folder: the native capture
        and the page must stop on it the same way."""
        datas = self.scratch / "damaged-datas"
        shutil.copytree(self.datas, datas, ignore=shutil.ignore_patterns("*.wav"))
        scene = datas / "mont.kvs"
        scene.write_bytes(scene.read_bytes()[: scene.stat().st_size // 2])
        site = self.scratch / "damaged-site"
        site.mkdir()
        for entry in self.site.iterdir():
            if not entry.name.startswith("kvor-data."):
                (site / entry.name).symlink_to(entry)
        subprocess.run([sys.executable, "/usr/share/emscripten/tools/file_packager.py", str(site / "kvor-data.data"),
                        "--preload", f"{datas}@/datas", f"--js-output={site / 'kvor-data.js'}"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        folder = self.native_folder("native-damaged", datas)
        native = subprocess.run([str(self.native / "tools" / "capture" / "kvor-capture"), "--png",
                                 str(self.scratch / "damaged-frames"), "--frames", "0"], cwd=folder,
                                capture_output=True, text=True, timeout=120)
        check(native.returncode == 255, f"the native capture ended with {native.returncode} on the damaged scene")
        box = re.search(r"^error!: (.*)$", native.stderr, re.MULTILINE)
        check(box, f"the native capture showed no error! box: {native.stderr}")
        address = serve(self.processes, site)
        self.browser.open(address)
        self.browser.launch()
        shown = wait_for("the error! box", 60, lambda: self.browser.find("#boxes .window"))
        self.browser.screenshot(self.output / "damaged.png")
        caption = shown.find_element(By.CSS_SELECTOR, ".caption").text
        text = shown.find_element(By.CSS_SELECTOR, ".body .text").text
        check(caption == "error!", f"the box's caption is {caption!r}, not error!")
        check(text.strip() == box.group(1).strip(), f"the box says {text!r}, the native one {box.group(1)!r}")
        check(self.browser.kvor("state") != "ended", "the program ended before its box was answered")
        shown.find_element(By.CSS_SELECTOR, "button").click()
        wait_for("the end of the program", 30, lambda: self.browser.kvor("state") == "ended")
        code = self.browser.kvor("exitCode")
        check(code == 255, f"the program ended with {code}, not 255")
        web_log = self.browser.run("return window.kvor.log();")
        (self.output / "damaged-web-kvorlog.txt").write_text(web_log)
        native_log = (folder / "kvorlog.txt").read_text()
        (self.output / "damaged-native-kvorlog.txt").write_text(native_log)
        compare_logs(normalise_log(native_log), normalise_log(web_log), self.output / "damaged-kvorlog.diff")


# The browser's SwiftShader and the native build's Mesa llvmpipe run the same
# shaders but rasterise triangle edges and round the 16-bit colours each their
# own way: a pixel differs when a channel is off by more than 10 % of its
# range, and a frame matches when at most this share of its pixels do.
FRAME_TOLERANCE = 0.01


def launcher_template(script):
    """The launcher dialog's size and controls in dialog units, from kvor.rc."""
    text = script.read_text()
    block = re.search(r"IDD_LAUNCHER DIALOG \d+, \d+, (\d+), (\d+).*?BEGIN(.*?)END", text, re.DOTALL)
    items = []
    for line in block.group(3).strip().splitlines():
        kind, rest = line.split(None, 1)
        label = re.match(r'"([^"]*)",', rest)
        # After the text (if any) and the id: x, y, width, height.
        numbers = re.findall(r",\s*(-?\d+)", rest[label.end() - 1 if label else 0:])
        x, y, width, height = (int(n) for n in numbers[:4])
        items.append({"kind": kind, "text": label.group(1) if label else "", "x": x, "y": y,
                      "width": width, "height": height})
    return {"width": int(block.group(1)), "height": int(block.group(2)), "items": items}


def normalise_log(text):
    """The log without the lines that differ by platform, each for its reason:
    - the start line's time of day;
    - the driver enumeration up to the Direct3D set-up: the native layer lists
      its display drivers with the modes of its screen, the page its WebGL
      drivers with theirs; kvor-capture, which has no launcher, lists none
      and logs only the set-up's heading. The rest, from the DirectDraw
      set-up on (the null driver offers the display driver's texture
      formats), is the same line for line."""
    lines = text.replace("\r", "").split("\n")
    if lines:
        lines[0] = re.sub(r" at .*", "", lines[0])
    kept, skipping = [], False
    for line in lines:
        if line == "enumerating devices":
            skipping = True
        if not skipping and line != "Initialising Direct3d":
            kept.append(line)
        if line == "Initialising Direct3d":
            skipping = False
    return kept


def compare_logs(native, web, difference):
    import difflib
    changes = list(difflib.unified_diff(native, web, "native", "web", lineterm=""))
    difference.write_text("\n".join(changes) + "\n")
    check(not changes, "the logs differ beyond the drivers:\n" + "\n".join(changes[:40]))
    print(f"logs: {len(web)} lines the same once the drivers' own lines are left out")


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("launcher", "frames", "escape", "damaged"):
        print(__doc__, file=sys.stderr)
        return 2
    case_name, site, native, output = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4])
    if webdriver is None or not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
        print("page_end_to_end: no Chromium, chromedriver or python3-selenium: skipped", file=sys.stderr)
        return SKIPPED
    if not (native / "kvor").exists() or not (native / "demo" / "datas").is_dir():
        print(f"page_end_to_end: no native build with its demo data in {native}: skipped", file=sys.stderr)
        return SKIPPED
    if not (site / "index.html").exists() or not (site / "kvor.wasm").exists():
        print(f"page_end_to_end: no site in {site} (scripts/build-web makes it)", file=sys.stderr)
        return 1
    output = output / case_name
    shutil.rmtree(output, ignore_errors=True)
    output.mkdir(parents=True)
    processes = Processes()
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="kvor-page-") as scratch:
        case = None
        try:
            case = Case(site.resolve(), native.resolve(), output, Path(scratch), processes)
            getattr(case, case_name)()
        except Failure as failure:
            print(f"page_end_to_end {case_name}: {failure}", file=sys.stderr)
            return 1
        finally:
            if case is not None:
                case.close()
            processes.stop_all()
    print(f"page_end_to_end {case_name}: passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
