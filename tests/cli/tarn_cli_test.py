#!/usr/bin/env python3
"""Runs the built tarn on fixture trees with odd names and reads back what it writes.

usage: tarn_cli_test.py TARN PDFTOTEXT PDFINFO

CSV and JSON go through Python's csv and json modules, --text is compared line by line with
the expected listing, PDFs through pdfinfo and pdftotext, and every failure is checked for its
exit status, its message and for leaving no file behind.
"""

import csv
import io
import json
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

TARN = PDFTOTEXT = PDFINFO = ""
ENV = dict(os.environ, LC_ALL="C.UTF-8")
ENV.pop("LANGUAGE", None)


def run(args, cwd, env=None, stdout_file=None, preexec_fn=None):
    """tarn with `args` (str or bytes each): (status, stdout bytes, stderr bytes)."""
    result = subprocess.run(
        [TARN, *args], cwd=cwd, env=env or ENV, stdin=subprocess.DEVNULL,
        stdout=stdout_file or subprocess.PIPE, stderr=subprocess.PIPE,
        preexec_fn=preexec_fn, timeout=300, check=False)
    return result.returncode, result.stdout or b"", result.stderr


def make_file(path, size):
    with open(path, "wb") as f:
        f.write(b"x" * size)


def build_odd_tree(top):
    """The listing's worked example (2 files of 3000 bytes; docs with 1 file of 1536 bytes; src
    with lib and its 3 files of 2048 bytes), and beside it names with a space, "%", a backslash,
    a newline, a quote and a comma, and bytes that are not UTF-8 (each a byte that can never
    start a sequence, so every decoder replaces it alike)."""
    data = os.path.join(top, b"data")
    for d in [b"docs", b"src/lib", b"with space/100%", b"with space/two", b"back\\slash",
              b"bad\xff\xfe", b"new\nline", b'q"uote,comma', b"pct%s%n"]:
        os.makedirs(os.path.join(data, d))
    for f, size in [(b"a", 1000), (b"b", 2000), (b"docs/readme", 1536), (b"src/lib/x", 1000),
                    (b"src/lib/y", 1000), (b"src/lib/z", 48), (b"with space/100%/f", 7)]:
        make_file(os.path.join(data, f), size)
    return data


# The listing of the odd tree at the default options, byte for byte.
ODD_DETAIL_LINES = [
    b"data  2 files (2.93kb), total: 7 files (6.44kb in 11 subdirs)",
    b"  back\\slash",
    b"  bad\xff\xfe",
    b"  docs  1 file (1.5kb)",
    b"  new\nline",
    b"  pct%s%n",
    b'  q"uote,comma',
    b"  src",
    b"    lib  3 files (2kb)",
    b"  with space  total: 1 file (7b in 2 subdirs)",
    b"    100%  1 file (7b)",
    b"    two",
]
ODD_SUMMARY = [b"overall: 6.437kb", b"7 files, 11 subdirs"]


def model(path, name):
    """The tree as the scan should see it: directories sorted by their bytes, files counted."""
    entries = sorted(os.scandir(path), key=lambda e: e.name)
    files = [e for e in entries if not e.is_dir(follow_symlinks=False)]
    node = {
        "name": name,
        "files": len(files),
        "bytes": sum(e.stat(follow_symlinks=False).st_size for e in files),
        "children": [model(e.path, e.name) for e in entries if e.is_dir(follow_symlinks=False)],
    }
    node["total_files"] = node["files"] + sum(c["total_files"] for c in node["children"])
    node["total_bytes"] = node["bytes"] + sum(c["total_bytes"] for c in node["children"])
    node["subdirs"] = sum(1 + c["subdirs"] for c in node["children"])
    return node


def preorder(node, path, depth=1):
    yield node, path, depth
    for child in node["children"]:
        yield from preorder(child, path + b"/" + child["name"], depth + 1)


def pdf_pages(path):
    info = subprocess.run([PDFINFO, path], capture_output=True, check=True).stdout.decode()
    return int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))


def pdf_page_size(path):
    info = subprocess.run([PDFINFO, path], capture_output=True, check=True).stdout.decode()
    return re.search(r"^Page size:\s+([\d.]+ x [\d.]+)", info, re.M).group(1)


def pdf_text(path, page=None):
    pages = ["-f", str(page), "-l", str(page)] if page else []
    return subprocess.run([PDFTOTEXT, "-layout", *pages, path, "-"], capture_output=True,
                          check=True).stdout.decode("utf-8", "replace")


def assert_in_order(case, text, parts):
    at = 0
    for part in parts:
        found = text.find(part, at)
        case.assertGreaterEqual(found, 0, f"{part!r} missing after offset {at}")
        at = found + len(part)


class OddTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.top = tempfile.mkdtemp(prefix="tarn-cli-").encode()
        build_odd_tree(cls.top)
        cls.model = model(os.path.join(cls.top, b"data"), b"data")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.top)

    def tarn(self, *args, **kwargs):
        return run(list(args), self.top, **kwargs)

    def succeed(self, *args, **kwargs):
        status, out, err = self.tarn(*args, **kwargs)
        self.assertEqual((status, err), (0, b""), args)
        return out

    def test_csv_reads_back_row_by_row(self):
        out = self.succeed("data", "--csv")
        self.assertTrue(out.endswith(b"\r\n"))
        rows = list(csv.reader(io.StringIO(out.decode("utf-8", "surrogateescape"), newline="")))
        self.assertEqual(rows[0], ["path", "depth", "files", "bytes", "total_files",
                                   "total_bytes", "subdirs"])
        expected = [[path.decode("utf-8", "surrogateescape"), str(depth), str(n["files"]),
                     str(n["bytes"]), str(n["total_files"]), str(n["total_bytes"]),
                     str(n["subdirs"])]
                    for n, path, depth in preorder(self.model, b"data")]
        self.assertEqual(rows[1:], expected)

    def test_csv_paths_join_a_start_with_a_trailing_slash_once(self):
        rows = list(csv.reader(io.StringIO(
            self.succeed("data/src/", "--csv").decode(), newline="")))
        self.assertEqual([r[0] for r in rows[1:]], ["data/src/", "data/src/lib"])

    def test_json_reads_back_as_the_nested_tree(self):
        out = self.succeed("data", "--json")
        tree = json.loads(out.decode("utf-8"))  # strict: the output must be valid UTF-8

        def expected(node):
            result = {"name": node["name"].decode("utf-8", "replace")}
            try:
                node["name"].decode("utf-8")
            except UnicodeDecodeError:
                result["name_hex"] = node["name"].hex()
            for key in ["files", "bytes", "total_files", "total_bytes", "subdirs"]:
                result[key] = node[key]
            result["children"] = [expected(c) for c in node["children"]]
            return result

        self.assertEqual(tree, expected(self.model))
        bad = [c for c in tree["children"] if "name_hex" in c]
        self.assertEqual([(c["name"], c["name_hex"]) for c in bad],
                         [("bad\ufffd\ufffd", "626164fffe")])

    def test_text_lists_the_report_lines(self):
        lines = self.succeed("data", "--text").split(b"\n")
        self.assertEqual(lines[0], b"directory listing")
        self.assertRegex(lines[1], rb"^printed on \S.*\d")
        self.assertEqual(lines[2:], [b""] + b"\n".join(ODD_DETAIL_LINES).split(b"\n") +
                         [b""] + ODD_SUMMARY + [b""])

    def test_text_without_root_date_and_summary(self):
        out = self.succeed("data", "--text", "--no-root", "--no-date", "--no-summary",
                           "--caption", "100% odd", "--tab", "16")
        # The first-level directories are the top printed level now.
        details = [line[2:] for line in ODD_DETAIL_LINES[1:]]
        self.assertEqual(out, b"\n".join([b"100% odd", b""] + details + [b""]) + b"\n")

    def test_text_figures_follow_the_switches(self):
        out = self.succeed("data", "--text", "--no-date", "--no-file-count", "--no-size",
                           "--no-total-files", "--no-subdir-count")
        lines = out.split(b"\n")
        self.assertEqual(lines[2], b"data  total: (6.44kb)")
        self.assertIn(b"  docs", lines)
        self.assertIn(b"  with space  total: (7b)", lines)

    def test_pdf_holds_the_report(self):
        out = os.path.join(self.top, b"odd.pdf")
        self.assertEqual(self.succeed("data", "--pdf", out, "--columns", "1"), b"")
        self.assertEqual(pdf_pages(out), 1)
        self.assertEqual(pdf_page_size(out), "595 x 842")
        text = pdf_text(out)
        parts = ["directory listing", "printed on"]
        for line in ODD_DETAIL_LINES:
            if b"\n" in line or b"\xff" in line:
                continue
            name, _, figures = line.strip().partition(b"  ")
            parts += [name.decode(), figures.decode()]
        assert_in_order(self, text, [p for p in parts if p] + [s.decode() for s in ODD_SUMMARY])

    def test_pdf_landscape(self):
        out = os.path.join(self.top, b"wide.pdf")
        self.succeed("data", "--pdf", out, "--landscape")
        self.assertEqual(pdf_page_size(out), "842 x 595")

    def test_tree_formats_start_no_gui(self):
        # The dynamic loader names every library it loads; the GUI application would load a
        # platform plugin, which the layout modes do load.
        env = dict(ENV, LD_DEBUG="files")
        for mode in ["--csv", "--json"]:
            status, _, err = self.tarn("data", mode, env=env)
            self.assertEqual(status, 0)
            self.assertNotIn(b"platforms/libq", err, mode)
        status, _, err = self.tarn("data", "--text", env=env)
        self.assertEqual(status, 0)
        self.assertIn(b"platforms/libq", err)


class ManyDirs(unittest.TestCase):
    """Enough lines for several pages."""

    @classmethod
    def setUpClass(cls):
        cls.top = tempfile.mkdtemp(prefix="tarn-cli-").encode()
        for i in range(300):
            os.makedirs(os.path.join(cls.top, b"many", b"d%03d" % i))
        make_file(os.path.join(cls.top, b"many", b"d007", b"f"), 10)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.top)

    def pdf(self, name, *args):
        out = os.path.join(self.top, name)
        status, stdout, err = run(["many", "--pdf", out, "--no-date", *args], self.top)
        self.assertEqual((status, stdout, err), (0, b"", b""))
        return out

    def test_pages_follow_the_columns(self):
        one = pdf_pages(self.pdf(b"one.pdf", "--columns", "1"))
        five = pdf_pages(self.pdf(b"five.pdf", "--columns", "5"))
        self.assertGreaterEqual(one, 3)
        self.assertLess(five, one)

    def test_every_line_in_order_and_summary_on_the_last_page(self):
        out = self.pdf(b"all.pdf", "--columns", "1")
        pages = pdf_pages(out)
        text = "".join(pdf_text(out, p) for p in range(1, pages + 1))
        assert_in_order(self, text, ["directory listing", "many"] +
                        ["d%03d" % i for i in range(300)] + ["overall: 10b"])
        self.assertIn("directory listing", pdf_text(out, 1))
        self.assertNotIn("overall:", pdf_text(out, pages - 1))
        self.assertIn("1 files, 300 subdirs", pdf_text(out, pages))

    def test_saved_pages_load_into_the_same_pdf(self):
        direct = self.pdf(b"direct.pdf", "--columns", "3")
        saved = os.path.join(self.top, b"kept.tarnpages")
        status, _, err = run(["many", "--save", saved, "--no-date", "--columns", "3"], self.top)
        self.assertEqual((status, err), (0, b""))
        loaded = os.path.join(self.top, b"loaded.pdf")
        status, _, err = run(["--load", saved, "--pdf", loaded], self.top)
        self.assertEqual((status, err), (0, b""))
        self.assertEqual(pdf_pages(loaded), pdf_pages(direct))
        self.assertEqual(pdf_text(loaded), pdf_text(direct))


class Failures(unittest.TestCase):
    def setUp(self):
        self.top = tempfile.mkdtemp(prefix="tarn-cli-").encode()
        os.makedirs(os.path.join(self.top, b"data", b"sub"))
        make_file(os.path.join(self.top, b"plain file"), 3)
        self.out = os.path.join(self.top, b"out")
        os.mkdir(self.out)

    def tearDown(self):
        shutil.rmtree(self.top)

    def tarn(self, *args, **kwargs):
        return run(list(args), self.top, **kwargs)

    def assert_nothing_written(self):
        self.assertEqual(os.listdir(self.out), [])

    def test_bad_arguments_exit_2_with_one_line(self):
        cases = [
            (["data"], b"choose one output"),
            (["data", "--csv", "--pdf", "out/x.pdf"], b"choose one output"),
            (["--pdf", "out/x.pdf"], b"missing DIR"),
            (["data", "--pdf"], b"Missing value after '--pdf'"),
            (["data", "--pdf", "out/x.pdf", "--columns", "6"], b"--columns"),
            (["data", "--save", "out/x", "--tab", "5"], b"--tab"),
            (["data", "--pdf", "out/x.pdf", "--font-depth", "17"], b"--font-depth"),
            (["data", "--pdf", "out/x.pdf", "--font", "Arial"], b"--font"),
            (["data", "--pdf", "out/x.pdf", "--frobnicate"], b"Unknown option 'frobnicate'"),
            (["data", "--csv", "--no-root"], b"--no-root does not apply to --csv"),
            (["--load", "out/x", "--text"], b"--load FILE needs --pdf FILE"),
        ]
        for args, part in cases:
            with self.subTest(args=args):
                status, out, err = self.tarn(*args)
                self.assertEqual(status, 2)
                self.assertEqual(out, b"")
                self.assertTrue(err.startswith(b"tarn: ") and err.endswith(b"\n"), err)
                self.assertEqual(err.count(b"\n"), 1, err)
                self.assertIn(part, err)
                self.assert_nothing_written()

    def test_help_and_version(self):
        status, out, err = self.tarn("--help")
        self.assertEqual((status, err), (0, b""))
        self.assertTrue(out.startswith(b"Usage: tarn"))
        for option in [b"--pdf", b"--text", b"--csv", b"--json", b"--save", b"--load",
                       b"--no-subdir-count", b"--special-font"]:
            self.assertIn(option, out)
        self.assertEqual(self.tarn("--version"), (0, b"tarn 0.1\n", b""))

    def test_unreadable_start_exits_1_and_writes_nothing(self):
        for start in [b"missing dir", b"plain file", b"no\xffdir", b"data/sub/../../nowhere"]:
            for mode in [["--csv"], ["--json"], ["--text"], ["--pdf", b"out/x.pdf"],
                         ["--save", b"out/x"]]:
                with self.subTest(start=start, mode=mode):
                    status, out, err = self.tarn(start, *mode)
                    self.assertEqual((status, out), (1, b""))
                    self.assertEqual(err, b'Error accessing "' + start + b'"\n')
                    self.assert_nothing_written()

    def test_unwritable_output_exits_1_naming_the_file(self):
        cases = [["--pdf", b"out/no such dir/x.pdf"], ["--save", b"out/no such dir/x"],
                 ["--pdf", b"out"], ["--save", b"out"]]
        for mode in cases:
            with self.subTest(mode=mode):
                status, out, err = self.tarn("data", *mode)
                self.assertEqual((status, out), (1, b""))
                self.assertTrue(err.startswith(b"tarn: "), err)
                self.assertIn(b'"' + mode[1] + b'"', err)
                self.assert_nothing_written()

    def test_a_write_that_fails_midway_keeps_the_old_file(self):
        # A file-size limit below the output's size makes the write fail after it has begun.
        limit = 512
        target = os.path.join(self.out, b"kept")
        make_file(target, 5)

        def limit_file_size():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        for mode in ["--pdf", "--save"]:
            with self.subTest(mode=mode):
                unlimited = os.path.join(self.top, b"unlimited")
                self.assertEqual(self.tarn("data", mode, unlimited)[0], 0)
                self.assertGreater(os.path.getsize(unlimited), limit)
                status, _, err = self.tarn("data", mode, target, preexec_fn=limit_file_size)
                self.assertEqual(status, 1)
                self.assertIn(target, err)
                self.assertEqual(os.listdir(self.out), [b"kept"])
                with open(target, "rb") as f:
                    self.assertEqual(f.read(), b"x" * 5)

    def test_full_standard_output_exits_1(self):
        with open("/dev/full", "wb") as full:
            for mode in ["--csv", "--json", "--text"]:
                with self.subTest(mode=mode):
                    status, _, err = self.tarn("data", mode, stdout_file=full)
                    self.assertEqual(status, 1)
                    self.assertEqual(err, b"tarn: cannot write to standard output\n")

    def test_damaged_page_file_exits_1_and_writes_nothing(self):
        good = os.path.join(self.top, b"good.tarnpages")
        self.assertEqual(self.tarn("data", "--save", good)[0], 0)
        with open(good, "rb") as f:
            saved = f.read()
        for name, content in [(b"empty", b""), (b"foreign", b"%PDF-1.4 not pages\n"),
                              (b"truncated", saved[:len(saved) // 2])]:
            with self.subTest(name=name):
                path = os.path.join(self.top, name)
                with open(path, "wb") as f:
                    f.write(content)
                status, out, err = self.tarn("--load", path, "--pdf", b"out/x.pdf")
                self.assertEqual((status, out), (1, b""))
                self.assertTrue(err.startswith(b"tarn: ") and err.count(b"\n") == 1, err)
                self.assertIn(name, err)
                self.assert_nothing_written()
        status, _, err = self.tarn("--load", b"missing.tarnpages", "--pdf", b"out/x.pdf")
        self.assertEqual(status, 1)
        self.assertIn(b"missing.tarnpages", err)
        self.assert_nothing_written()


if __name__ == "__main__":
    TARN, PDFTOTEXT, PDFINFO = sys.argv[1:4]
    unittest.main(argv=sys.argv[:1], verbosity=2)
