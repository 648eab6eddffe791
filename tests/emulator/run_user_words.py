#!/usr/bin/env python3
"""The user's words on the emulated device, end to end: Tessaline installed as run_tessaline.py
installs it, a user dictionary (English.usr) laid down by the test, and the real input method,
options sheet and a second program working on it through the emulator's scripts. Each case ends
by reading the .usr as it is on the device and checking that every word and record is where it
should be: nothing the user taught is lost, and what the user removed stays removed.

One case a run:  run_user_words.py CASE --wine-run PATH --emulator PATH --library PATH
                                        --source DIR --hold-file PATH
"""
import argparse
import datetime
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_tessaline as device  # noqa: E402

CLASS_KEY = "HKCR\\CLSID\\" + device.CLASS_ID


def expect(condition, message):
    if not condition:
        print("FAILED: " + message)
        sys.exit(1)


def today():
    """The day of the year the input method's daily decay compares with (UTC, 0 for 1 January)."""
    return datetime.datetime.now(datetime.timezone.utc).timetuple().tm_yday - 1


def usr_bytes(words, records, day):
    def text(word):
        data = word.encode("utf-16-le")
        return bytes([len(data) // 2]) + data
    out = struct.pack("<I", len(words)) + b"".join(text(w) for w in words)
    out += struct.pack("<I", len(records))
    for word in sorted(records, key=lambda w: w.encode("utf-16-be")):
        entry, count, base = records[word]
        out += text(word) + struct.pack("<ihH", entry, count, base)
    return out + struct.pack("<I", day)


def read_usr(path):
    data = open(path, "rb").read()
    at = 0

    def take(size):
        nonlocal at
        chunk = data[at:at + size]
        expect(len(chunk) == size, "the .usr is cut short: %r" % data)
        at += size
        return chunk

    def text():
        length = take(1)[0]
        return take(2 * length).decode("utf-16-le")
    words = [text() for _ in range(struct.unpack("<I", take(4))[0])]
    records = {}
    for _ in range(struct.unpack("<I", take(4))[0]):
        word = text()
        entry, count, base = struct.unpack("<ihH", take(8))
        records[word] = (entry, count, base)
    day = struct.unpack("<I", take(4))[0]
    expect(at == len(data), "bytes after the decay day")
    return words, records, day


class Device:
    def __init__(self, args):
        self.args = args
        device.install(args)
        self.languages = os.path.join(args.work, "Program files", "Tessaline", "Languages")
        self.usr = os.path.join(self.languages, "English.usr")

    def seed(self, words, records, day=None, name="English"):
        with open(os.path.join(self.languages, name + ".usr"), "wb") as f:
            f.write(usr_bytes(words, records, today() if day is None else day))

    def script(self, name, text):
        path = os.path.join(self.args.work, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return device.windows_path(path)

    def command(self, *arguments):
        return [self.args.wine_run, self.args.emulator, "--headless"] + list(arguments)

    def run(self, *arguments):
        done = subprocess.run(self.command(*arguments), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=240, env=self.args.env)
        out = done.stdout.decode("utf-8", "replace")
        err = done.stderr.decode("utf-8", "replace")
        expect(done.returncode == 0, "emulator exit status %d\nstdout:\n%s\nstderr:\n%s" %
               (done.returncode, out, err))
        return out

    def start(self, *arguments):
        return subprocess.Popen(self.command(*arguments), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=self.args.env)

    def words(self):
        return read_usr(self.usr)[0]

    def records(self):
        return {word: record[1] for word, record in read_usr(self.usr)[1].items()}

    def setting(self, name):
        done = device.wine(self.args, "reg", "query", CLASS_KEY, "/v", name)
        line = [l for l in done.stdout.decode("utf-8", "replace").splitlines() if name in l]
        expect(line, "no value %s" % name)
        return line[0].split()[-1]


SEED_WORDS = ["zqxjv", "blorft"]
SEED_RECORDS = {"the": (-1, 9, 200)}

# The options sheet opened from the panel, one page shown, its questions answered with OK, and
# the sheet left with Cancel: the sheet's OK is not what saves a page.
OPEN = "options\nwait 800\npage %s\nwait 300\n"
ANSWER_OK = "wait 300\npress OK\nwait 300\n"
SAVE_AND_CANCEL = "press Save\n" + ANSWER_OK + "press Cancel\nwait 800\n"


def case_dictionary_clear(args):
    # Clear, Save, Cancel on the sheet; the panel stays up and commits a word.
    d = Device(args)
    d.seed(SEED_WORDS, SEED_RECORDS)
    d.run("--script", d.script("s.txt", OPEN % "Dictionary" + "press Clear\n" + ANSWER_OK +
                               SAVE_AND_CANCEL + "type the sea \n"))
    expect(d.words() == [], "cleared words came back: %r" % d.words())
    expect(d.records() == {"the": 13, "sea": 1}, "records %r" % d.records())


def case_dictionary_remove(args):
    d = Device(args)
    d.seed(SEED_WORDS, SEED_RECORDS)
    d.run("--script", d.script("s.txt", OPEN % "Dictionary" + "choose blorft\nwait 200\n"
                               "press Remove\n" + ANSWER_OK + SAVE_AND_CANCEL + "type the sea \n"))
    expect(d.words() == ["zqxjv"], "words %r" % d.words())


def case_dictionary_import(args):
    d = Device(args)
    d.seed(SEED_WORDS, SEED_RECORDS)
    # The prefix wine-run uses: TESSALINE_WINEPREFIX when set, else the one the build names.
    prefix = os.environ.get("TESSALINE_WINEPREFIX")
    for line in open(args.wine_run, encoding="utf-8"):
        found = re.match(r'export WINEPREFIX="(?:\$\{TESSALINE_WINEPREFIX:-)?([^}"]+)\}?"', line)
        if found and not prefix:
            prefix = found.group(1)
    expect(prefix, "no prefix in " + args.wine_run)
    documents = os.path.join(prefix, "drive_c", "users")
    # The device's documents folder is the prefix user's.
    folder = None
    for user in os.listdir(documents):
        if user != "Public":
            folder = os.path.join(documents, user, "Documents")
    expect(folder is not None, "no documents folder in " + documents)
    os.makedirs(folder, exist_ok=True)
    exchange = os.path.join(folder, "Tessaline_Eng.txt")
    with open(exchange, "wb") as f:
        f.write(b"Glorp\r\nzorbix\r\n")
    try:
        d.run("--script", d.script("s.txt", OPEN % "Dictionary" + "press Import\n" + ANSWER_OK +
                                   SAVE_AND_CANCEL + "type the sea \n"))
    finally:
        os.remove(exchange)
    expect(sorted(d.words()) == ["blorft", "glorp", "zorbix", "zqxjv"], "words %r" % d.words())


def case_frequency_clear(args):
    d = Device(args)
    d.seed(SEED_WORDS, {"the": (-1, 9, 200), "sea": (-1, 5, 100)})
    d.run("--script", d.script("s.txt", OPEN % "Frequency" + "press Clear\n" + ANSWER_OK +
                               SAVE_AND_CANCEL + "type the sea \n"))
    # Cleared records stay cleared: the commits after start new ones.
    expect(d.records() == {"the": 1, "sea": 1}, "records %r" % d.records())
    expect(d.words() == SEED_WORDS, "words %r" % d.words())


def case_question_kept(args):
    # The drop-down moves to another language while the Frequency page's Save question is up:
    # neither language's file receives the other's records.
    d = Device(args)
    d.seed(SEED_WORDS, {"the": (-1, 9, 200)})
    d.seed([], {"und": (-1, 4, 90)}, name="German")
    german = os.path.join(d.languages, "German.usr")
    before = (open(d.usr, "rb").read(), open(german, "rb").read())
    d.run("--script", d.script("s.txt", OPEN % "Frequency" + "press Clear\n" + ANSWER_OK +
                               "press Save\nwait 300\nchoose German\n" + ANSWER_OK +
                               "press Cancel\nwait 500\n"))
    after = (open(d.usr, "rb").read(), open(german, "rb").read())
    expect(after == before, "a user dictionary was written under a question about another")


def case_slide_hide_show(args):
    # As the Clear case, then a slide to the next layout and back, and the panel hidden and shown:
    # the settings saved on the way must not hide the change from the input method.
    d = Device(args)
    d.seed(SEED_WORDS, SEED_RECORDS)
    d.run("--script", d.script("s.txt", OPEN % "Dictionary" + "press Clear\n" + ANSWER_OK +
                               SAVE_AND_CANCEL +
                               "swipe 20 240 230 240\nwait 1200\nswipe 230 200 20 200\nwait 1200\n"
                               "hide\nwait 300\nshow\nwait 300\ntype the sea \n"))
    expect(d.words() == [], "cleared words came back: %r" % d.words())
    expect(d.records() == {"the": 13, "sea": 1}, "records %r" % d.records())


def case_two_programs(args):
    # The second program loads the language first and commits last; the first spells a word in
    # between. A word the key map cannot spell stays in the file all along.
    d = Device(args)
    d.seed(["\u043f\u0440\u0438\u0432\u0435\u0442"], {})
    late = d.start("--script", d.script("late.txt", "wait 20000\ntype the sea \n"))
    time.sleep(4)
    out = d.run("--language", "English", "--type", "Zqxjv is here. ")
    expect("1 spelled" in out, "the first program spelled nothing:\n" + out)
    out, err = late.communicate(timeout=240)
    expect(late.returncode == 0, "the second program failed: %s" % err.decode("utf-8", "replace"))
    expect(d.words() == ["\u043f\u0440\u0438\u0432\u0435\u0442", "zqxjv"], "words %r" % d.words())
    for word in ("is", "here", "the", "sea", "zqxjv"):
        expect(word in d.records(), "no record of %r: %r" % (word, d.records()))


def case_new_day_typed(args):
    # Records last decayed on another day: the first Showing decays them, which turns "home"
    # (count far above the ceiling) below "good" on the same keys. The typist plans before that
    # Showing and must plan with the decayed order, or the taps give the wrong word.
    d = Device(args)
    d.seed([], {"home": (-1, 100, 60000), "good": (-1, 20, 60100)}, day=(today() + 200) % 365)
    out = d.run("--language", "English", "--type", "Good home. Home good. ")
    expect("taps for" in out, "no tap count:\n" + out)
    expect(read_usr(d.usr)[2] == today(), "the day's decay was not stored")


def case_damaged_language(args):
    # A language file without letters beside a vocabulary and a user dictionary holding words:
    # shown on a new day (the daily decay's day), it must not touch the user's file.
    d = Device(args)
    shutil.copy(os.path.join(d.languages, "English.voc"), os.path.join(d.languages, "Broken.voc"))
    open(os.path.join(d.languages, "Broken.chr"), "wb").close()
    d.seed(SEED_WORDS, SEED_RECORDS, day=(today() + 200) % 365, name="Broken")
    before = open(os.path.join(d.languages, "Broken.usr"), "rb").read()
    device.wine(args, "reg", "add", CLASS_KEY, "/v", "Language0", "/t", "REG_SZ", "/d",
                "Broken", "/f")
    d.run("--script", d.script("s.txt", "wait 500\nhide\nwait 300\nshow\nwait 300\n"
                               "tap 40 250\nwait 200\ntap 200 250\nwait 500\n"))
    after = open(os.path.join(d.languages, "Broken.usr"), "rb").read()
    expect(after == before, "the user dictionary of a damaged language was rewritten")


def case_unreadable(args):
    # A .usr that exists but cannot be read (here a folder in its place) is never written over;
    # the person is told once (the script's "press OK" fails when no message is up).
    d = Device(args)
    os.makedirs(d.usr)
    d.run("--script", d.script("s.txt", "wait 1500\npress OK\nwait 300\ntype the sea \n"
                               "type Zqxjv \nwait 300\n"))
    expect(os.path.isdir(d.usr), "the unreadable user dictionary was replaced")


def case_held_open(args):
    # Another program holds the .usr open (reading allowed, replacing not): the spelled word
    # cannot be saved, the person is told once, and the word is written once the file is free.
    d = Device(args)
    d.seed(SEED_WORDS, SEED_RECORDS)
    holder = subprocess.Popen([args.wine_run, args.hold_file, device.windows_path(d.usr),
                               "15000", "read"], stdout=subprocess.PIPE, env=args.env)
    expect(holder.stdout.readline().strip() == b"held", "the file could not be held")
    d.run("--script", d.script("s.txt", "type Qxvzk \nwait 2500\npress OK\nwait 300\n"
                               "type the \nwait 16000\ntype sea \n"))
    holder.wait(timeout=60)
    expect(d.words() == SEED_WORDS + ["qxvzk"], "words %r" % d.words())
    records = d.records()
    expect(records.get("the") == 13 and records.get("sea") == 1, "records %r" % records)


def case_settings_kept(args):
    # One program turns "Auto space" off on its options sheet and closes it with OK while another
    # one, loaded before, slides between layouts and is then deselected: the other's saves keep
    # the change, and write only what they changed (the layout).
    d = Device(args)
    # The first program's OK hides the device's panel, so the second one shows it again.
    late = d.start("--script", d.script("late.txt", "wait 16000\nshow\nwait 500\n"
                                        "swipe 20 240 230 240\nwait 1500\n"))
    time.sleep(4)
    d.run("--script", d.script("s.txt", OPEN % "Interface" + "press Auto space\nwait 300\n"
                               "press OK\nwait 800\n"))
    expect(d.setting("AddSpace") == "0x0", "the first program's OK did not store Auto space")
    out, err = late.communicate(timeout=240)
    expect(late.returncode == 0, "the second program failed: %s" % err.decode("utf-8", "replace"))
    expect(d.setting("AddSpace") == "0x0", "the second program wrote back its old Auto space")
    expect(d.setting("ActiveLayout") != "main", "the second program's slide was not stored")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--hold-file", required=True)
    args = parser.parse_args()
    args.settings = {}
    with tempfile.TemporaryDirectory(prefix="tessaline-words-") as work:
        args.work = work
        try:
            globals()["case_" + args.case](args)
        finally:
            device.restore(args)
    print("passed: " + args.case)


if __name__ == "__main__":
    main()
