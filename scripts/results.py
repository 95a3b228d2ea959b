#!/usr/bin/env python3
"""Turns test output into pass/fail counts for scripts/test.sh.

  results.py gtest LOG EXIT_CODE COUNTS_FILE
      Counts the GoogleTest results in LOG (console output, --gtest_color=no).
      A test that started but never finished (the program crashed or was
      killed) counts as failed, and so does a non-zero exit with no failed
      test to explain it.
  results.py bench JSON LIMITS COUNTS_FILE
      Checks benchmark ratios: each line "<Name> <max ratio>" of LIMITS is one
      test that passes when real_time(BM_<Name>) / real_time(BM_<Name>_Baseline)
      is at most the ratio, each taken as the best of its repetitions.
      Benchmarks with arguments (BM_<Name>/200) are paired with the baseline
      of the same arguments; every pair must pass. Then prints, for every
      benchmark with a label, the time per job it names (the time of one
      iteration divided by its counter "per_iteration", when it has one).

Both print a few readable lines and write "PASSED FAILED" to COUNTS_FILE.
"""

import json
import re
import sys

OK = re.compile(r"^\[       OK \] (\S+)")
FAILED = re.compile(r"^\[  FAILED  \] ([^\s,]+)")
SKIPPED = re.compile(r"^\[  SKIPPED \] ([^\s,]+)")
RUN = re.compile(r"^\[ RUN      \] (\S+)")
MAX_LINES = 12
TAG = re.compile(r"^\[[ =A-Z-]{10}\]")

FAILED_LIST = re.compile(r"^\[  FAILED  \] \d+ tests?, listed below")


def write_counts(path, passed, failed):
    with open(path, "w") as f:
        f.write(f"{passed} {failed}\n")


def gtest(log_path, exit_code, counts_path):
    exit_code = int(exit_code)
    try:
        with open(log_path, encoding="utf-8", errors="replace") as f:
            lines = [line.rstrip("\r\n").replace("\r", "") for line in f]
    except OSError:
        lines = []
    passed, failed, skipped, running = [], [], [], []
    output = {}  # what each test printed between its start and its result
    current = None
    for line in lines:
        m = RUN.match(line)
        if m:
            running.append(m.group(1))
            current = m.group(1)
            output[current] = []
            continue
        if not TAG.match(line):
            if current is not None:
                output[current].append(line)
            continue
        current = None
        m = OK.match(line)
        if m:
            passed.append(m.group(1))
            continue
        if FAILED_LIST.match(line):
            continue
        m = FAILED.match(line)
        if m and "." in m.group(1) and m.group(1) not in failed:
            failed.append(m.group(1))
            continue
        m = SKIPPED.match(line)
        if m and "." in m.group(1) and m.group(1) not in skipped:
            skipped.append(m.group(1))
    finished = set(passed) | set(failed) | set(skipped)
    unfinished = [t for t in running if t not in finished]
    def show(name, note=""):
        print(f"    FAILED {name}{note}")
        text = [line for line in output.get(name, []) if line.strip()]
        for line in text[:MAX_LINES]:
            print(f"    | {line}")
        if len(text) > MAX_LINES:
            print(f"    | ... ({len(text) - MAX_LINES} more lines in the log)")

    for name in failed:
        show(name)
    for name in unfinished:
        show(name, " (never finished: the program crashed or was killed)")
    failures = len(failed) + len(unfinished)
    if exit_code != 0 and failures == 0:
        why = "timed out" if exit_code == 124 else f"exited with code {exit_code}"
        print(f"    FAILED the test program {why} without a failed test")
        failures = 1
    if not running and exit_code == 0:
        print("    (no tests in this program)")
    if skipped:
        print(f"    {len(skipped)} skipped")
    write_counts(counts_path, len(passed), failures)


def to_ns(entry):
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}.get(entry.get("time_unit", "ns"), 1.0)
    return float(entry["real_time"]) * scale


def readable(ns):
    for unit, size in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= size:
            return f"{ns / size:.3g} {unit}"
    return f"{ns:.3g} ns"


def bench(json_path, limits_path, counts_path):
    limits = []
    with open(limits_path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            text = line.split("#", 1)[0].strip()
            if not text:
                continue
            parts = text.split()
            try:
                limits.append((parts[0], float(parts[1])))
            except (IndexError, ValueError):
                print(f"    FAILED {limits_path}:{number}: expected '<Name> <max ratio>', got '{text}'")
                limits.append((text, None))
    # The best (lowest) time of each benchmark's repetitions: a repetition
    # slowed down by something else on the machine never decides a ratio.
    times = {}
    jobs = {}
    try:
        with open(json_path, encoding="utf-8") as f:
            report = json.load(f)
        for entry in report.get("benchmarks", []):
            if entry.get("error_occurred") or entry.get("run_type", "iteration") != "iteration":
                continue
            name = entry.get("run_name", entry["name"])
            t = to_ns(entry)
            times[name] = min(t, times.get(name, t))
            jobs[name] = (entry.get("label", ""), float(entry.get("per_iteration", 1) or 1))
    except (OSError, ValueError, KeyError) as e:
        print(f"    (no benchmark results: {e})")
    passed = failed = 0
    for name, limit in limits:
        if limit is None:
            failed += 1
            continue
        base = "BM_" + name
        pairs = []
        for run, t in times.items():
            if run == base or run.startswith(base + "/"):
                suffix = run[len(base):]
                baseline = times.get(base + "_Baseline" + suffix)
                pairs.append((run, t, baseline))
        if not pairs:
            print(f"    FAILED {name}: no result for {base}")
            failed += 1
            continue
        ok = True
        for run, t, baseline in sorted(pairs):
            if baseline is None:
                print(f"    FAILED {run}: no result for its baseline {base}_Baseline")
                ok = False
                continue
            ratio = t / baseline if baseline > 0 else float("inf")
            good = ratio <= limit
            ok = ok and good
            verdict = "ok    " if good else "FAILED"
            print(f"    {verdict} {run}: ratio {ratio:.3f} (limit {limit:g}; best {t:.0f} ns vs baseline {baseline:.0f} ns)")
        if ok:
            passed += 1
        else:
            failed += 1
    if not limits:
        print("    (no limits in tests/bench/limits.txt)")
    # What a user waits for each job, reported and never judged.
    for run, t in sorted(times.items()):
        label, per_iteration = jobs[run]
        if "_Baseline" not in run and label:
            print(f"    wait   {run}: {readable(t / per_iteration)} for {label}")
    write_counts(counts_path, passed, failed)


def main(argv):
    if len(argv) == 5 and argv[1] == "gtest":
        gtest(argv[2], argv[3], argv[4])
    elif len(argv) == 5 and argv[1] == "bench":
        bench(argv[2], argv[3], argv[4])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
