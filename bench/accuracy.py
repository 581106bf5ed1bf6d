#!/usr/bin/env python3
"""Accuracy of morvale-run on genomes whose foreign DNA is known.

Runs morvale-run on the example genome and the two tuning chimeras of the shared
data folder, once per preset (default, --sensitive) and seed, and prints per
genome and preset the letters in islands, base-pair recall, precision and F1, and
seconds, as means over the seeds. The chimeras are scored twice: against their
planted inserts, and against inserts plus the hosts' own islands ("all foreign
DNA"). Islands are read from islands.bed, so positions are the file's own.

    bench/accuracy.py [--runs 6] [--threads 2] [--bin build/morvale-run]
                      [--data ../shared/data]
"""
import argparse
import csv
import os
import subprocess
import sys
import tempfile
import time

GENOMES = [
    # name, file, truth files scored against (label, [files])
    ("example", "ecoli300k_with_inserts.fasta", [("inserts", ["ecoli300k_with_inserts.truth.tsv"])]),
    ("chimera A", "chimera_A_ecoliK12_saureus.fasta.gz",
     [("inserts", ["chimera_A_ecoliK12_saureus.truth.tsv"]),
      ("all foreign DNA", ["chimera_A_ecoliK12_saureus.truth.tsv",
                           "chimera_A_ecoliK12_saureus.host_native.tsv"])]),
    ("chimera B", "chimera_B_saureus_kpneumoniae.fasta.gz",
     [("inserts", ["chimera_B_saureus_kpneumoniae.truth.tsv"]),
      ("all foreign DNA", ["chimera_B_saureus_kpneumoniae.truth.tsv",
                           "chimera_B_saureus_kpneumoniae.host_native.tsv"])]),
]
PRESETS = [("default", []), ("--sensitive", ["--sensitive"])]


def merged(intervals):
    """Half-open intervals [start, end) sorted and joined where they overlap or touch."""
    out = []
    for start, end in sorted(i for i in intervals if i[1] > i[0]):
        if out and start <= out[-1][1]:
            out[-1][1] = max(out[-1][1], end)
        else:
            out.append([start, end])
    return [tuple(i) for i in out]


def covered(intervals):
    return sum(end - start for start, end in merged(intervals))


def overlap(a, b):
    """Letters covered by both interval sets."""
    a, b = merged(a), merged(b)
    i = j = total = 0
    while i < len(a) and j < len(b):
        total += max(0, min(a[i][1], b[j][1]) - max(a[i][0], b[j][0]))
        if a[i][1] < b[j][1]:
            i += 1
        else:
            j += 1
    return total


def score(predicted, truth):
    """Base-pair recall, precision and F1 of predicted intervals against the truth."""
    hit = overlap(predicted, truth)
    recall = hit / covered(truth) if covered(truth) else 0.0
    precision = hit / covered(predicted) if covered(predicted) else 0.0
    f1 = 2 * recall * precision / (recall + precision) if recall + precision else 0.0
    return recall, precision, f1


def read_intervals(path):
    """The first two columns of a TSV or BED file, skipping header and comment lines."""
    intervals = []
    with open(path) as f:
        for row in csv.reader(f, delimiter="\t"):
            if not row or row[0].startswith("#"):
                continue
            columns = row[1:3] if path.endswith(".bed") else row[0:2]
            try:
                intervals.append((int(columns[0]), int(columns[1])))
            except ValueError:
                continue  # a header line
    return intervals


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=6, help="seeds per preset (default 6)")
    parser.add_argument("--threads", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--bin", default="build/morvale-run")
    parser.add_argument("--data", default="../shared/data")
    args = parser.parse_args()
    files = [os.path.join(args.data, g[1]) for g in GENOMES]
    missing = [f for f in files if not os.path.exists(f)]
    if missing:
        sys.exit("accuracy.py: missing " + ", ".join(missing))
    print("genome\tpreset\tscored against\tletters in islands\trecall\tprecision\tF1\tseconds")
    for preset, options in PRESETS:
        results = {}
        for seed in range(1, args.runs + 1):
            with tempfile.TemporaryDirectory() as out:
                started = time.time()
                subprocess.run([args.bin, "-q", "--seed", str(seed), "-t", str(args.threads),
                                "-o", out] + options + files, check=True)
                seconds = {}
                with open(os.path.join(out, "summary.tsv")) as f:
                    for row in csv.DictReader(f, delimiter="\t"):
                        seconds[row["genome"]] = float(row["seconds"])
                for name, file, truths in GENOMES:
                    folder = os.path.basename(file).replace(".gz", "").rsplit(".", 1)[0]
                    islands = read_intervals(os.path.join(out, folder, "islands.bed"))
                    for label, truth_files in truths:
                        truth = []
                        for t in truth_files:
                            truth += read_intervals(os.path.join(args.data, t))
                        results.setdefault((name, label), []).append(
                            (covered(islands),) + score(islands, truth) + (seconds[folder],))
        for name, _, truths in GENOMES:
            for label, _ in truths:
                runs = results[(name, label)]
                mean = [sum(r[i] for r in runs) / len(runs) for i in range(5)]
                print("%s\t%s\t%s\t%.0f\t%.2f\t%.2f\t%.2f\t%.1f" % ((name, preset, label) + tuple(mean)))


if __name__ == "__main__":
    main()
