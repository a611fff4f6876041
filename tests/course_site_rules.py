# SPDX-License-Identifier: GPL-3.0-or-later
"""The fields course sites publish for the files they read, shared by the tests that check ours."""

# Gradescope's results.json, as its autograder documentation describes it
# (gradescope-autograders.readthedocs.io).
GRADESCOPE_TOP = {"score", "execution_time", "output", "output_format", "test_output_format",
                  "test_name_format", "visibility", "stdout_visibility", "extra_data", "tests",
                  "leaderboard"}
GRADESCOPE_TEST = {"score", "max_score", "status", "name", "name_format", "number", "output",
                   "output_format", "tags", "visibility", "extra_data"}
GRADESCOPE_STATUSES = {"passed", "failed"}
GRADESCOPE_VISIBILITIES = {"hidden", "after_due_date", "after_published", "visible"}
# What every test of ours carries.
OUR_GRADESCOPE_TEST = {"name", "score", "max_score", "status", "output", "visibility"}


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def check_gradescope(test, results):
    """Fails `test` unless `results` is a results.json Gradescope reads: its published fields
    only, of their types, and a score that is the tests' sum."""
    test.assertLessEqual(set(results), GRADESCOPE_TOP)
    test.assertTrue(is_number(results["score"]))
    test.assertIsInstance(results.get("output", ""), str)
    for entry in results["tests"]:
        test.assertLessEqual(set(entry), GRADESCOPE_TEST)
        test.assertEqual(set(entry) & OUR_GRADESCOPE_TEST, OUR_GRADESCOPE_TEST)
        test.assertIsInstance(entry["name"], str)
        test.assertIsInstance(entry["output"], str)
        test.assertTrue(is_number(entry["score"]) and is_number(entry["max_score"]))
        test.assertIn(entry["status"], GRADESCOPE_STATUSES)
        test.assertIn(entry["visibility"], GRADESCOPE_VISIBILITIES)
        test.assertEqual(entry["score"], entry["max_score"] if entry["status"] == "passed" else 0)
    test.assertEqual(results["score"], sum(entry["score"] for entry in results["tests"]))


# JUnit XML as the Ant schema that CI servers follow has it: the attributes each element may carry.
JUNIT_ATTRIBUTES = {
    "testsuites": {"name", "tests", "failures", "errors", "skipped", "disabled", "time"},
    "testsuite": {"name", "tests", "failures", "errors", "skipped", "disabled", "time",
                  "timestamp", "hostname", "id", "package"},
    "testcase": {"name", "classname", "time", "assertions", "status"},
    "failure": {"message", "type"},
    "error": {"message", "type"},
}
