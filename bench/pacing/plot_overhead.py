#!/usr/bin/env python3
"""Draws the pacing benchmark's overhead per line for each contender: the series in playing
order on the left, and the same values sorted (the share of lines at or below each overhead)
on the right.

Usage: plot_overhead.py PACING_OVERHEAD_CSV OUTPUT_PNG
"""
import csv
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.ticker import FixedLocator, FormatStrFormatter  # noqa: E402

# Linear up to the 1 ms goal, logarithmic above it: the ticks say so in plain milliseconds.
OVERHEAD_TICKS_MS = [0, 0.25, 0.5, 0.75, 1, 2, 5, 10, 20, 50, 100, 200, 500]


def read_series(path):
    series = {}
    with open(path, newline="") as data:
        for row in csv.DictReader(data):
            series.setdefault(row["contender"], ([], []))
            lines, overheads = series[row["contender"]]
            lines.append(int(row["line"]))
            overheads.append(float(row["overhead_ms"]))
    return series


def main():
    csv_path, png_path = sys.argv[1], sys.argv[2]
    series = read_series(csv_path)
    figure, (by_line, sorted_axes) = plt.subplots(1, 2, figsize=(12, 4.5))
    for name, (lines, overheads) in series.items():
        by_line.plot(lines, overheads, linewidth=0.7, label=name)
        ordered = sorted(overheads)
        shares = [100 * (i + 1) / len(ordered) for i in range(len(ordered))]
        sorted_axes.plot(shares, ordered, linewidth=1.2, label=name)
    for axes in (by_line, sorted_axes):
        axes.set_yscale("symlog", linthresh=1)
        axes.yaxis.set_major_locator(FixedLocator(OVERHEAD_TICKS_MS))
        axes.yaxis.set_major_formatter(FormatStrFormatter("%g"))
        axes.set_ylabel("overhead beyond the 50 ms floor (ms)")
        axes.axhline(1, color="grey", linestyle="--", linewidth=0.8)
        axes.grid(True, which="both", alpha=0.3)
    by_line.set_xlabel("line of the command file")
    by_line.set_title("Per line, in playing order")
    sorted_axes.set_xlabel("lines at or below (%)")
    sorted_axes.set_title("Sorted (the dashed line is the 1 ms goal)")
    sorted_axes.legend(loc="upper left")
    figure.tight_layout()
    figure.savefig(png_path, dpi=110)


if __name__ == "__main__":
    main()
