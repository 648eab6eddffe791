#!/usr/bin/env python3
"""The emulator's window in a person's hands: Tessaline installed as for run_tessaline.py, the
emulator started as a window on an X display of the test's own (Xvfb, with no window manager or
with openbox), and driven with real X pointer and key events (xdotool). The screen is read back
with xwd; the Notes text is what the emulator prints when its window is closed.

One session a run:  run_window.py SESSION --wine-run PATH --emulator PATH --library PATH
                    --source DIR --prefix DIR [--shots DIR]
A session is ZOOM-WM, for example 2-none or 1-openbox. It runs every interaction in one start
of the emulator (about 20 seconds) and checks the screen as it goes and the Notes text at the
end. The sessions share a Wine prefix of their own (--prefix), one at a time.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

# The installation steps are run_tessaline.py's; importing it leaves no cache in the sources.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_tessaline  # noqa: E402
from run_tessaline import expect  # noqa: E402

TITLE = "Tessaline Pocket PC emulator"  # the view, the one window a person sees
DEVICE_TITLE = "Tessaline device screen"  # the device's real windows beneath it
WAIT = 60  # seconds to wait for something the emulator is sure to show; not a measured time

# Device pixels of the keypad (compact_white.pan, English, panel from 174 to 294), the candidate
# window right above it, the symbols pop-up, the menu bar and the options sheet.
KEYS = {"1": (25, 194), "2": (75, 194), "3": (125, 194), "4": (25, 234), "5": (75, 234),
        "6": (125, 234), "7": (25, 274), "8": (75, 274), "9": (125, 274),
        "back": (175, 194), "space": (175, 234), "enter": (175, 274), "symbols": (220, 249)}
CELLS = {"left": (40, 159), "middle": (120, 159), "right": (200, 159)}
PANEL = (0, 175, 240, 294)         # the keypad's own pixels
CANDIDATE_TOP = 144                # the candidate window's upper edge
SYMBOL_AT = (178, 175)             # "@" in the symbols pop-up
LANGUAGE_KEY = (178, 264)          # the pop-up's language key
MODE_KEY = (220, 219)              # word mode and letter mode
MODE_KEY_FACE = (203, 206, 238, 232)
KEYPAD_FREE = (80, 135, 160, 170)  # empty Notes box where the pressed-key pop-up shows
PICKER_ARROW = (136, 307)
PICKER_FIRST = (133, 243)          # the picker's rows: the system keyboard, Tessaline, Options
PICKER_SECOND = (133, 263)
PICKER_OPTIONS = (133, 283)
PANEL_BUTTON = (117, 307)
SHEET_INTERFACE_TAB = (131, 52)
SHEET_AUTO_SPACE = (24, 115)
SHEET_CANCEL = (196, 306)
HELLO = ["4", "3", "5", "5", "6"]
SYSTEM_KEYBOARD = run_tessaline.SYSTEM_KEYBOARD


class Screen:
    """A picture of the X screen, RGB rows."""

    def __init__(self, display):
        data = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                              stdout=subprocess.PIPE, check=True, timeout=WAIT).stdout
        fields = struct.unpack(">25I", data[:100])
        header, width, height = fields[0], fields[4], fields[5]
        order, bits, stride, colours = fields[7], fields[11], fields[12], fields[19]
        step = bits // 8
        expect(step in (3, 4), "xwd gave %d bits a pixel" % bits)
        # LSBFirst pixels are blue, green, red (and a pad byte); MSBFirst the other way round.
        red, green, blue = (2, 1, 0) if order == 0 else (step - 3, step - 2, step - 1)
        base = header + colours * 12
        self.width, self.height, self.rows = width, height, []
        for y in range(height):
            line = data[base + y * stride:base + y * stride + width * step]
            row = bytearray(width * 3)
            row[0::3], row[1::3], row[2::3] = line[red::step], line[green::step], line[blue::step]
            self.rows.append(row)

    def pixel(self, x, y):
        return tuple(self.rows[y][x * 3:x * 3 + 3])

    def save(self, path, left=0, top=0, right=None, bottom=None):
        right, bottom = right or self.width, bottom or self.height
        raw = b"".join(b"\0" + bytes(self.rows[y][left * 3:right * 3]) for y in range(top, bottom))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" +
                    chunk(b"IHDR", struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0)) +
                    chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class Session:
    """The X display, the window manager if any, the emulator and what it printed."""

    def __init__(self, args, zoom, manager):
        self.args, self.zoom, self.manager = args, zoom, manager
        self.children, self.shot_count, self.display = [], 0, None

    # ---------------------------------------------------------------- display and emulator

    def start_display(self):
        read, write = os.pipe()
        # The view at zoom 3 (720 × 960 and its frame) needs a taller screen than 768 pixels.
        size = "1280x1024x24" if self.zoom > 2 else "1024x768x24"
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", size,
                                 "-nolisten", "tcp"], pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(xvfb)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        expect(number.isdigit(), "Xvfb gave no display number")
        self.display = ":" + number
        if self.manager == "openbox":
            self.children.append(subprocess.Popen(
                ["openbox", "--sm-disable"], env=dict(os.environ, DISPLAY=self.display),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            self.wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.x(
                "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), "openbox did not start")

    def x(self, *command):
        done = subprocess.run(list(command), env=dict(os.environ, DISPLAY=self.display),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=WAIT)
        return done.stdout.decode("utf-8", "replace")

    def start_emulator(self):
        env = dict(self.args.env, DISPLAY=self.display)
        self.out = open(os.path.join(self.args.work, "stdout.txt"), "w+b")
        self.err = open(os.path.join(self.args.work, "stderr.txt"), "w+b")
        # The trace tells what the input method sent: the test waits on it.
        self.emulator = subprocess.Popen([self.args.wine_run, self.args.emulator, "--zoom",
                                          str(self.zoom), "--trace"], env=env, stdout=self.out,
                                         stderr=self.err)
        self.wait_for(self.find_windows, "the emulator's window did not appear")
        self.log("window shown")
        # The keypad is drawn in the view and stays so.
        last = [None]

        def panel_drawn():
            panel = self.device_region(self.screen(), *PANEL)
            still = panel == last[0] and len(set(panel)) > 2
            last[0] = panel
            return still
        self.wait_for(panel_drawn, "the keypad never showed in the view")
        self.keypad = last[0]

    def find_windows(self):
        """The view (the window the size of the zoomed screen with its frame) and the device
        screen beneath it, whose corner is the view's client corner."""
        view = device = None
        for line in self.x("xwininfo", "-root", "-tree").splitlines():
            match = re.search(r'"(%s|%s)": \("emulator.exe".*\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)'
                              % (TITLE, DEVICE_TITLE), line)
            if not match:
                continue
            width, height, left, top = map(int, match.groups()[1:])
            if match.group(1) == DEVICE_TITLE and (width, height) == (240, 320):
                device = (left, top)
            elif match.group(1) == TITLE and width >= 240 * self.zoom and height >= 320 * self.zoom:
                view = (left, top, width, height)
        if not view or not device:
            return False
        self.view, self.origin = view, device
        return True

    def close(self, by_button):
        """Closes the window with its caption's close button, or as a script may, destroying
        its X window (xdotool windowclose); returns what was printed."""
        left, top, width, _ = self.view
        if by_button:
            self.click_screen(left + width - 12, top + 11)
        else:
            for window in self.x("xdotool", "search", "--name", "^%s$" % TITLE).split():
                self.x("xdotool", "windowclose", window)
        try:
            self.emulator.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            expect(False, "the emulator did not end when its window was closed")
        self.out.seek(0)
        self.err.seek(0)
        return self.out.read().decode("utf-8"), self.err.read().decode("utf-8", "replace")

    def stop_emulator(self):
        if getattr(self, "emulator", None) and self.emulator.poll() is None:
            self.emulator.kill()
            self.emulator.wait()

    def stop(self):
        self.stop_emulator()
        for child in reversed(self.children):
            child.terminate()
            child.wait()

    # ---------------------------------------------------------------- pointer and screen

    def at(self, device):
        """The screen pixel in the middle of a device pixel."""
        return (self.origin[0] + device[0] * self.zoom + self.zoom // 2,
                self.origin[1] + device[1] * self.zoom + self.zoom // 2)

    def click_screen(self, x, y):
        self.x("xdotool", "mousemove", str(x), str(y), "click", "1")
        time.sleep(0.15)

    def tap(self, device):
        self.click_screen(*self.at(device))

    def press(self, device):
        x, y = self.at(device)
        self.x("xdotool", "mousemove", str(x), str(y), "mousedown", "1")

    def release(self):
        self.x("xdotool", "mouseup", "1")
        time.sleep(0.15)

    def drag(self, start, end, steps=8):
        self.press(start)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.x("xdotool", "mousemove", *map(str, self.at((x, y))))
        self.release()

    def keys(self, *names):
        for name in names:
            self.tap(KEYS[name])

    def screen(self):
        return Screen(self.display)

    def device_region(self, screen, left, top, right, bottom):
        """A region of device pixels as the view shows it (one sample per device pixel)."""
        return b"".join(bytes(screen.pixel(*self.at((x, y))))
                        for y in range(top, bottom) for x in range(left, right))

    def shot(self, name):
        """The view now, kept with the test's screenshots."""
        self.log(name)
        screen = self.screen()
        if self.args.shots:
            self.shot_count += 1
            left, top, width, height = self.view
            screen.save(os.path.join(self.args.shots, "%02d-%s.png" % (self.shot_count, name)),
                        left, top, left + width, top + height)
        return screen

    def trace(self):
        with open(self.err.name, "rb") as f:
            return f.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def sent(self, action, message):
        """Does the action and waits until the input method sends a string; returns it."""
        mark = len(self.trace())
        action()
        found = []

        def sent_string():
            match = re.search(r'^SendString "(.*)"$', self.trace()[mark:], re.M)
            if match:
                found.append(match.group(1))
            return bool(match)
        self.wait_for(sent_string, message)
        return found[0]

    def log(self, step):
        """Progress with the seconds since the start, shown when a session fails."""
        if not hasattr(self, "started"):
            self.started = time.monotonic()
        print("%6.1fs %s" % (time.monotonic() - self.started, step), flush=True)

    def wait_for(self, condition, message):
        deadline = time.monotonic() + WAIT
        while not condition():
            if getattr(self, "emulator", None) and self.emulator.poll() is not None:
                expect(False, message + " (the emulator ended with %d)" % self.emulator.returncode)
            expect(time.monotonic() < deadline, message)
            time.sleep(0.1)

    def wait_panel(self, condition, message):
        """Waits until the view's keypad satisfies condition(region)."""
        self.wait_for(lambda: condition(self.device_region(self.screen(), *PANEL)), message)

    def picture_only(self):
        """At zoom 2 and more the view shows only the zoomed picture: every device pixel is a
        block of equal screen pixels, which no window at its own size over the view keeps."""
        screen, z = self.screen(), self.zoom
        # The title bar's blue where a window at its own size would lie (a device screen not
        # yet painted is black, in blocks as well).
        r, g, b = screen.pixel(*self.at((60, 13)))
        if not (b > 150 and b > r + 60):
            return False
        left, top = self.origin
        right = left + 240 * z
        for y in range(top, top + 320 * z, z):
            row = screen.rows[y][left * 3:right * 3]
            if any(screen.rows[y + k][left * 3:right * 3] != row for k in range(1, z)):
                return False
            for k in range(1, z):
                for c in range(3):
                    if row[c::3 * z] != row[3 * k + c::3 * z]:
                        return False
        return True

    def candidates_shown(self, screen=None):
        """The candidate window's black upper edge, across the view."""
        screen = screen or self.screen()
        dark = sum(1 for x in range(4, 236) if sum(screen.pixel(*self.at((x, CANDIDATE_TOP)))) < 150)
        return dark > 200


def green(rgb):
    """The user buttons' face."""
    r, g, b = rgb
    return g > r + 40 and g > b + 40


def glyph_quadrants(screen, centre, radius):
    """Dark pixels in the four quarters round a caption button's middle: a cross (Marlett's
    close glyph) has them in all four, the letter "r" that stands for it without the font not."""
    cx, cy = centre
    counts = [0, 0, 0, 0]
    for y in range(cy - radius, cy + radius + 1):
        for x in range(cx - radius, cx + radius + 1):
            if x != cx and y != cy and sum(screen.pixel(x, y)) < 200:
                counts[(x > cx) + 2 * (y > cy)] += 1
    return counts


def letters(word, keys):
    """Whether the word's first letters are on these keys of the phone keypad, in this order."""
    pad = {"2": "abc", "3": "def", "4": "ghi", "5": "jkl", "6": "mno", "7": "pqrs", "8": "tuv",
           "9": "wxyz"}
    return len(word) >= len(keys) and all(word[i].lower() in pad[k] for i, k in enumerate(keys))


def session(s):
    """Every interaction, in one run of the emulator; the Notes text checked at the end."""
    zoom = s.zoom
    try:
        s.start_emulator()
        screen = s.shot("start")
        # The caption's close button is Marlett's cross.
        left, top, width, _ = s.view
        quarters = glyph_quadrants(screen, (left + width - 12, top + 11), 4)
        expect(min(quarters) > 0, "the close button shows no cross: %r" % (quarters,))

        # The same five keys three times, each word picked from another cell of the candidate
        # window, then once more with the page turned by a drag across the window.
        picked = {}
        for cell in ("right", "left", "middle", "page"):
            s.keys(*HELLO)
            s.wait_for(s.candidates_shown, "no candidate window after the keys")
            if cell == "page":
                before = s.device_region(s.screen(), 0, CANDIDATE_TOP, 240, 174)
                s.drag((200, 159), (60, 159))
                s.wait_for(lambda: s.device_region(s.screen(), 0, CANDIDATE_TOP, 240, 174) != before,
                           "the drag did not turn the candidate page")
                s.shot("candidates-page-turned")
                target = CELLS["middle"]
            else:
                s.shot("candidates-" + cell)
                target = CELLS[cell]
            picked[cell] = s.sent(lambda: s.tap(target), "no word from the %s cell" % cell)
        s.shot("picked")

        # A hold on "5" types its digit: held until it has.
        s.sent(lambda: s.press(KEYS["5"]), "the hold typed nothing")
        s.release()
        s.shot("held")
        s.keys("space")

        # A swipe to the layout on the right (the user buttons, a taller panel) and back.
        s.drag((20, 250), (230, 250))
        s.wait_for(lambda: green(s.screen().pixel(*s.at((30, 150)))),
                   "the swipe did not bring the user buttons")
        s.shot("userpad")
        s.drag((230, 250), (20, 250))
        s.wait_panel(lambda panel: panel == s.keypad, "the swipe back did not bring the keypad")

        # A symbol from the symbols pop-up.
        s.tap(KEYS["symbols"])
        s.wait_panel(lambda panel: panel != s.keypad, "no symbols pop-up")
        s.shot("symbols")
        symbol = s.sent(lambda: s.tap(SYMBOL_AT), "no symbol from the pop-up")
        s.wait_panel(lambda panel: panel == s.keypad, "the symbols pop-up stayed")

        # The pop-up's language key: the second language (German) types "und" on 8 6 3, and the
        # key again brings English back.
        for language in ("German", "English"):
            s.tap(KEYS["symbols"])
            s.wait_panel(lambda panel: panel != s.keypad, "no symbols pop-up")
            s.tap(LANGUAGE_KEY)
            s.wait_panel(lambda panel: panel == s.keypad, "the language key left the pop-up up")
            if language == "German":
                s.keys("8", "6", "3")
                und = s.sent(lambda: s.keys("space"), "no German word for 8 6 3")

        # The options sheet from the picker: "Auto space" cleared and the sheet cancelled, so
        # the next word still comes with its space.
        s.tap(PICKER_ARROW)
        s.wait_panel(lambda panel: panel != s.keypad, "no picker")
        s.shot("picker")
        s.tap(PICKER_OPTIONS)
        s.wait_for(lambda: "UserOptionsDlg" in s.trace(), "the picker did not open the options")
        s.wait_panel(lambda panel: panel != s.keypad and len(set(panel)) > 2, "no options sheet")
        s.tap(SHEET_INTERFACE_TAB)
        s.tap(SHEET_AUTO_SPACE)
        time.sleep(0.3)
        screen = s.shot("options")
        quarters = glyph_quadrants(screen, s.at((227, 12)), 2 * zoom)
        expect(min(quarters) > 0, "the sheet's close button shows no cross: %r" % (quarters,))
        s.tap(SHEET_CANCEL)
        s.wait_panel(lambda panel: panel == s.keypad, "the options sheet stayed")

        # The panel button hides the panel and shows it again.
        s.tap(PANEL_BUTTON)
        s.wait_for(lambda: set(s.device_region(s.screen(), 0, 180, 220, 290)) == {255},
                   "the panel button did not hide the panel (the Notes box takes its place)")
        s.tap(PANEL_BUTTON)
        s.wait_panel(lambda panel: panel == s.keypad, "the panel button did not show the panel")

        # The picker switches to the system keyboard and back to Tessaline, whose windows are
        # made anew (under the view, not over it: checked below at zoom 2 and more).
        for row, clsid in ((PICKER_FIRST, SYSTEM_KEYBOARD),
                           (PICKER_SECOND, run_tessaline.CLASS_ID)):
            mark = len(s.trace())
            # The picker opens on the press: the tap on its row comes after it, in order.
            s.tap(PICKER_ARROW)
            s.tap(row)
            s.wait_for(lambda: "CoCreateInstance " + clsid in s.trace()[mark:],
                       "the picker's row did not start %s" % clsid)
            if clsid != run_tessaline.CLASS_ID:
                s.wait_panel(lambda panel: panel != s.keypad and len(set(panel)) > 2,
                             "no system keyboard")
                s.shot("system-keyboard")
        s.wait_panel(lambda panel: panel == s.keypad, "Tessaline's keypad did not come back")

        # The word after the sheet, then a tap in the Notes box that puts the caret at the start,
        # where the next word goes.
        s.keys("8", "4", "3")
        s.wait_for(s.candidates_shown, "no candidate window after the input method came back")
        if zoom > 1:
            s.wait_for(s.picture_only, "a window of the device shows over the view")
        the = s.sent(lambda: s.keys("space"), "no word for 8 4 3")
        # Letter mode: the pressed-key pop-up shows while the button is down (over the empty
        # Notes box above the keypad). Released, the key types its letter, or its digit if the
        # press lasted as long as a hold.
        word_mode = s.device_region(s.screen(), *MODE_KEY_FACE)
        s.tap(MODE_KEY)
        s.wait_for(lambda: s.device_region(s.screen(), *MODE_KEY_FACE) != word_mode,
                   "the mode key did not change")
        letter_mode = s.device_region(s.screen(), *KEYPAD_FREE)
        mark = len(s.trace())
        s.press(KEYS["4"])
        s.wait_for(lambda: s.device_region(s.screen(), *KEYPAD_FREE) != letter_mode,
                   "no pressed-key pop-up while the button is down")
        s.shot("pressed-key")
        s.release()
        s.wait_for(lambda: "SendString" in s.trace()[mark:], "the key typed nothing in letter mode")
        # (The case key may now say the next word starts with a capital: only the mode key's
        # face is compared.)
        s.tap(MODE_KEY)
        s.wait_for(lambda: s.device_region(s.screen(), *MODE_KEY_FACE) == word_mode,
                   "the mode key did not bring word mode back")

        s.tap((2, 30))
        s.keys("2")
        first = s.sent(lambda: s.keys("space"), "no word for 2")
        # The PC's keyboard types into the Notes box.
        s.x("xdotool", "key", "--delay", "60", "ctrl+End")
        s.x("xdotool", "type", "--delay", "60", " Ok.")
        time.sleep(0.5)
        s.shot("end")
        # Without a window manager by the close button, with openbox as a script would.
        out, err = s.close(by_button=s.manager == "none")
    except SystemExit:
        # What the view showed when the session failed.
        if getattr(s, "view", None) and s.display:
            s.shot("failed")
        raise
    finally:
        s.stop_emulator()

    expect(symbol == "@", "the pop-up's symbol was %r" % symbol)
    expect(und == "und ", "the word for 8 6 3 in German was %r" % und)
    expect(the == "the ", "the word after the cancelled sheet was %r (auto space lost?)" % the)
    words = {cell: word.strip() for cell, word in picked.items()}
    expect(words["middle"] == "hello", "the middle cell gave %r, not the first candidate" % words)
    expect(len(set(words.values())) == 4, "the cells and the turned page gave %r" % words)
    for word in words.values():
        expect(letters(word, "43556"), "%r is not on the keys 4 3 5 5 6" % word)
    marker = "== Notes text\n"
    expect(marker in out, "no Notes text printed when the window closed:\n%s\nstderr:\n%s" % (out, err))
    text = out.split(marker, 1)[1]
    expect(first.strip().lower() == "a", "the word for 2 was %r" % first)
    wanted = re.escape(first + "".join(picked[c] for c in ("right", "left", "middle", "page")))
    expect(re.fullmatch(wanted + r"5+ @und the (g|4+) Ok\.", text), "Notes text %r" % text)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("session", help="ZOOM-WM: 1-none, 2-openbox, ...")
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--prefix", required=True, help="the suite's own Wine prefix")
    parser.add_argument("--shots", help="a folder for the screenshots (emptied first)")
    args = parser.parse_args()
    zoom, manager = args.session.split("-")
    if args.shots:
        shutil.rmtree(args.shots, ignore_errors=True)
        os.makedirs(args.shots)
    # Words the user commits are not learned: each pick would change the order of the next list.
    args.settings = {"AdaptiveVoc": 0}
    s = Session(args, int(zoom), manager)
    with tempfile.TemporaryDirectory(prefix="tessaline-window-") as work:
        args.work = work
        try:
            # Everything of the session runs on its display, in a Wine prefix of the suite's own:
            # the Wine server's desktop (its size, its focus) belongs to the display it started
            # on, which must be this one and must not go away under another suite's programs.
            s.start_display()
            os.environ["DISPLAY"] = s.display
            os.environ["TESSALINE_WINEPREFIX"] = args.prefix
            run_tessaline.install(args)
            run_tessaline.wine(args, "reg", "add", "HKCR\\CLSID\\" + run_tessaline.CLASS_ID,
                               "/v", "Language1", "/t", "REG_SZ", "/d", "German", "/f")
            s.log("installed")
            session(s)
        finally:
            run_tessaline.restore(args)
            subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=args.prefix),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            s.stop()
    print("passed: " + args.session)


if __name__ == "__main__":
    main()
