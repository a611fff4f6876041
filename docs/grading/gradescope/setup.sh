#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gradescope runs this once, as root, when it builds the autograder's image. tobric-run comes in
# the autograder zip as one statically linked Linux file (README.md, "Grading"), so there is
# nothing to install; but a zip made on Windows loses the file's permission to run, and a file
# that cannot run on Gradescope's Ubuntu is better found now than at the first submission.
# AUTOGRADER_ROOT (default /autograder) lets it run on a folder laid out as Gradescope's.
set -eu
source_dir="${AUTOGRADER_ROOT:-/autograder}/source"
chmod +x "$source_dir/tobric-run"
"$source_dir/tobric-run" --version
