#!/usr/bin/env python3
"""Prints the library's throughput against its peers as a Markdown table.

Usage: ratios.py [BENCH_JSON]   (default: runs ../build/bench/orvik_bench)
The JSON is what orvik_bench writes with --benchmark_format=json.
"""
import json
import subprocess
import sys

# (what, library benchmark, peer benchmark, goal as the least ratio or None)
COMPARISONS = [
    ("FILE_ReadStr / getline(3)", "LibraryReadStr", "PosixGetline", 0.5),
    ("FILE_ReadStr, host class / getline(3)", "LibraryReadStrHostClass", "PosixGetline", 0.9),
    ("FILE_ReadStr, Read overridden / getline(3)", "LibraryReadStrOverridingRead",
     "PosixGetline", None),
    ("FILE_ReadStr / std::getline", "LibraryReadStr", "StdGetline", None),
    ("FILE_ReadStr / fgets", "LibraryReadStr", "Fgets", None),
    ("FILE_ReadStr / read(2) per byte", "LibraryReadStr", "ReadPerByte", 100),
    ("FILE_ReadCString / fread reader", "LibraryReadCString", "FreadRecords", 0.5),
    ("FILE_Read 64 KiB / read(2)", "LibraryReadBlocks", "PosixReadBlocks", 0.9),
    ("FILE_Write 64 KiB / write(2)", "LibraryWriteBlocks", "PosixWriteBlocks", 0.9),
    ("FILE_PathFile / std::filesystem::path", "LibraryPathFile", "FilesystemJoin", None),
    ("FILE_ShrinkName / std::filesystem::path", "LibraryShrinkName", "FilesystemShrink", None),
    ("FILE_FindSuffix / std::filesystem::path", "LibraryFindSuffix", "FilesystemExtension", None),
    ("orvik::Lines / FILE_ReadStr", "CppLines", "LibraryReadStr", 0.95),
    ("orvik::Records / FILE_ReadCString", "CppRecords", "LibraryReadCString", 0.9),
    ("FILE_Open + FILE_Close, exact case / open(2) + close", "NameOpen/exact_case",
     "NameFloorOpen/lower", 0.5),
    ("FILE_Open + FILE_Close, any case, 10,000 entries / open(2) + close",
     "NameOpen/any_case", "NameFloorOpen/mixed", 0.4),
    ("FILE_FileExists, missing / stat(2)", "NameExists/missing", "NameFloorStatMissing", 0.5),
    ("creating 3,000 files by upper-case names / open(O_CREAT)", "NameCreate/library/3000",
     "NameCreate/posix/3000", 0.4),
    ("creating 30,000 files by upper-case names / open(O_CREAT)", "NameCreate/library/30000",
     "NameCreate/posix/30000", 0.4),
    ("orvik::PathFile / FILE_PathFile", "CppPathFile", "LibraryPathFile", None),
    ("orvik::ShrinkName / FILE_ShrinkName", "CppShrinkName", "LibraryShrinkName", None),
]


def throughput(run):
    for key in ("bytes_per_second", "items_per_second"):
        if key in run:
            return run[key]
    return 1.0 / run["cpu_time"]  # per-call benchmarks: calls per CPU time unit


def main():
    if len(sys.argv) > 1:
        with open(sys.argv[1]) as f:
            report = json.load(f)
    else:
        out = subprocess.run(["../build/bench/orvik_bench", "--benchmark_format=json"],
                             check=True, capture_output=True, text=True).stdout
        report = json.loads(out)
    # With --benchmark_repetitions, the medians stand for their benchmarks.
    # A benchmark is named in full (NameOpen/exact_case), or by its first
    # part where its arguments do not matter (LibraryReadStr).
    runs = {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name", "median") == "median":
            runs[run["run_name"]] = run
            runs.setdefault(run["run_name"].split("/")[0], run)
    print("| comparison | ratio | goal | met |")
    print("|---|---|---|---|")
    for what, mine, peer, goal in COMPARISONS:
        if mine not in runs or peer not in runs:
            continue
        ratio = throughput(runs[mine]) / throughput(runs[peer])
        met = "" if goal is None else ("yes" if ratio >= goal else "NO")
        goal_text = "" if goal is None else f">= {goal}"
        print(f"| {what} | {ratio:.2f} | {goal_text} | {met} |")


if __name__ == "__main__":
    main()
