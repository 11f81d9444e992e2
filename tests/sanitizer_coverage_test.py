#!/usr/bin/env python3
"""Part of the sanitizer build's suite: proves that its leak checks count.

Fails unless every other test that ctest runs in the build folder runs only programs of the build
that are linked with AddressSanitizer (whose leak checker runs when each of them exits), and
unless a program that leaks, built with the same compiler and flags and run with the suite's
ASAN_OPTIONS and LSAN_OPTIONS, really fails. Usage: sanitizer_coverage_test.py BUILD_DIR CXX
"""
import json
import os
import subprocess
import sys
import tempfile

LEAKING_PROGRAM = "int main() { int* kept = new int[4]; kept = nullptr; return 0; }\n"


def is_elf(path):
    with open(path, "rb") as f:
        return f.read(4) == b"\x7fELF"


def links_asan(path, cache):
    if path not in cache:
        ldd = subprocess.run(["ldd", path], capture_output=True, text=True).stdout
        cache[path] = "libasan" in ldd
    return cache[path]


def uncovered_tests(build):
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             capture_output=True, check=True).stdout
    me = os.path.realpath(__file__)
    cache = {}
    uncovered = []
    tests = json.loads(listing)["tests"]
    for test in tests:
        command = test.get("command", [])
        if any(os.path.realpath(arg) == me for arg in command):
            continue
        ours = [arg for arg in command
                if os.path.isfile(arg) and os.path.realpath(arg).startswith(build + os.sep)
                and is_elf(arg)]
        if not ours or not all(links_asan(arg, cache) for arg in ours):
            uncovered.append(test["name"])
    return len(tests) - 1, uncovered


def leak_is_caught(cxx):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "leak.cpp")
        program = os.path.join(folder, "leak")
        with open(source, "w") as f:
            f.write(LEAKING_PROGRAM)
        subprocess.run([cxx, "-fsanitize=address,undefined", "-g", source, "-o", program],
                       check=True)
        run = subprocess.run([program], capture_output=True, text=True)
        return run.returncode != 0 and "LeakSanitizer: detected memory leaks" in run.stderr


def main():
    build, cxx = os.path.realpath(sys.argv[1]), sys.argv[2]
    count, uncovered = uncovered_tests(build)
    for name in uncovered:
        print(f"not leak-checked: {name} runs no program of the build linked with AddressSanitizer")
    caught = leak_is_caught(cxx)
    if not caught:
        print("a leaking program passed: leaks would not fail the suite "
              f"(ASAN_OPTIONS={os.environ.get('ASAN_OPTIONS', '')!r})")
    if uncovered or not caught or count == 0:
        return 1
    print(f"{count} tests, each running only programs built with AddressSanitizer; "
          "a leaking program fails")
    return 0


if __name__ == "__main__":
    sys.exit(main())
