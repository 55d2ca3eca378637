#!/usr/bin/env python3
"""Runs the benchmarks of two builds in turn, A B A B ..., on the same data, and prints for each
benchmark the median time of each build and the median of the pairs' ratios (B / A), with the
peak memory of a session. Pairs taken in turn keep the comparison when the machine's speed
drifts.

  bench/compare_builds.py BEFORE/sacotin_bench AFTER/sacotin_bench [--pairs 5] [--filter RE]

SACOTIN_BENCH_DATA names the folder of the generated data sets, as for the benchmark itself.
"""
import argparse
import json
import os
import statistics
import subprocess

DEFAULT_FILTER = "^(Startup|Search|SearchFilesChanged)/(Typical|Heavy)/|^Session/Heavy/|^Process/"


def run(bench, pattern):
    env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
    out = subprocess.run(
        [bench, f"--benchmark_filter={pattern}", "--benchmark_min_time=0.3",
         "--benchmark_format=json"],
        env=env, capture_output=True, text=True, check=True).stdout
    figures = {}
    for row in json.loads(out)["benchmarks"]:
        figures[row["name"]] = (row["real_time"], row.get("peak_rss_MiB"))
    return figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--pairs", type=int, default=5)
    parser.add_argument("--filter", default=DEFAULT_FILTER)
    args = parser.parse_args()

    times = {}  # name -> ([before], [after], [ratio], peak memory before, after)
    for _ in range(args.pairs):
        before, after = run(args.before, args.filter), run(args.after, args.filter)
        for name in before.keys() & after.keys():
            entry = times.setdefault(name, ([], [], [], before[name][1], after[name][1]))
            entry[0].append(before[name][0])
            entry[1].append(after[name][0])
            entry[2].append(after[name][0] / before[name][0])
    print(f"{'benchmark':45} {'before':>10} {'after':>10} {'after/before':>13} peak MiB")
    for name in sorted(times):
        b, a, ratios, peak_b, peak_a = times[name]
        peak = f"{peak_b:.1f} / {peak_a:.1f}" if peak_b is not None and "Session" in name else ""
        print(f"{name:45} {statistics.median(b):10.3f} {statistics.median(a):10.3f} "
              f"{statistics.median(ratios):13.2f} {peak}")


if __name__ == "__main__":
    main()
