#!/usr/bin/python3
"""The web site end to end, in a real browser.

    page_end_to_end.py [--plain-server] CASE SITE NATIVE_BUILD OUTPUT

CASE is one of the Case methods listed in CASES. SITE is the folder
scripts/build-web made; NATIVE_BUILD a native build folder with kvor,
kvor-capture and the demo data it generated, which the page is compared
with (the cases that compare with it). Each case serves the site with the
site's own server (scripts/serve-web) on a free port of the loopback and
drives Debian's Chromium, headless and drawing WebGL 2 on the CPU, through
chromedriver; both are stopped at the end. The screenshots, frames and logs
stay in OUTPUT. --plain-server serves it with Python's http.server instead,
as the least a static host does (no compressed copies, no byte ranges), as
the release's web archive is checked. Exit status 77: skipped (no browser, no driver or no native
build).
"""

import gzip
import json
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import urllib.error
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


SCRIPTS = Path(__file__).resolve().parents[2] / "scripts"
SERVER = SCRIPTS / "serve-web"


# Set by --plain-server.
plain_server = False


def server_command(folder, port):
    if plain_server:
        # Unbuffered: its first line, the address, is read through a pipe.
        return [sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", str(folder),
                str(port)]
    return [str(SERVER), "--port", str(port), str(folder)]


def serve(processes, folder, port=0):
    """The site's server on a free port of the loopback (or the one given);
    the site's address and the server's process."""
    server = processes.start(server_command(folder, port),
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = server.stdout.readline()
    address = re.search(r"http://127\.0\.0\.1:\d+/", line)
    check(address, f"the site's server did not start: {line!r}")
    urllib.request.urlopen(address.group(0), timeout=10).close()
    return address.group(0), server


class Browser:
    """Headless Chromium with WebGL 2 on SwiftShader, through chromedriver."""

    def __init__(self, scratch, extra=()):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in ("--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                         "--autoplay-policy=no-user-gesture-required", "--window-size=1000,860",
                         "--hide-scrollbars", f"--user-data-dir={scratch}/profile", *extra):
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
        self.launch_button().click()

    def press_escape(self):
        webdriver.ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()

    def devtools(self, command, parameters=None):
        return self.driver.execute_cdp_cmd(command, parameters or {})

    def slow_network(self, megabits, latency_ms):
        self.devtools("Network.enable")
        rate = megabits * 1e6 / 8
        self.devtools("Network.emulateNetworkConditions", {"offline": False, "latency": latency_ms,
                                                           "downloadThroughput": rate, "uploadThroughput": rate})

    def view_size(self, width, height, mobile):
        """The page as a screen of width x height CSS pixels shows it (a phone's: touch, mobile)."""
        self.devtools("Emulation.setDeviceMetricsOverride", {"width": width, "height": height,
                                                             "deviceScaleFactor": 1, "mobile": mobile})
        self.devtools("Emulation.setTouchEmulationEnabled", {"enabled": mobile, "maxTouchPoints": 5})

    def tap(self, element):
        """A finger's tap at the element's middle, through DevTools touch events."""
        box = self.run("const b = arguments[0].getBoundingClientRect();"
                       "return [b.left + b.width / 2, b.top + b.height / 2];", element)
        point = [{"x": box[0], "y": box[1]}]
        self.devtools("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": point})
        self.devtools("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def press(self, keys):
        """The last of keys pressed while the ones before it are held."""
        chain = webdriver.ActionChains(self.driver)
        for key in keys[:-1]:
            chain.key_down(key)
        chain.send_keys(keys[-1])
        for key in keys[:-1]:
            chain.key_up(key)
        chain.perform()

    def launch_button(self):
        self.wait_for_launcher()
        button = next((b for b in self.find_all("#dialogs .window button") if b.text == "Launch"), None)
        check(button is not None, "the launcher has no Launch button")
        return button


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
    def __init__(self, name, site, native, output, scratch, processes):
        self.site = site
        self.native = native
        self.datas = native / "demo" / "datas"
        self.output = output
        self.scratch = scratch
        self.processes = processes
        self.address, self.server = serve(processes, site)
        self.browser = Browser(scratch, BROWSER_ARGUMENTS.get(name, []))

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
        """A frame of each part, near the parts' boundaries, reached the way a
        person reaches them: the address starts the show at the first
        (?frame=), it plays on to the second, and a jump takes it near the
        third, where ?stop= holds it. The page keeps each as it is presented."""
        mont = frame_count(self.datas / "mont.kvs")
        part_three = PART_ONE_FRAMES + mont
        chosen = [PART_ONE_FRAMES - 20, PART_ONE_FRAMES + 20, part_three + 20]
        native = self.native_frames(chosen)
        started = time.monotonic()
        last = chosen[-1]
        self.browser.open(f"{self.address}?frame={chosen[0]}&stop={last}")
        self.browser.run("window.kvor.keepFrames(arguments[0]);", chosen[:-1])
        self.browser.launch()
        self.wait_for_kept(chosen[0])
        self.wait_for_kept(chosen[1])
        self.browser.run("window.kvor.seek(arguments[0]);", last - 10)
        wait_for(f"the show held at frame {last}", 60, lambda: self.browser.kvor("state") == "held", 0.1)
        seconds = time.monotonic() - started
        frame = self.browser.kvor("frame")
        print(f"held after frame {last} {seconds:.1f} s after loading the page")
        check(frame == last + 1, f"held with kvor.frame {frame}: frame {last} is the {last + 1}th of the show")
        check(self.browser.kvor("player")["condition"] == "paused", "the music plays on while held")
        self.browser.screenshot(self.output / "held.png")
        pictures = [self.browser.run("return window.kvor.keptFrame(arguments[0]);", n) for n in chosen[:-1]]
        pictures.append(self.browser.run("return window.kvor.framePNG();"))
        self.compare_frames(native, zip(chosen, pictures))

    def wait_for_kept(self, frame):
        return wait_for(f"frame {frame} presented", 60,
                        lambda: self.browser.run("return window.kvor.keptFrame(arguments[0]);", frame), 0.05)

    def native_frames(self, frames):
        """kvor-capture --frames N of the native build for each frame, started
        now (one process each, the show's logic run up to N without drawing);
        the PNG of a frame, once its capture is done."""
        tool = self.native / "tools" / "capture" / "kvor-capture"
        captures = {}
        for n in frames:
            folder = self.native_folder(f"capture-{n}", self.datas)
            captures[n] = (folder / "frames", self.processes.start(
                [str(tool), "--png", "frames", "--frames", str(n)], cwd=folder,
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE))

        def png(n):
            folder, capture = captures[n]
            _, errors = capture.communicate(timeout=300)
            check(capture.returncode == 0, f"kvor-capture --frames {n} failed: {errors.decode()}")
            return folder / f"frame-{n:06d}.png"
        return png

    def compare_frames(self, native, pictures):
        """Each (frame, PNG data URL) from the page against the native capture's."""
        worst = 0.0
        for n, picture in pictures:
            web = self.output / f"web-{n}.png"
            png_from_data_url(picture, web)
            check(image_size(web) == "640 480", f"frame {n} from the page is {image_size(web)}, not 640 x 480")
            native_png = self.output / f"native-{n}.png"
            shutil.copy(native(n), native_png)
            share = differing_share(native_png, web, self.output / f"difference-{n}.png")
            worst = max(worst, share)
            print(f"frame {n}: {share * 100:.2f} % of the pixels differ from the native capture's")
            check(share <= FRAME_TOLERANCE, f"frame {n} differs from the native capture in {share * 100:.2f} % "
                  f"of its pixels (at most {FRAME_TOLERANCE * 100:.0f} % may): see {self.output}")
        print(f"worst frame: {worst * 100:.2f} % of the pixels differ")

    def check_music_at(self, frame):
        """The paused show's music at the show's moment: frame / 60 s."""
        player = self.browser.kvor("player")
        wanted = min(frame / FRAMES_PER_SECOND, player["duration"])
        check(abs(player["position"] - wanted) <= MUSIC_TOLERANCE,
              f"the music is at {player['position']:.2f} s, the show's frame {frame} at {wanted:.2f} s")

    # ---- the timeline -----------------------------------------------------------
    def timeline(self):
        """?t= starts the show there with its music; Space pauses; the arrows
        move a second, with Shift a frame; a click on the seek bar jumps and a
        finger dragging it is followed; each lands on the native capture's
        frame, and the music follows."""
        start = 25 * FRAMES_PER_SECOND
        self.browser.open(f"{self.address}?t=25")
        self.browser.run("window.kvor.keepFrames(arguments[0]);", [0, start - 1, start])
        self.browser.launch()
        first = self.wait_for_kept(start)
        check(not any(self.browser.run("return window.kvor.keptFrame(arguments[0]);", n) for n in (0, start - 1)),
              "the show played frames before the one ?t= names")
        parts = self.browser.kvor("parts")
        print(f"parts begin on frames {parts[:-1]}, the show has {parts[-1]}")
        check(len(parts) == 4 and parts[0] == 0 and parts[1] == PART_ONE_FRAMES, f"the show's parts: {parts}")
        segments = self.browser.run("return [...document.querySelectorAll('#parts span')].map("
                                    "(s) => s.getBoundingClientRect().width);")
        bar = self.browser.find("#seek")
        width = bar.size["width"]
        check(len(segments) == 3 and all(abs(segments[k] - width * (parts[k + 1] - parts[k]) / parts[-1]) <= 2
                                        for k in range(3)), f"the parts under the bar: {segments} of {width} px")
        keys = webdriver.ActionChains(self.browser.driver)
        keys.send_keys(Keys.SPACE).perform()
        wait_for("Space to pause the show", 10, lambda: self.browser.kvor("paused"))
        shown = self.shown_frame()
        self.check_music_at(shown)
        label = self.browser.run("return document.getElementById('player-state').textContent;")
        check(label == "paused", f"the player says {label!r} while the show is paused")
        moves = [((Keys.ARROW_RIGHT,), FRAMES_PER_SECOND), ((Keys.SHIFT, Keys.ARROW_RIGHT), 1),
                 ((Keys.ARROW_LEFT,), -FRAMES_PER_SECOND), ((Keys.SHIFT, Keys.ARROW_LEFT), -1)]
        for pressed, step in moves:
            target = shown + step
            self.browser.press(pressed)
            wait_for(f"{'+'.join(k.encode('unicode_escape').decode() for k in pressed)} to show frame {target}",
                     10, lambda: self.shown_frame() == target, 0.05)
            check(self.browser.kvor("paused"), "a key let the paused show go on")
            self.check_music_at(target)
            shown = target
        clicked = self.click_seek_bar(0.75)
        native = self.native_frames([start, clicked])
        self.browser.screenshot(self.output / "seek-clicked.png")
        click_picture = self.browser.run("return window.kvor.framePNG();")
        self.check_music_at(clicked)
        self.drag_seek_bar([0.2, 0.4, 0.6])
        self.browser.screenshot(self.output / "seek-dragged.png")
        self.browser.run("window.kvor.seek(arguments[0]);", parts[-1] + 1000)
        wait_for("a seek beyond the end to show the last frame", 10,
                 lambda: self.shown_frame() == parts[-1] - 1, 0.05)
        check(self.browser.kvor("state") == "show", "a seek beyond the end ended the show")
        keys.send_keys(Keys.HOME).perform()
        wait_for("Home to show the first frame", 10, lambda: self.shown_frame() == 0, 0.05)
        shown = 0
        keys.send_keys(Keys.SPACE).perform()
        wait_for("frames after Space again", 10, lambda: self.shown_frame() > shown + 5)
        self.compare_frames(native, [(start, first), (clicked, click_picture)])

    def shown_frame(self):
        return self.browser.kvor("frame") - 1

    def seek_target(self, share):
        """The frame the seek bar says once moved to share of its width,
        checked to lie there (its thumb's width aside)."""
        value, last = self.browser.run("const s = document.getElementById('seek');"
                                       "return [Number(s.value), Number(s.max)];")
        check(abs(value - share * last) <= SEEK_SLACK * last, f"the seek bar at {share:.0%} says {value} of {last}")
        return value

    def click_seek_bar(self, share):
        """A click at share of the seek bar's width: the paused show shows the frame there."""
        bar = self.browser.find("#seek")
        before = self.shown_frame()
        webdriver.ActionChains(self.browser.driver).move_to_element_with_offset(
            bar, int(bar.size["width"] * (share - 0.5)), 0).click().perform()
        landed = wait_for("a click on the seek bar to jump", 10,
                          lambda: self.shown_frame() != before and self.shown_frame(), 0.05)
        target = self.seek_target(share)
        print(f"a click at {share:.0%} of the seek bar: frame {landed} (the bar's {target})")
        check(landed == target, f"a click at {share:.0%} landed on frame {landed}, not on the bar's {target}")
        check(self.browser.kvor("paused"), "a click on the seek bar let the paused show go on")
        return landed

    def drag_seek_bar(self, shares):
        """A finger put on the seek bar at the first share of its width and
        moved through the others: the show follows it at each."""
        self.browser.devtools("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        box = self.browser.run("const b = document.getElementById('seek').getBoundingClientRect();"
                               "return [b.left, b.top + b.height / 2, b.width];")
        kinds = ["touchStart"] + ["touchMove"] * (len(shares) - 1)
        for kind, share in zip(kinds, shares):
            point = {"x": box[0] + box[2] * share, "y": box[1]}
            self.browser.devtools("Input.dispatchTouchEvent", {"type": kind, "touchPoints": [point]})
            landed = wait_for(f"the show to follow the finger to {share:.0%} of the seek bar", 10,
                              lambda: self.shown_frame() == self.seek_target(share) and self.shown_frame(), 0.05)
            print(f"a finger at {share:.0%} of the seek bar: frame {landed}")
            self.check_music_at(landed)
        self.browser.devtools("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

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
        subprocess.run([str(SCRIPTS / "pack-web-data"), str(datas), str(site)], check=True)
        folder = self.native_folder("native-damaged", datas)
        native = subprocess.run([str(self.native / "tools" / "capture" / "kvor-capture"), "--png",
                                 str(self.scratch / "damaged-frames"), "--frames", "0"], cwd=folder,
                                capture_output=True, text=True, timeout=120)
        check(native.returncode == 255, f"the native capture ended with {native.returncode} on the damaged scene")
        box = re.search(r"^error!: (.*)$", native.stderr, re.MULTILINE)
        check(box, f"the native capture showed no error! box: {native.stderr}")
        address, _ = serve(self.processes, site)
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


    # ---- the launcher first, the data while it shows ---------------------------
    def loading(self):
        """On a slow link the launcher shows while the data still arrive; Launch
        then waits for them with a progress bar in bytes."""
        self.check_server()
        self.browser.slow_network(2, 40)
        self.browser.open(self.address)
        self.browser.wait_for_launcher()
        loading = self.browser.kvor("loading")
        print(f"launcher shown {self.browser.kvor('launcherShownAt') / 1000:.2f} s after the page's start at "
              f"2 Mbit/s, {loading['loaded'] / 1e6:.2f} of {loading['total'] / 1e6:.2f} MB of data and music in")
        check(loading["pending"], "the launcher waited for the data and the music")
        status = self.browser.find("#status").text
        check("Loading" in status and "MB" in status, f"the status line does not say what is loading: {status!r}")
        self.browser.screenshot(self.output / "launcher-while-loading.png")
        self.browser.launch()
        wait_for("the progress bar", 10, lambda: self.browser.find("#loading-bar").is_displayed())
        value, maximum = self.browser.run("const bar = document.getElementById('loading'); return [bar.value, bar.max];")
        print(f"Launch waits: the bar at {value / 1e6:.2f} of {maximum / 1e6:.2f} MB")
        check(maximum > 1e6 and 0 < value < maximum, f"the progress bar is not in bytes: {value} of {maximum}")
        self.browser.screenshot(self.output / "launch-waiting.png")
        wait_for("the show's 10th frame once the data are in", 120, lambda: (self.browser.kvor("frame") or 0) >= 10)
        check(not self.browser.find("#loading-bar").is_displayed(), "the progress bar stays after the data arrived")
        duration = self.browser.kvor("player")["duration"]
        check(duration and duration > 10, f"the player does not know the soundtrack's length: {duration}")

    def check_server(self):
        """What the site's server sends: the engine as application/wasm, Brotli or
        gzip to whom accepts it, the soundtrack's ranges, revalidation."""
        def fetch(name, headers):
            request = urllib.request.Request(self.address + name, headers=headers)
            try:
                with urllib.request.urlopen(request, timeout=10) as response:
                    return response.status, response.headers, response.read()
            except urllib.error.HTTPError as answer:
                return answer.code, answer.headers, b""

        wasm = (self.site / "kvor.wasm").read_bytes()
        for accepted, encoding, decode in (("br, gzip", "br", None), ("gzip", "gzip", gzip.decompress),
                                           ("identity", None, lambda body: body)):
            status, headers, body = fetch("kvor.wasm", {"Accept-Encoding": accepted})
            check(status == 200 and headers["Content-Type"] == "application/wasm",
                  f"kvor.wasm: {status}, {headers['Content-Type']}")
            check(headers.get("Content-Encoding") == encoding, f"kvor.wasm to {accepted!r}: sent as "
                  f"{headers.get('Content-Encoding')}, not {encoding}")
            if decode:
                check(decode(body) == wasm, f"kvor.wasm to {accepted!r}: not the engine's bytes")
            else:
                check(len(body) < len(wasm) / 2, f"kvor.wasm in Brotli: {len(body)} bytes of {len(wasm)}")
        music = (self.site / "kvor-theme.opus").read_bytes()
        status, headers, body = fetch("kvor-theme.opus", {"Range": "bytes=-100"})
        check(status == 206 and body == music[-100:] and
              headers["Content-Range"] == f"bytes {len(music) - 100}-{len(music) - 1}/{len(music)}",
              f"the soundtrack's last 100 bytes: {status} {headers.get('Content-Range')}")
        status, _, _ = fetch("kvor-theme.opus", {"Range": f"bytes={len(music)}-"})
        check(status == 416, f"a range beyond the soundtrack: {status}, not 416")
        status, headers, _ = fetch("page.js", {})
        check("no-cache" in headers["Cache-Control"] and headers["ETag"], "page.js has no cache headers")
        status, _, _ = fetch("page.js", {"If-None-Match": headers["ETag"]})
        check(status == 304, f"page.js asked again with its ETag: {status}, not 304")
        status, _, _ = fetch("../page.js", {})
        check(status == 404, f"a path out of the site: {status}")

    # ---- return visits and offline ---------------------------------------------
    def offline(self):
        """A second visit with the server gone shows the launcher and plays;
        a new build is fetched at the next visit, which the page says."""
        site = self.copy_site("offline-site")
        address, server = serve(self.processes, site)
        port = int(re.search(r":(\d+)/", address).group(1))
        self.browser.open(address)
        self.browser.wait_for_launcher()
        build = self.browser.kvor("build")
        check(re.fullmatch(r"[0-9a-f]{16}", build or ""), f"the page has no build stamp: {build!r}")
        wait_for("the service worker to control the page", 60,
                 lambda: self.browser.run("return Boolean(navigator.serviceWorker.controller);"))
        self.stop(server)
        self.browser.open(address)
        self.browser.wait_for_launcher()
        print(f"offline: launcher shown {self.browser.kvor('launcherShownAt') / 1000:.2f} s after the page's start")
        check(self.browser.kvor("build") == build, "the offline visit runs another build")
        self.browser.launch()
        wait_for("the show's 30th frame offline", 60, lambda: (self.browser.kvor("frame") or 0) >= 30)
        self.browser.screenshot(self.output / "offline-show.png")

        with open(site / "page.css", "a") as css:
            css.write("\n/* a new build */\n")
        subprocess.run([str(SCRIPTS / "stamp-web-site"), str(site)], check=True)
        rebuilt = json.loads(re.search(r'<script id="site" type="application/json">(.*?)</script>',
                                       (site / "index.html").read_text()).group(1))["build"]
        check(rebuilt != build, "the stamp did not change with the site")
        serve(self.processes, site, port)
        self.browser.open(address)
        self.browser.wait_for_launcher()
        wait_for("the page to say a new build is there", 60, lambda: self.browser.find("#update").is_displayed())
        check(self.browser.kvor("build") == build, "the page changed build under the visit")
        self.browser.screenshot(self.output / "new-build-fetched.png")
        self.browser.find("#reload").click()
        wait_for("the new build", 60, lambda: self.browser.run("return window.kvor && window.kvor.build;") == rebuilt)
        self.browser.wait_for_launcher()
        caches = self.browser.driver.execute_async_script("caches.keys().then(arguments[0]);")
        check(caches == [f"kvor-{rebuilt}"], f"the old build's cache is left: {caches}")
        print(f"builds: {build} offline, then {rebuilt}; caches {caches}")

    def copy_site(self, name):
        """A copy of the site that can be rebuilt: the large files linked, the rest copied."""
        site = self.scratch / name
        site.mkdir()
        for entry in self.site.iterdir():
            if entry.stat().st_size > 100_000:
                (site / entry.name).symlink_to(entry)
            else:
                shutil.copy2(entry, site / entry.name)
        return site

    def stop(self, process):
        os.kill(process.pid, signal.SIGTERM)
        process.wait(timeout=10)

    # ---- any screen -------------------------------------------------------------
    def screens(self):
        """The page at a phone's size and a desktop's, each way up; a finger
        launches and pauses; Space pauses and resumes; the media session."""
        for name, width, height, mobile in SCREENS:
            self.browser.view_size(width, height, mobile)
            self.browser.open(self.address)
            self.browser.wait_for_launcher()
            self.browser.screenshot(self.output / f"launcher-{name}.png")
            self.check_fits(name, width, height)
        self.browser.view_size(390, 844, True)
        self.browser.open(self.address)
        self.browser.tap(self.browser.launch_button())
        wait_for("the show's 10th frame after a tap on Launch", 60, lambda: (self.browser.kvor("frame") or 0) >= 10)
        session = self.browser.run("const s = navigator.mediaSession;"
                                   "return [s.metadata && s.metadata.title, s.playbackState];")
        check(session == ["kvor", "playing"], f"the media session during the show: {session}")
        self.browser.screenshot(self.output / "show-phone-portrait.png")
        self.browser.view_size(844, 390, True)
        wait_for("the canvas to follow the screen", 10, lambda: self.browser.run(
            "return document.getElementById('canvas').getBoundingClientRect().height;") >= 380)
        self.browser.screenshot(self.output / "show-phone-landscape.png")
        self.browser.tap(self.browser.find("#canvas"))
        self.check_paused(True, "a tap on the stage")
        check(self.browser.run("return navigator.mediaSession.playbackState;") == "paused",
              "the media session does not say paused")
        self.browser.tap(self.browser.find("#canvas"))
        self.check_paused(False, "a second tap")
        webdriver.ActionChains(self.browser.driver).send_keys(Keys.SPACE).perform()
        self.check_paused(True, "Space")
        webdriver.ActionChains(self.browser.driver).send_keys(Keys.SPACE).perform()
        self.check_paused(False, "Space again")

    def check_fits(self, name, width, height):
        """The stage and the launcher within the screen's width; the stage 4:3."""
        boxes = self.browser.run("""
            const box = (e) => { const b = e.getBoundingClientRect(); return [b.left, b.top, b.width, b.height]; };
            return {canvas: box(document.getElementById('canvas')),
                    dialog: box(document.querySelector('#dialogs dialog[open]')),
                    page: document.documentElement.scrollWidth};""")
        canvas, dialog = boxes["canvas"], boxes["dialog"]
        print(f"{name}: canvas {canvas[2]:.0f} x {canvas[3]:.0f} at {canvas[0]:.0f},{canvas[1]:.0f}, "
              f"launcher {dialog[2]:.0f} x {dialog[3]:.0f}")
        check(boxes["page"] <= width, f"{name}: the page is {boxes['page']} px wide on a {width} px screen")
        check(abs(canvas[2] * 3 - canvas[3] * 4) <= 4, f"{name}: the stage's canvas is not 4:3: {canvas}")
        check(canvas[2] >= min(width, height * 4 / 3) * 0.6, f"{name}: the canvas is small: {canvas}")
        check(0 <= dialog[0] and dialog[0] + dialog[2] <= width and 0 <= dialog[1] and dialog[1] + dialog[3] <= height,
              f"{name}: the launcher is not within the screen: {dialog}")

    def check_paused(self, paused, by):
        wait_for(f"{by} to {'pause' if paused else 'resume'} the show", 10,
                 lambda: self.browser.kvor("paused") == paused)
        frame = self.browser.kvor("frame")
        if paused:
            # A paused show presents nothing more, however many animation frames go by.
            self.browser.driver.execute_async_script(
                "const done = arguments[0]; let left = 30;"
                "const count = () => (--left > 0 ? requestAnimationFrame(count) : done());"
                "requestAnimationFrame(count);")
            check(self.browser.kvor("frame") == frame, f"the show went on after {by}")
            check(self.browser.kvor("player")["playing"] is False, f"the music plays on after {by}")
        else:
            wait_for(f"frames after {by}", 10, lambda: self.browser.kvor("frame") > frame + 5)

    # ---- a clear word when it cannot run -----------------------------------------
    def unavailable(self):
        """Without WebGL 2 the page says so and plays the video the site carries."""
        self.browser.open(self.address)
        text = wait_for("the page's word", 30, lambda: self.browser.find("#unavailable").is_displayed()
                        and self.browser.find("#unavailable-text").text)
        print(f"without WebGL 2, the page says: {text!r}")
        check("WebGL 2" in text, f"the page does not say WebGL 2 is missing: {text!r}")
        check(self.browser.kvor("state") == "unavailable", f"the page is {self.browser.kvor('state')}")
        self.browser.screenshot(self.output / "no-webgl2.png")
        site = self.copy_site("video-site")
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=640x480:rate=30",
                        "-t", "3", "-pix_fmt", "yuv420p", str(site / "kvor-show.mp4")], check=True)
        # Three parts of a second each and the fade after them, as the site build writes them beside the video.
        parts = [0, 60, 120, 150]
        (site / "kvor-show.json").write_text(json.dumps({"parts": parts}))
        subprocess.run([str(SCRIPTS / "stamp-web-site"), str(site)], check=True)
        address, _ = serve(self.processes, site)
        self.browser.open(address)
        wait_for("the video to play", 30, lambda: self.browser.run(
            "const v = document.getElementById('video'); v.muted = true; v.play().catch(() => {});"
            "return !v.hidden && v.currentTime > 0.5;"))
        check("recording" in self.browser.find("#unavailable-text").text, "the page does not offer the recording")
        self.check_video_seek_bar(parts)
        self.browser.screenshot(self.output / "no-webgl2-video.png")

    def video_frame(self):
        """The show's frame the video is at, at 60 frames a second, and whether it is paused."""
        return self.browser.run("const v = document.getElementById('video');"
                                "return [Math.round(v.currentTime * 60), v.paused];")

    def check_video_seek_bar(self, parts):
        """The seek bar over the video: its parts, Space, a click and the arrows."""
        check(self.browser.find("#timeline").is_displayed(), "no seek bar under the video")
        names = self.browser.run("return [...document.querySelectorAll('#parts span')].map((s) => s.textContent);")
        check(names == ["Part 1", "Part 2", "Part 3", ""], f"the parts under the video's bar: {names}")
        last = self.browser.run("return Number(document.getElementById('seek').max);")
        check(abs(last - (3 * FRAMES_PER_SECOND - 1)) <= 1, f"the bar over a 3 s video ends on frame {last}")
        keys = webdriver.ActionChains(self.browser.driver)
        keys.send_keys(Keys.SPACE).perform()
        wait_for("Space to pause the video", 10, lambda: self.video_frame()[1])
        bar = self.browser.find("#seek")
        webdriver.ActionChains(self.browser.driver).move_to_element_with_offset(
            bar, int(bar.size["width"] * (0.25 - 0.5)), 0).click().perform()
        target = self.seek_target(0.25)
        landed = wait_for("a click on the seek bar to move the video", 10,
                          lambda: self.video_frame()[0] == target and self.video_frame(), 0.05)
        print(f"a click at 25% of the video's seek bar: frame {landed[0]} (the bar's {target})")
        check(landed[1], "a click on the seek bar let the paused video go on")
        moves = [((Keys.ARROW_RIGHT,), FRAMES_PER_SECOND), ((Keys.SHIFT, Keys.ARROW_RIGHT), 1),
                 ((Keys.SHIFT, Keys.ARROW_LEFT), -1), ((Keys.PAGE_DOWN,), None)]
        shown = target
        for pressed, step in moves:
            wanted = shown + step if step is not None else next(start for start in parts if start > shown)
            self.browser.press(pressed)
            wait_for(f"a key to put the video on frame {wanted}", 10, lambda: self.video_frame()[0] == wanted, 0.05)
            shown = wanted
        keys.send_keys(Keys.SPACE).perform()
        wait_for("Space to play the video again", 10, lambda: self.video_frame()[0] > shown + 5)


# Phones and desktops, each way up: CSS pixels, and whether the screen is touch.
SCREENS = [("phone-portrait", 390, 844, True), ("phone-landscape", 844, 390, True),
           ("desktop-landscape", 1280, 800, False), ("desktop-portrait", 800, 1280, False)]

# The browser's SwiftShader and the native build's Mesa llvmpipe run the same
# shaders but rasterise triangle edges and round the 16-bit colours each their
# own way: a pixel differs when a channel is off by more than 10 % of its
# range, and a frame matches when at most this share of its pixels do.
FRAME_TOLERANCE = 0.01

# The show's frames in a second of its music.
FRAMES_PER_SECOND = 60
# The music's position may lag the show's by a few frames' worth of playing.
MUSIC_TOLERANCE = 0.25
# The seek bar's thumb takes some of its width: a point on it stands for the
# frame at its share of the width within this share of the show.
SEEK_SLACK = 0.02


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


CASES = ("launcher", "frames", "timeline", "escape", "damaged", "loading", "offline", "screens", "unavailable")
# The cases that compare the page with the native build.
NATIVE_CASES = ("frames", "timeline", "escape", "damaged")
BROWSER_ARGUMENTS = {"unavailable": ["--disable-webgl2"]}


def main():
    global plain_server
    arguments = sys.argv[1:]
    plain_server = arguments[:1] == ["--plain-server"]
    arguments = arguments[plain_server:]
    if len(arguments) != 4 or arguments[0] not in CASES:
        print(__doc__, file=sys.stderr)
        return 2
    case_name, site, native, output = arguments[0], Path(arguments[1]), Path(arguments[2]), Path(arguments[3])
    if webdriver is None or not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
        print("page_end_to_end: no Chromium, chromedriver or python3-selenium: skipped", file=sys.stderr)
        return SKIPPED
    if case_name in NATIVE_CASES and not ((native / "kvor").exists() and (native / "demo" / "datas").is_dir()):
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
            case = Case(case_name, site.resolve(), native.resolve(), output, Path(scratch), processes)
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
