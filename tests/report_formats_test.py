#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tobric-run's report formats, each against its own published rules and all against each other.

One table of programs and cases is graded in every format at every feedback level. Each format's
verdicts are read back by a parser of that format (xml.etree for JUnit, a TAP 14 reader written
from its grammar, json for JSON and Gradescope, csv) and must equal the table's. The teacher's
formats (text, csv, json) show everything; the student's (junit, tap, gradescope) only what the
cases file's feedback level allows, and hidden cases by their line alone.

Usage: report_formats_test.py TOBRIC_RUN
"""

import codecs
import csv
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

import yaml

from course_site_rules import JUNIT_ATTRIBUTES, check_gradescope

TOBRIC_RUN = os.fsencode(os.path.abspath(sys.argv.pop(1)))
MAX_STEPS = 2000

LARGER = b"IN\nSTA 20\nIN\nSTA 21\nSUB 20\nSKN\nJMP 10\nLDA 20\nOUT\nHLT\nLDA 21\nOUT\nHLT\n"
# The same after a count-down of 7 from mailbox 30: about 30 steps more.
SLOW = (b"LDA 30\nSUB 31\nSTA 30\nSKZ\nJMP 00\n" + b"IN\nSTA 20\nIN\nSTA 21\nSUB 20\nSKN\nJMP 15\n"
        b"LDA 20\nOUT\nHLT\nLDA 21\nOUT\nHLT\n" + b"DAT 00\n" * 12 + b"DAT 7\nDAT 1\n")

# Each case's title as the teacher's reports give it, and its line in the file.
CASES = """\
# every kind of result, and names that need escaping in every format
feedback: {level}
3,4 -> 4                      # second larger
4,3 -> 4  [points 2]          # first <larger> & "quoted" # hash \\ backslash
5,5 -> 5  [hidden, points 3]  # equal
9,1 -> 9  [steps 20]
\xff\x7f\xc2\x80,2 -> 2  [points 0]  # junk answer \x01
"""
TITLES = ["second larger", 'first <larger> & "quoted" # hash \\ backslash', "equal", "line 6",
          "junk answer \x01"]
LINES = [3, 4, 5, 6, 7]
POINTS = [1, 2, 3, 1, 0]
HIDDEN = [False, False, True, False, False]
STEP_LIMITS = [MAX_STEPS, MAX_STEPS, MAX_STEPS, 20, MAX_STEPS]
# The cases a correct program passes, for the exit status of a run where all pass.
PASSING_CASES = "3,4 -> 4\n5,5 -> 5  [hidden, points 3]\n"

# Program file name -> its bytes (None: never written) and what each case must give.
PROGRAMS = [
    (b"larger.txt", LARGER, [True, True, True, True, False]),
    (b"echo.txt", b"IN\nOUT\nHLT\n", [False, True, True, True, False]),
    (b"slow.txt", SLOW, [True, True, True, False, False]),
    (b"broken <&\"'> #\\.txt", b"IN\nLDA 5X\nHLT\n", [False] * 5),
    (b"spill.txt", b"IN\nOUT\nJMP 01\n", [False] * 5),
    (b"greedy.txt", b"IN\nIN\nIN\nOUT\nHLT\n", [False] * 5),
    (b"missing \xff\x01.txt", None, [False] * 5),
]
LEVELS = ["full", "actual", "none"]
FORMATS = ["text", "csv", "json", "junit", "tap", "gradescope"]


def byte_fallback(error):
    """Each byte that is no UTF-8 as the character of its value, as our JSON writes it."""
    return "".join(chr(b) for b in error.object[error.start:error.end]), error.end


codecs.register_error("tobric_bytes", byte_fallback)


def as_json_text(name):
    return name.decode("utf-8", "tobric_bytes")


def run_tobric(folder, args):
    """One tobric-run invocation: its exit status, stdout and stderr."""
    return subprocess.run([TOBRIC_RUN] + args, cwd=folder, capture_output=True, timeout=120)


# ---- Readers: each format back to {program index: [verdict per case]} ----


def text_verdicts(_test, out, programs, *_):
    verdicts = {}
    current = None
    for line in out.split(b"\n")[:-1]:
        header = re.match(rb"^(.*): (\d+)/(\d+) passed", line)
        if header and not line.startswith(b"  "):
            current = programs.index(header.group(1))
            verdicts[current] = [True] * int(header.group(3))
        elif line.startswith(b"  cannot load: "):
            verdicts[current] = [False] * len(verdicts[current])
        else:
            failing = re.match(rb"^  line (\d+)", line)
            verdicts[current][LINES.index(int(failing.group(1)))] = False
    return verdicts


def csv_verdicts(test, out, programs, *_):
    rows = list(csv.reader(io.StringIO(out.decode("utf-8", "surrogateescape"), newline="")))
    test.assertEqual(rows[0], ["program", "case", "result", "expected", "actual", "steps", "error",
                               "points", "score", "hidden"])
    verdicts = {}
    for row in rows[1:]:
        test.assertEqual(len(row), 10, row)
        index = programs.index(row[0].encode("utf-8", "surrogateescape"))
        case = len(verdicts.setdefault(index, []))
        test.assertEqual(row[1], TITLES[case])
        test.assertEqual((row[7], row[9]), (str(POINTS[case]), "true" if HIDDEN[case] else "false"))
        passed = row[2] == "pass"
        test.assertEqual(row[8], str(POINTS[case] if passed else 0))
        verdicts[index].append(passed)
    return verdicts


def ordered(pairs):
    """A JSON object as its list of keys and a dict, so that key order can be checked."""
    return {"__keys__": [key for key, _ in pairs], **dict(pairs)}


JSON_KEYS = {
    "top": ["feedback", "step_limit", "programs", "totals"],
    "program": ["program", "loaded", "load_error", "passed", "cases_total", "score", "max_score",
                "cases"],
    "case": ["name", "line", "points", "hidden", "inputs", "expected", "actual", "result",
             "passed", "score", "steps", "step_limit", "error"],
    "totals": ["programs", "cases", "passed", "score", "max_score"],
}
RESULTS = {"pass", "wrong output", "error", "step limit", "no input left"}


def is_int(value):
    return isinstance(value, int) and not isinstance(value, bool)


def json_verdicts(test, out, programs, level, _feedback):
    # Valid UTF-8 whatever the files held; compact, one line.
    test.assertEqual(out.count(b"\n"), 1)
    test.assertTrue(out.endswith(b"\n"))
    top = json.loads(out.decode("utf-8"), object_pairs_hook=ordered)
    test.assertEqual(top["__keys__"], JSON_KEYS["top"])
    test.assertEqual((top["feedback"], top["step_limit"]), (level, MAX_STEPS))
    verdicts = {}
    for index, program in enumerate(top["programs"]):
        test.assertEqual(program["__keys__"], JSON_KEYS["program"])
        test.assertEqual(program["program"], as_json_text(programs[index]))
        test.assertEqual(program["loaded"], program["load_error"] == "")
        test.assertEqual(program["cases_total"], len(program["cases"]))
        verdicts[index] = []
        for number, case in enumerate(program["cases"]):
            test.assertEqual(case["__keys__"], JSON_KEYS["case"])
            # The teacher sees every case whole, hidden or not, whatever the level.
            test.assertEqual((case["line"], case["points"], case["hidden"], case["step_limit"]),
                             (LINES[number], POINTS[number], HIDDEN[number], STEP_LIMITS[number]))
            test.assertEqual(case["name"], "" if TITLES[number].startswith("line ") else
                             TITLES[number])
            test.assertTrue(case["inputs"] and all(isinstance(a, str) for a in case["inputs"]))
            test.assertTrue(case["expected"] and all(is_int(n) for n in case["expected"]))
            test.assertTrue(all(is_int(n) for n in case["actual"]))
            test.assertIn(case["result"], RESULTS)
            test.assertEqual(case["passed"], case["result"] == "pass")
            test.assertEqual(case["score"], case["points"] if case["passed"] else 0)
            test.assertTrue(is_int(case["steps"]) and 0 <= case["steps"] <= case["step_limit"])
            test.assertEqual(case["error"] != "", case["result"] == "error")
            verdicts[index].append(case["passed"])
        test.assertEqual(program["passed"], sum(verdicts[index]))
        test.assertEqual(program["score"], sum(c["score"] for c in program["cases"]))
        test.assertEqual(program["max_score"], sum(POINTS))
    test.assertEqual(top["totals"]["__keys__"], JSON_KEYS["totals"])
    totals = {key: sum(program[key] for program in top["programs"])
              for key in ("passed", "score", "max_score")}
    totals.update(programs=len(top["programs"]), cases=sum(map(len, verdicts.values())))
    test.assertEqual({k: v for k, v in top["totals"].items() if k != "__keys__"}, totals)
    return verdicts


def junit_verdicts(test, out, programs, _level, feedback):
    root = ElementTree.fromstring(out)  # refuses what is not well-formed XML 1.0 in UTF-8
    test.assertEqual(root.tag, "testsuites")
    counts = {"tests": 0, "failures": 0, "errors": 0}
    verdicts = {}
    for element in root.iter():
        test.assertIn(element.tag, JUNIT_ATTRIBUTES)
        test.assertLessEqual(set(element.attrib), JUNIT_ATTRIBUTES[element.tag], element.tag)
    suites = root.findall("testsuite")
    test.assertEqual(len(suites), len(programs))
    for index, suite in enumerate(suites):
        cases = suite.findall("testcase")
        failures = [c for c in cases if c.find("failure") is not None]
        errors = [c for c in cases if c.find("error") is not None]
        test.assertEqual(suite.get("tests"), str(len(cases)))
        test.assertEqual(suite.get("failures"), str(len(failures)))
        test.assertEqual(suite.get("errors"), str(len(errors)))
        for key, value in (("tests", cases), ("failures", failures), ("errors", errors)):
            counts[key] += len(value)
        verdicts[index] = []
        for number, case in enumerate(cases):
            test.assertEqual(case.get("classname"), suite.get("name"))
            test.assertEqual(case.get("name"), student_title(number))
            problems = list(case)
            test.assertLessEqual(len(problems), 1)
            verdicts[index].append(not problems)
            if problems:
                details = dict(line.split(": ", 1) for line in (problems[0].text or "").split("\n")
                               if line)
                feedback.append((index, number, problems[0].tag == "error",
                                 problems[0].get("message"), details))
    for key, value in counts.items():
        test.assertEqual(root.get(key), str(value))
    return verdicts


def student_title(number):
    """As JUnit and TAP name a case: control characters shown as \\xHH, hidden cases by line."""
    if HIDDEN[number]:
        return f"hidden case (line {LINES[number]})"
    return re.sub(r"[\x00-\x1f]", lambda m: f"\\x{ord(m.group()):02x}", TITLES[number])


# ---- TAP version 14, read by its grammar ----

TEST_POINT = re.compile(r"^(not )?ok (\d+) - (.*)$")
PLAN = re.compile(r"^1\.\.(\d+)$")


def unescape(test, raw):
    """A description as a harness reports it; an unescaped "#" after a blank would start a
    directive, which no description of ours may hold."""
    out = []
    i = 0
    while i < len(raw):
        if raw[i] == "\\" and i + 1 < len(raw) and raw[i + 1] in "\\#":
            out.append(raw[i + 1])
            i += 2
            continue
        if raw[i] == "#":
            test.assertFalse(i > 0 and raw[i - 1] in " \t", f"directive in {raw!r}")
        out.append(raw[i])
        i += 1
    return "".join(out)


def read_tap_document(test, lines, i, indent):
    """The document at `indent` from line i: its test points as (ok, description, yaml,
    children), and the line after it. A deeper line belongs to a subtest its comment opened."""
    pad = " " * indent
    plan = None
    plan_first = False
    points = []
    while i < len(lines) and lines[i].startswith(pad) and lines[i][indent:indent + 1] != " ":
        line = lines[i][indent:]
        if PLAN.match(line):
            test.assertIsNone(plan, "a second plan")
            plan = int(PLAN.match(line).group(1))
            plan_first = not points
            i += 1
            continue
        # The plan comes before every test point or after them all.
        test.assertTrue(plan is None or plan_first, f"a test point after the plan: {line!r}")
        children = None
        if line.startswith("# Subtest: "):
            name = line[len("# Subtest: "):]
            children, i = read_tap_document(test, lines, i + 1, indent + 4)
            test.assertLess(i, len(lines), "no test point ends the subtest")
            line = lines[i][indent:]
        match = TEST_POINT.match(line)
        test.assertTrue(match, f"not TAP: {lines[i]!r}")
        ok, number, description = match.group(1) is None, int(match.group(2)), match.group(3)
        description = unescape(test, description)
        if children is not None:
            # The correlated test point: named as the comment named the subtest, and as good.
            test.assertEqual(description, name)
            test.assertEqual(ok, all(child_ok for child_ok, *_ in children))
        i += 1
        diagnostics = None
        if i < len(lines) and lines[i] == pad + "  ---":
            end = lines.index(pad + "  ...", i)
            block = []
            for yaml_line in lines[i + 1:end]:
                test.assertTrue(yaml_line.startswith(pad + "  "), yaml_line)
                block.append(yaml_line[indent + 2:])
            diagnostics = yaml.safe_load("\n".join(block))
            test.assertIsInstance(diagnostics, dict)
            test.assertTrue(all(isinstance(v, str) for v in diagnostics.values()))
            i = end + 1
        points.append((ok, number, description, diagnostics, children))
    test.assertIsNotNone(plan, "no plan")
    test.assertEqual(plan, len(points))
    test.assertEqual([number for _, number, *_ in points], list(range(1, plan + 1)))
    return [(ok, description, diagnostics, children)
            for ok, _, description, diagnostics, children in points], i


def tap_verdicts(test, out, programs, _level, feedback):
    text = out.decode("utf-8")  # TAP 14 producers must write UTF-8
    test.assertTrue(text.endswith("\n"))
    lines = text[:-1].split("\n")
    test.assertEqual(lines[0], "TAP version 14")
    # Subtests carry no version line.
    test.assertFalse(any(line.strip().startswith("TAP version") for line in lines[1:]))
    subtests, end = read_tap_document(test, lines, 1, 0)
    test.assertEqual(end, len(lines))
    test.assertEqual(len(subtests), len(programs))
    verdicts = {}
    for index, (_, name, _, children) in enumerate(subtests):
        test.assertIsNotNone(children)
        verdicts[index] = []
        for number, (ok, description, diagnostics, _) in enumerate(children):
            test.assertEqual(description, student_title(number))
            verdicts[index].append(ok)
            if not ok:
                diagnostics = diagnostics or {}
                message = diagnostics.pop("message", "failed")
                loaded = PROGRAMS[index][1] is not None
                feedback.append((index, number, not loaded, message, diagnostics))
            else:
                test.assertIsNone(diagnostics)
    return verdicts


# ---- Gradescope's results.json, by its published fields ----


def gradescope_verdicts(test, out, index, feedback):
    results = json.loads(out.decode("utf-8"))
    check_gradescope(test, results)
    verdicts = []
    for number, entry in enumerate(results["tests"]):
        test.assertEqual(entry["name"], TITLES[number])
        test.assertEqual(entry["max_score"], POINTS[number])
        # Hidden cases wait until the teacher publishes the grades.
        test.assertEqual(entry["visibility"],
                         "after_published" if HIDDEN[number] else "visible")
        passed = entry["status"] == "passed"
        verdicts.append(passed)
        if passed:
            test.assertEqual(entry["output"], "")
        else:
            lines = entry["output"].split("\n")
            details = dict(line.split(": ", 1) for line in lines[1:])
            loaded = PROGRAMS[index][1] is not None
            feedback.append((index, number, not loaded, lines[0], details, "gradescope"))
    return verdicts


READERS = {"text": text_verdicts, "csv": csv_verdicts, "json": json_verdicts,
           "junit": junit_verdicts, "tap": tap_verdicts}


class ReportFormatsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        root = os.fsencode(cls.folder.name)
        files = {name: text for name, text, _ in PROGRAMS if text is not None}
        files.update({f"{level}.cases".encode(): CASES.format(level=level).encode("latin-1")
                      for level in LEVELS})
        files[b"passing.cases"] = PASSING_CASES.encode()
        for name, data in files.items():
            with open(os.path.join(root, name), "wb") as file:
                file.write(data)
        cls.names = [name for name, _, _ in PROGRAMS]
        cls.expected = {i: verdicts for i, (_, _, verdicts) in enumerate(PROGRAMS)}

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def grade(self, level, report_format, programs):
        return run_tobric(self.folder.name, [b"--cases", f"{level}.cases".encode(), b"--format",
                                             report_format.encode(), b"--max-steps",
                                             str(MAX_STEPS).encode(), b"--"] + programs)

    def test_every_format_gives_the_table_s_verdicts_at_every_level(self):
        for level in LEVELS:
            feedback = []
            for report_format in FORMATS:
                with self.subTest(level=level, format=report_format):
                    if report_format == "gradescope":
                        verdicts = {}
                        for index, name in enumerate(self.names):
                            run = self.grade(level, report_format, [name])
                            self.assertEqual(run.returncode, 1, run.stderr)
                            verdicts[index] = gradescope_verdicts(self, run.stdout, index, feedback)
                    else:
                        run = self.grade(level, report_format, self.names)
                        self.assertEqual(run.returncode, 1, run.stderr)
                        self.assertEqual(run.stderr, b"")
                        verdicts = READERS[report_format](self, run.stdout, self.names, level,
                                                          feedback)
                    self.assertEqual(verdicts, self.expected)
            with self.subTest(level=level, check="student feedback"):
                self.check_student_feedback(level, feedback)

    def check_student_feedback(self, level, feedback):
        """What every failing case told the student in JUnit, TAP and Gradescope."""
        self.assertTrue(feedback)
        for index, number, unloadable, message, details, *where in feedback:
            shown = "none" if HIDDEN[number] and not where else level
            context = (level, self.names[index], number, where, message, details)
            if unloadable:
                # About the student's own file, so said at every level.
                self.assertTrue(message.startswith("cannot load: "), context)
                self.assertEqual(details, {}, context)
            elif shown == "none":
                self.assertEqual((message, details), ("failed", {}), context)
            elif shown == "actual":
                self.assertEqual(set(details), {"inputs", "actual"}, context)
                self.assertFalse(message.startswith("expected"), context)
            else:
                self.assertEqual(set(details), {"inputs", "expected", "actual"}, context)
                self.assertTrue(message.startswith("expected "), context)
            for key, value in details.items():
                # An endless OUT loop's thousand numbers are cut for the student.
                self.assertLessEqual(value.count(","), 99, context)
                # (Under its own 20 steps and with the junk answer it puts out few or none.)
                if self.names[index] == b"spill.txt" and key == "actual" and number < 3:
                    self.assertRegex(value, r" and \d+ more$", context)

    def test_hidden_cases_and_points_reach_the_teacher_whole(self):
        run = self.grade("none", "text", [b"echo.txt", b"spill.txt"])
        self.assertIn(b"  line 5 (equal) [hidden]: expected 5, still running after 2000 steps",
                      run.stdout)
        self.assertIn(b"echo.txt: 3/5 passed, 6/7 points\n", run.stdout)

    def test_exit_status_is_zero_when_every_case_passes_in_every_format(self):
        for report_format in FORMATS:
            with self.subTest(format=report_format):
                run = run_tobric(self.folder.name, [b"--cases", b"passing.cases", b"--format",
                                                    report_format.encode(), b"larger.txt"])
                self.assertEqual((run.returncode, run.stderr), (0, b""))


if __name__ == "__main__":
    unittest.main()
