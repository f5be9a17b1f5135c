#!/usr/bin/env python3
"""Adds up the results of every suite in a folder and prints "N passed, N failed, N skipped".

Reads GoogleTest JSON reports (*.json with "testsuites") and plain summaries
({"passed": N, "failed": N, "skipped": N}). The second argument is the number of steps that failed
without a report of their own (a build, a crashed suite); each counts as one failure.
Exits 1 when anything failed."""
import json
import pathlib
import sys


def main() -> int:
    folder = pathlib.Path(sys.argv[1])
    step_failures = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    passed = failed = skipped = 0
    for report in sorted(folder.glob("*.json")):
        try:
            data = json.loads(report.read_text(encoding="utf-8"))
        except (OSError, ValueError):
            print(f"unreadable report {report.name}", file=sys.stderr)
            failed += 1
            continue
        if "testsuites" in data:
            for suite in data["testsuites"]:
                for case in suite.get("testsuite", []):
                    if case.get("failures"):
                        failed += 1
                    elif case.get("result") == "SKIPPED" or case.get("status") == "NOTRUN":
                        skipped += 1
                    else:
                        passed += 1
        else:
            passed += int(data.get("passed", 0))
            failed += int(data.get("failed", 0))
            skipped += int(data.get("skipped", 0))
    failed += step_failures
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
