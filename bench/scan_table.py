#!/usr/bin/env python3
"""Prints scan_bench's JSON output as the markdown table of
docs/performance.md: per class, images, symbols drawn, then time per image
and symbols read for each reader, and tarn's time over zxing-cpp's; then
all classes together.

Usage: scan_table.py RESULTS.json
where RESULTS.json comes from
  scan_bench --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out=RESULTS.json --benchmark_out_format=json
Medians where the run repeated, the single run where it did not.
"""

import json
import sys

READERS = ["tarn_scan", "zxing_cpp", "zbar"]


def runs_by_class(benchmarks):
    """{class index: {reader: run}}, medians taking the place of runs."""
    classes = {}
    for run in benchmarks:
        if run.get("aggregate_name", "median") != "median":
            continue
        reader, index = run["run_name"].split("/")
        classes.setdefault(int(index), {})[reader] = run
    return classes


def milliseconds(seconds):
    return "%.3g ms" % (seconds * 1000)


def row(runs):
    first = runs[READERS[0]]
    cells = [first["label"], "%d" % first["images"], "%d" % first["drawn"]]
    for reader in READERS:
        cells += [milliseconds(runs[reader]["time_per_image"]),
                  "%d" % round(runs[reader]["read"])]
    ratio = runs["tarn_scan"]["time_per_image"] / \
        runs["zxing_cpp"]["time_per_image"]
    return cells + ["%.2f" % ratio]


def total(classes):
    """Every class together: sums, and the time per image over all."""
    runs = {}
    for reader in READERS:
        of_reader = [c[reader] for c in classes.values()]
        runs[reader] = {
            "label": "**all**",
            "images": sum(r["images"] for r in of_reader),
            "drawn": sum(r["drawn"] for r in of_reader),
            "read": sum(r["read"] for r in of_reader),
            "time_per_image": sum(r["time_per_image"] * r["images"]
                                  for r in of_reader) /
            sum(r["images"] for r in of_reader)}
    return runs


def main():
    with open(sys.argv[1]) as results:
        classes = runs_by_class(json.load(results)["benchmarks"])
    print("| class | images | symbols | tarn per image | read "
          "| zxing-cpp per image | read | ZBar per image | read "
          "| tarn / zxing |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for index in sorted(classes):
        print("| " + " | ".join(row(classes[index])) + " |")
    print("| " + " | ".join(row(total(classes))) + " |")


if __name__ == "__main__":
    sys.exit(main())
