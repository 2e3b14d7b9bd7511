#!/usr/bin/env python3
"""Counts what a test pass did, from ctest's JUnit report of the pass and
the GoogleTest reports its suites wrote, and adds it to the run's totals.

  test_results.py pass NAME JUNIT GTEST_DIR TOTALS [LEFT_OUT]
                                                     one pass; prints its line
  test_results.py total TOTALS                       the run's line

A suite with a GoogleTest report counts its single tests; one without (a
check that is a script, or a suite that died before writing its report)
counts as one test. A suite that ctest saw fail counts as failed even when
its report says otherwise. A pass that selected no suite fails: the exit
status is 1 when anything failed or nothing ran.

LEFT_OUT names a file with the modules of Wine that the WoW64 Wine was
built without, a line each: a suite whose output shows Wine's loader asking
for one of them (Wine's module channel, warnings and errors) fails, with
words that point at the list of modules the Wine is built with.
"""
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def suite_counts(report):
    """passed, failed, skipped of one GoogleTest report."""
    counts = [0, 0, 0]
    for case in ElementTree.parse(report).getroot().iter("testcase"):
        if case.find("failure") is not None:
            counts[1] += 1
        elif case.get("result") in ("skipped", "suppressed") or case.find("skipped") is not None:
            counts[2] += 1
        elif case.get("status", "run") == "run":
            counts[0] += 1
    return counts


MODULE_ASKED = re.compile(r'Failed to load module L"([^"]+)"|Library (\S+) \(which is needed by')


def modules_left_out_asked(case, left_out):
    """The modules of left_out that the suite's output shows asked for."""
    output = "".join(case.find("system-out").itertext()) if case.find("system-out") is not None else ""
    asked = set()
    for match in MODULE_ASKED.finditer(output):
        module = re.split(r"[\\/]", match.group(1) or match.group(2))[-1].lower()
        if module in left_out:
            asked.add(module)
    return sorted(asked)


def count_pass(name, junit, gtest_dir, totals_file, left_out_file=None):
    totals = {"passed": 0, "failed": 0, "skipped": 0, "suites": 0, "empty": []}
    if os.path.exists(totals_file):
        with open(totals_file) as source:
            totals = json.load(source)
    cases = []
    if os.path.exists(junit):
        cases = list(ElementTree.parse(junit).getroot().iter("testcase"))
    left_out = set()
    if left_out_file:
        with open(left_out_file) as source:
            left_out = {line.strip().lower() for line in source if line.strip()}
    passed = failed = skipped = 0
    failed_suites = []
    for case in cases:
        suite = case.get("name")
        ctest_failed = case.get("status") == "fail" or case.find("failure") is not None
        not_run = case.get("status") in ("notrun", "disabled") or case.find("skipped") is not None
        report = os.path.join(gtest_dir, suite + ".xml")
        if not_run:
            counts = [0, 1, 0]
        elif os.path.exists(report):
            counts = suite_counts(report)
            if ctest_failed and counts[1] == 0:
                counts[1] = 1
        else:
            counts = [0, 1, 0] if ctest_failed else [1, 0, 0]
        for module in modules_left_out_asked(case, left_out):
            print(f"error: {suite} loads {module}, a module of Wine that the WoW64 Wine was built"
                  f" without: scripts/wine-modules.txt lists the modules it builds. Run"
                  f" scripts/wine-modules to measure the list again (or add {module} to it with a"
                  f" comment), and scripts/test builds the Wine with it.")
            ctest_failed = True
            counts[1] = max(counts[1], 1)
        if ctest_failed or not_run:
            failed_suites.append(suite)
        passed, failed, skipped = passed + counts[0], failed + counts[1], skipped + counts[2]
    totals["passed"] += passed
    totals["failed"] += failed
    totals["skipped"] += skipped
    totals["suites"] += len(cases)
    if not cases:
        totals["empty"].append(name)
        print(f"error: the pass '{name}' selected no test suite")
    else:
        line = f"{name}: {len(cases)} suites; {passed} passed, {failed} failed, {skipped} skipped"
        if failed_suites:
            line += " (failed: " + ", ".join(failed_suites) + ")"
        print(line)
    with open(totals_file, "w") as sink:
        json.dump(totals, sink)
    return 1 if failed or not cases else 0


def total(totals_file):
    with open(totals_file) as source:
        totals = json.load(source)
    print(f"{totals['passed']} passed, {totals['failed']} failed, {totals['skipped']} skipped"
          f" ({totals['suites']} suite runs)")
    for name in totals["empty"]:
        print(f"error: the pass '{name}' selected no test suite")
    return 1 if totals["failed"] or totals["empty"] else 0


if __name__ == "__main__":
    if len(sys.argv) in (6, 7) and sys.argv[1] == "pass":
        sys.exit(count_pass(*sys.argv[2:]))
    if len(sys.argv) == 3 and sys.argv[1] == "total":
        sys.exit(total(sys.argv[2]))
    sys.exit(__doc__)
