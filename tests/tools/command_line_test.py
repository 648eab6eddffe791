#!/usr/bin/env python3
"""The tool's command lines: usage errors exit 2 with the command's usage on stderr and nothing
on stdout, every command answers --help, and options are read wherever they stand."""
import os
import subprocess
import sys
import tempfile

TOOL = sys.argv[1]
DATA = sys.argv[2]  # the tests folder
TINY = os.path.join(DATA, "search", "data")
failures = []


def run(*args):
    return subprocess.run([TOOL, *args], capture_output=True, text=True, check=False)


def expect(condition, what):
    if not condition:
        failures.append(what)


usage_errors = [
    ["voc", "build", "--chr", "a.chr", "--words", "w.txt"],          # -o missing
    ["voc", "build", "--chr", "a.chr", "--words", "w.txt", "-o"],    # -o without its value
    ["voc", "build", "--chr", "a", "--words", "w", "-o", "v", "--extra", "x", "y"],  # stray
    ["voc", "check", "--chr", "a.chr"],                               # the file missing
    ["keymap", "dump"],
    ["keyscript", "--names", "extra"],
    ["predict", "--chr", "a.chr"],                                    # neither keys nor --word
    ["usr", "import", "w.txt", "--chr", "a.chr"],
    ["nonsense"],
    [],
]
for args in usage_errors:
    result = run(*args)
    expect(result.returncode == 2, f"{args}: exit {result.returncode}, not 2")
    expect(result.stdout == "", f"{args}: wrote to stdout")
    expect("usage:" in result.stderr, f"{args}: no usage on stderr")

# A value of the wrong kind is named on stderr, also with exit status 2.
for args in (["eval", "--chr", "a.chr", "--text", "t.txt", "--causes", "0"],
             ["panel", "dump", "p.pan", "--width", "0"], ["text", "get", "a.chr", "x"]):
    result = run(*args)
    expect(result.returncode == 2 and result.stderr.startswith("tessaline: "), f"{args}")

for command in (["eval"], ["voc", "build"], ["voc", "dump"], ["usr", "export"], ["keyscript"]):
    result = run(*command, "--help")
    expect(result.returncode == 0 and "usage:" in result.stdout, f"{command} --help")

# Options before or after the arguments, and "--name=value", read alike; -1 is a key, not an
# option.
chr_file = os.path.join(TINY, "Tiny.chr")
first = run("predict", "--chr", chr_file, "4", "3", "-1")
second = run("predict", "4", f"--chr={chr_file}", "3", "-1")
expect(first.returncode == 0 and first.stdout == second.stdout and "key -1:" in first.stdout,
       "predict reads its options wherever they stand")

# A repeated option takes one value each time.
with tempfile.TemporaryDirectory() as folder:
    words = os.path.join(folder, "words.txt")
    extra_a = os.path.join(folder, "a.txt")
    extra_b = os.path.join(folder, "b.txt")
    for path, text in ((words, "home\ngood\n"), (extra_a, "gone\n"), (extra_b, "hood\n")):
        with open(path, "w", encoding="utf-8") as out:
            out.write(text)
    voc = os.path.join(folder, "out.voc")
    built = run("voc", "build", "--chr", chr_file, "--words", words, "--extra", extra_a,
                "--extra", extra_b, "-o", voc)
    expect(built.returncode == 0, f"voc build with two --extra: {built.stderr}")
    dump = run("voc", "dump", voc, "--chr", chr_file)
    for word in ("home", "good", "gone", "hood"):
        expect(f"\t{word}\t" in dump.stdout, f"both --extra lists are read: {word} missing")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
