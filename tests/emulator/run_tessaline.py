#!/usr/bin/env python3
"""The emulator with Tessaline installed, end to end: the library is copied into a device folder
of the test's own (TESSALINE_DEVICE_ROOT) with the languages and layouts, registered by regsvr32
with fresh settings, made the current input method, and the typist types on its real keypad.

One case a run:  run_tessaline.py CASE --wine-run PATH --emulator PATH --library PATH --source DIR
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

CLASS_ID = "{D29B81CD-2716-464C-AE72-61C143A16307}"
SYSTEM_KEYBOARD = "{6E3B0F55-2C1D-4B8A-9E47-5A0C91D2B7E3}"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def expect(condition, message):
    if not condition:
        print("FAILED: " + message)
        sys.exit(1)


def wine(args, *command, check=True):
    done = subprocess.run([args.wine_run] + list(command), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=240, env=args.env)
    if check:
        expect(done.returncode == 0, "%s failed (%d): %s" % (command, done.returncode,
                                                             done.stderr.decode("utf-8", "replace")))
    return done


def install(args):
    """The device's installation folder, a clean class key (default settings) and the choice of
    Tessaline as the current input method."""
    folder = os.path.join(args.work, "Program files", "Tessaline")
    os.makedirs(os.path.join(folder, "Languages"))
    for language in ("English", "German", "Russian"):
        for extension in (".chr", ".voc", ".aid"):
            shutil.copy(os.path.join(args.source, "data", "Languages", language + extension),
                        os.path.join(folder, "Languages"))
    shutil.copytree(os.path.join(args.source, "data", "Layouts"), os.path.join(folder, "Layouts"))
    shutil.copy(args.library, folder)
    args.env = dict(os.environ, TESSALINE_DEVICE_ROOT=windows_path(args.work))
    wine(args, "reg", "delete", "HKCR\\CLSID\\" + CLASS_ID, "/f", check=False)
    wine(args, "regsvr32", "/s", windows_path(os.path.join(folder, "Tessaline.dll")))
    for name, value in args.settings.items():
        wine(args, "reg", "add", "HKCR\\CLSID\\" + CLASS_ID, "/v", name, "/t", "REG_DWORD",
             "/d", str(value), "/f")
    wine(args, args.emulator, "--select-im", CLASS_ID)


def restore(args):
    """The test prefix as the other suites expect it: the system keyboard current, Tessaline
    neither registered nor configured."""
    if not hasattr(args, "env"):
        return
    wine(args, args.emulator, "--select-im", SYSTEM_KEYBOARD, check=False)
    dll = os.path.join(args.work, "Program files", "Tessaline", "Tessaline.dll")
    wine(args, "regsvr32", "/s", "/u", windows_path(dll), check=False)
    wine(args, "reg", "delete", "HKCR\\CLSID\\" + CLASS_ID, "/f", check=False)


def emulate(args, *arguments):
    install(args)
    done = wine(args, args.emulator, "--headless", *arguments, check=False)
    return (done.returncode, done.stdout.decode("utf-8"),
            done.stderr.decode("utf-8", "replace").replace("\r\n", "\n"))


def notes_of(out):
    marker = "== Notes text\n"
    expect(marker in out, "no Notes text in the output:\n" + out)
    return out.split(marker, 1)[1]


def expect_typed(args, language, text, spelled=None):
    status, out, err = emulate(args, "--language", language, "--type", text)
    expect(status == 0, "exit status %d\nstderr:\n%s\nstdout:\n%s" % (status, err, out))
    expect(notes_of(out) == text, "Notes text %r, wanted %r" % (notes_of(out), text))
    if spelled is not None:
        expect("%d spelled" % spelled in out, "not %d spelled word(s):\n%s" % (spelled, out))
    return out


# Capitals after a full stop and inside a sentence, all capitals, punctuation from the
# punctuation key, symbols from the pop-up, a digit from the symbols layout, and a word the
# vocabulary lacks (spelled).
def case_english(args):
    expect_typed(args, "English",
                 "Dear Anna, the 3 boats (blue ones) left at nine. Did you see Zqxjv? NASA said: yes!",
                 spelled=1)


def case_german(args):
    expect_typed(args, "German",
                 "Wir fahren um 8 Uhr nach München. Die Straße ist lang (sehr lang), aber schön! "
                 "Xyzqvu kommt mit.")


def case_russian(args):
    expect_typed(args, "Russian",
                 "Мы живём в большом городе. Утром я пью чай и читаю 2 газеты (новые). "
                 "Кваксиль тоже здесь!")


def case_learning(args):
    # The first "zqxjv" is spelled and becomes a user word; the second is a candidate.
    expect_typed(args, "English", "Zqxjv met zqxjv today.", spelled=1)


def case_untypable(args):
    status, out, err = emulate(args, "--language", "English", "--type", "tab\there")
    expect(status == 2, "exit status %d for a tab" % status)
    expect("cannot type U+0009 at character 4" in err, "no clear error:\n" + err)


def case_ctrl_home(args):
    # The user buttons lie on the "userpad" layout, a swipe right from the keypad; its third
    # button (first row of four, 134 to 174 once the panel has grown to the layout's 160
    # pixels) sends Ctrl+Home (a key script), which takes the caret to the start of the text.
    script = os.path.join(args.work, "script.txt")
    with open(script, "w", encoding="utf-8") as f:
        f.write("type the sea\n"
                "swipe 20 240 230 240\nwait 1200\n"
                "tap 150 154\nwait 100\n"
                "swipe 230 200 20 200\nwait 1200\n"
                "type Hi \n")
    status, out, err = emulate(args, "--script", windows_path(script))
    expect(status == 0, "exit status %d\nstderr:\n%s" % (status, err))
    expect(out == "Hi the sea\n", "Notes text %r" % out)


def case_addspace(args):
    # "Auto space" is cleared on the real options sheet and OK pressed; the panel shown again
    # commits words without their space. The typist plans the second text with the setting as it
    # is then: had the window kept adding spaces, the text would come out with a space too many.
    script = os.path.join(args.work, "script.txt")
    with open(script, "w", encoding="utf-8") as f:
        f.write("type the sea\n"
                "options\nwait 500\npage Interface\nwait 200\npress Auto space\nwait 200\n"
                "press OK\nwait 500\nshow\nwait 300\n"
                "type  is calm\n")
    status, out, err = emulate(args, "--script", windows_path(script), "--trace")
    expect(status == 0, "exit status %d\nstderr:\n%s" % (status, err))
    expect(out == "the sea is calm\n", "Notes text %r" % out)
    # After the sheet, each commit's space is taken back at once.
    after = err.split("UserOptionsDlg", 1)[1]
    expect('SendString "is "\nSendVirtualKey 0x08 down' in after, "no space taken back:\n" + after)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    args.settings = {}
    with tempfile.TemporaryDirectory(prefix="tessaline-e2e-") as work:
        args.work = work
        try:
            globals()["case_" + args.case](args)
        finally:
            restore(args)
    print("passed: " + args.case)


if __name__ == "__main__":
    main()
