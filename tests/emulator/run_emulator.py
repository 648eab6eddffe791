#!/usr/bin/env python3
"""Starts the emulator under Wine in headless mode with a script for its system keyboard and
checks what comes out: the Notes text, the exit status, the error text, the screenshot.

One case a run (one Wine start each):  run_emulator.py CASE --wine-run PATH --emulator PATH
"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lib"))
from system_keyboard import key, taps  # noqa: E402


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


SYSTEM_KEYBOARD = "{6E3B0F55-2C1D-4B8A-9E47-5A0C91D2B7E3}"


def run(args, script, extra=()):
    # These cases type on the system keyboard: it is made current in case another suite left
    # another input method current (a prefix where it is not registered yet starts with it).
    subprocess.run([args.wine_run, args.emulator, "--select-im", SYSTEM_KEYBOARD],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    with open(os.path.join(args.work, "script.txt"), "w", encoding="utf-8") as f:
        f.write(script)
    command = [args.wine_run, args.emulator, "--headless", "--script",
               windows_path(os.path.join(args.work, "script.txt")), "--shots",
               windows_path(args.work)] + list(extra)
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=240)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8", "replace")


def expect(condition, message):
    if not condition:
        print("FAILED: " + message)
        sys.exit(1)


def expect_text(result, wanted):
    status, out, err = result
    expect(status == 0, "exit status %d, stderr:\n%s" % (status, err))
    expect(out == wanted + "\n", "Notes text %r, wanted %r\nstderr:\n%s" % (out, wanted, err))


def case_typing(args):
    # Capitals by the shift key, punctuation, Enter and Backspace (keys sent as key strokes), a
    # hidden and shown panel in between.
    script = taps("Hello, world.") + taps("\n") + "hide\nshow\n" + taps("typo\b") + taps("e")
    expect_text(run(args, script), "Hello, world.\ntype")


def case_bad_line(args):
    status, out, err = run(args, "tap 10 250\ntapp 10 250\n")
    expect(status == 2, "exit status %d for a bad line" % status)
    expect("line 2: unknown command 'tapp'" in err, "stderr does not name the line:\n" + err)
    expect(out == "", "a bad script still typed %r" % out)
    status, out, err = run(args, "tap 10 250\nwait soon\n")
    expect(status == 2 and "line 2: 'soon' is not a time in milliseconds" in err, err)


def case_ctrl_home(args):
    # Ctrl and Shift stay held across the callback's calls, so the edit control moves the caret
    # to the start with Ctrl+Home and selects with Shift+Left.
    script = (taps("abc") + "key VK_CONTROLd+VK_HOME+VK_CONTROLu\n" + taps("x") +
              "key End\n" + taps("y") + "key VK_SHIFTd+VK_LEFT+VK_SHIFTu\n" + taps("z") +
              "key VK_LEFT\nkey VK_BACK\n")
    expect_text(run(args, script), "xabz")


def case_panel_moves(args):
    # The keyboard's option makes its keys taller: SetImInfo moves the panel's top from 214 up
    # to 194, and a tap at 200 (the Notes box before) now types 'q'. Switched back, the old
    # places type again.
    status, out, err = run(args, "options\n" + taps("q", 25) + "options\n" + taps("a"),
                           ["--trace"])
    expect("SetImInfo 0,194,240,294" in err, "no SetImInfo to the taller panel:\n" + err)
    expect("SetImInfo 0,214,240,294" in err, "no SetImInfo back:\n" + err)
    expect_text((status, out, err), "qa")


def decode_png(data):
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        expect(zlib.crc32(kind + body) == struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0],
               "bad checksum in " + kind.decode())
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = header[0], header[1], header[2], header[3]
    expect(depth == 8 and colour in (2, 6), "unexpected PNG format %r" % (header,))
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b, c = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line
    return width, height, lambda x, y: tuple(rows[y][x * channels:x * channels + 3])


def case_screenshot(args):
    expect_text(run(args, taps("hi") + "shot device\n"), "hi")
    with open(os.path.join(args.work, "device.png"), "rb") as f:
        width, height, pixel = decode_png(f.read())
    expect((width, height) == (240, 320), "screenshot is %dx%d" % (width, height))
    r, g, b = pixel(120, 13)
    expect(b > 150 and b > r + 60, "title bar not blue: %r" % ((r, g, b),))
    expect(pixel(60, 310) == (255, 255, 255), "menu bar not white: %r" % (pixel(60, 310),))
    expect(pixel(120, 150) == (255, 255, 255), "Notes box not white: %r" % (pixel(120, 150),))
    # The keypad's face between two keys.
    expect(pixel(0, 215) == (214, 219, 231), "panel back colour %r" % (pixel(0, 215),))
    # The typed text shows as dark pixels in the first line of the Notes box.
    dark = sum(1 for y in range(28, 44) for x in range(0, 40) if sum(pixel(x, y)) < 300)
    expect(dark > 5, "no text drawn in the Notes box")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--emulator", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="tessaline-emulator-") as work:
        args.work = work
        globals()["case_" + args.case](args)
    print("passed: " + args.case)


if __name__ == "__main__":
    main()
