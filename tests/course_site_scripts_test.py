#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The course-site files in docs/grading, run here as the services would run them.

Gradescope's setup.sh and run_autograder run on a folder laid out as Gradescope's /autograder
(AUTOGRADER_ROOT points them there), and the results.json they leave must hold Gradescope's
published fields. The GitHub Classroom workflow must be YAML with what GitHub Actions needs, and
its commands, run in a folder laid out as the template repository, must grade as they claim.
Neither service can be reached from here; this is as near as the tests come.

Usage: course_site_scripts_test.py TOBRIC_RUN SOURCE_DIR
"""

import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

import yaml

from course_site_rules import JUNIT_ATTRIBUTES, check_gradescope

TOBRIC_RUN = os.path.abspath(sys.argv.pop(1))
SOURCE = os.path.abspath(sys.argv.pop(1))
GRADING = os.path.join(SOURCE, "docs", "grading")
EXAMPLES = os.path.join(SOURCE, "examples")

with open(os.path.join(EXAMPLES, "larger_of_two.txt"), "rb") as example:
    LARGER = example.read()
ECHO = b"IN\r\nOUT\r\nHLT\r\n"  # right only when the larger number comes first
CASES_COUNT = 3  # examples/larger_of_two.cases


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)


class GradescopeTest(unittest.TestCase):
    """setup.sh once, then run_autograder for each submission, as Gradescope runs them."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        source = os.path.join(self.root, "source")
        os.makedirs(source)
        for name in ("setup.sh", "run_autograder"):
            shutil.copy(os.path.join(GRADING, "gradescope", name), source)
        shutil.copy(os.path.join(EXAMPLES, "larger_of_two.cases"), source)
        # As a zip made on Windows brings it: without the permission to run.
        shutil.copyfile(TOBRIC_RUN, os.path.join(source, "tobric-run"))
        self.environment = dict(os.environ, AUTOGRADER_ROOT=self.root)
        setup = self.run_script("source/setup.sh")
        self.assertEqual(setup.returncode, 0, setup.stderr)
        self.assertTrue(setup.stdout.startswith(b"tobric-run "), setup.stdout)

    def tearDown(self):
        self.folder.cleanup()

    def run_script(self, name, **environment):
        return subprocess.run(["bash", os.path.join(self.root, name)], cwd=self.root,
                              env=dict(self.environment, **environment), capture_output=True,
                              timeout=60)

    def grade(self, files, **environment):
        """run_autograder on a submission of these files; its results.json, checked against
        Gradescope's published fields."""
        submission = os.path.join(self.root, "submission")
        shutil.rmtree(submission, ignore_errors=True)
        os.makedirs(submission)
        for name, data in files.items():
            write(os.path.join(submission, name), data)
        results_path = os.path.join(self.root, "results", "results.json")
        if os.path.exists(results_path):
            os.remove(results_path)
        done = self.run_script("source/run_autograder", **environment)
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(results_path, "rb") as file:
            results = json.loads(file.read().decode("utf-8"))
        check_gradescope(self, results)
        return results, done

    def test_submissions(self):
        rows = [
            # (what is handed in, the score, how many tests, words the student reads)
            ({"larger_of_two.txt": LARGER}, CASES_COUNT, CASES_COUNT, None),
            ({"my answer.txt": LARGER}, CASES_COUNT, CASES_COUNT, None),  # another name
            ({"sub/-": LARGER}, CASES_COUNT, CASES_COUNT, None),  # a folder, a name like an option
            ({"larger_of_two.txt": ECHO}, 2, CASES_COUNT, "expected 4, got 3"),
            ({"larger_of_two.txt": LARGER, "notes.txt": b"x"}, CASES_COUNT, CASES_COUNT, None),
            ({}, 0, 0, "Hand in one program file, named larger_of_two.txt."),
            ({"a.txt": LARGER, "b.txt": LARGER}, 0, 0, "Hand in one program file"),
        ]
        for files, score, tests, words in rows:
            with self.subTest(files=list(files)):
                results, _ = self.grade(files)
                self.assertEqual((results["score"], len(results["tests"])), (score, tests))
                if words:
                    shown = results.get("output", "")
                    shown += "".join(test["output"] for test in results["tests"])
                    self.assertIn(words, shown)

    def test_a_broken_cases_file_is_told_to_the_teacher_not_the_student(self):
        write(os.path.join(self.root, "source", "broken.cases"), b"3,4 -> 4\n3 4\n")
        results, done = self.grade({"larger_of_two.txt": LARGER}, CASES="broken.cases")
        self.assertEqual((results["score"], results["tests"]), (0, []))
        self.assertNotIn("line 2", results["output"])
        # Gradescope shows the script's output streams to the teacher only.
        self.assertIn(b"broken.cases: line 2: no \"->\"", done.stderr + done.stdout)


class ClassroomWorkflowTest(unittest.TestCase):
    """The workflow as GitHub Actions reads it, and its commands run in a template repository."""

    @classmethod
    def setUpClass(cls):
        with open(os.path.join(GRADING, "github-classroom", "classroom.yml"), "rb") as file:
            cls.workflow = yaml.safe_load(file)
        cls.job = cls.workflow["jobs"]["run-autograding-tests"]
        cls.steps = cls.job["steps"]

    def step(self, uses):
        return next(step for step in self.steps if step.get("uses", "").startswith(uses))

    def test_is_a_workflow_github_actions_reads(self):
        # "on" quoted: YAML 1.1 readers take a bare on for true.
        self.assertEqual(set(self.workflow), {"name", "on", "permissions", "jobs"})
        self.assertIn("push", self.workflow["on"])
        # The Classroom reporter updates the run's check: it needs to write checks.
        self.assertEqual(self.workflow["permissions"]["checks"], "write")
        for job_id, job in self.workflow["jobs"].items():
            self.assertRegex(job_id, r"^[A-Za-z_][A-Za-z0-9_-]*$")
            self.assertIsInstance(job["runs-on"], str)
            ids = [step["id"] for step in job["steps"] if "id" in step]
            self.assertEqual(len(ids), len(set(ids)))
            for step in job["steps"]:
                with self.subTest(step=step.get("name")):
                    self.assertIsInstance(step["name"], str)
                    self.assertEqual(("uses" in step) + ("run" in step), 1)
                    if "uses" in step:
                        # owner/repository[/path]@ref, as Actions names an action.
                        self.assertRegex(step["uses"], r"^[\w.-]+/[\w.-]+(/[\w./-]+)?@[\w.-]+$")
                    for value in step.get("with", {}).values():
                        self.assertIsInstance(value, (str, int, float, bool))
        # The reporter reads each grader's result by its step id.
        reporter = self.step("classroom-resources/autograding-grading-reporter@")
        runners = reporter["with"]["runners"].split(",")
        for runner in runners:
            self.assertEqual(reporter["env"][f"{runner.upper()}_RESULTS"],
                             f"${{{{steps.{runner}.outputs.result}}}}")
            self.assertIn(runner, [step.get("id") for step in self.steps])

    def run_in_repository(self, program):
        """The grader's command and the report step, in a checkout of the template repository
        with the student's program; the grader's exit status, its output, the JUnit report."""
        with tempfile.TemporaryDirectory() as repository:
            write(os.path.join(repository, "larger_of_two.txt"), program)
            tobric = os.path.join(repository, ".github", "tobric")
            os.makedirs(tobric)
            shutil.copy(os.path.join(EXAMPLES, "larger_of_two.cases"), tobric)
            shutil.copyfile(TOBRIC_RUN, os.path.join(tobric, "tobric-run"))
            grader = self.step("classroom-resources/autograding-command-grader@")["with"]
            # The grader runs its commands without a shell, split as a shell would split them.
            setup = subprocess.run(shlex.split(grader["setup-command"]), cwd=repository,
                                   timeout=60)
            self.assertEqual(setup.returncode, 0)
            graded = subprocess.run(shlex.split(grader["command"]), cwd=repository,
                                    capture_output=True, timeout=60)
            report_step = next(step for step in self.steps if "run" in step)
            # GitHub runs a step's script with bash -e -o pipefail.
            reported = subprocess.run(["bash", "--noprofile", "--norc", "-eo", "pipefail", "-c",
                                       report_step["run"]], cwd=repository, timeout=60)
            self.assertEqual(reported.returncode, 0)
            report_path = self.step("mikepenz/action-junit-report@")["with"]["report_paths"]
            with open(os.path.join(repository, report_path), "rb") as file:
                report = ElementTree.fromstring(file.read())
        return graded, report

    def test_commands_grade_the_student_s_program(self):
        for program, status, failures in ((LARGER, 0, 0), (ECHO, 1, 1)):
            with self.subTest(status=status):
                graded, report = self.run_in_repository(program)
                self.assertEqual(graded.returncode, status, graded.stderr)
                self.assertTrue(graded.stdout.startswith(b"TAP version 14\n"), graded.stdout)
                self.assertEqual(graded.stdout.count(b"not ok "), 2 * failures)
                self.assertEqual(report.tag, "testsuites")
                self.assertEqual(report.get("tests"), str(CASES_COUNT))
                self.assertEqual(report.get("failures"), str(failures))
                for element in report.iter():
                    self.assertLessEqual(set(element.attrib), JUNIT_ATTRIBUTES[element.tag])


if __name__ == "__main__":
    unittest.main()
