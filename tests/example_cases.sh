#!/bin/bash
# Runs one example program against its cases file with tobric-run and compares the outputs.
# Usage: example_cases.sh TOBRIC_RUN PROGRAM CASES
set -u
runner="$1" program="$2" cases="$3"
failed=0 count=0
while IFS= read -r line || [ -n "$line" ]; do
    [[ -z "${line//[[:space:]]/}" || "$line" == \#* ]] && continue
    body="${line%%#*}"
    inputs="$(echo "${body%%->*}" | xargs)"
    expected="$(echo "${body#*->}" | tr -d ' ')"
    args=()
    [ -n "$inputs" ] && args=(--input "$inputs")
    actual="$("$runner" "${args[@]}" "$program" | paste -sd, -)"
    status=${PIPESTATUS[0]}
    count=$((count + 1))
    if [ "$status" -ne 0 ] || [ "$actual" != "$expected" ]; then
        echo "FAIL: $line"
        echo "  expected '$expected', got '$actual' (exit status $status)"
        failed=$((failed + 1))
    fi
done < "$cases"
echo "$(basename "$program"): $((count - failed))/$count cases passed"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
