#!/usr/bin/env python3
"""Accuracy of morvale-run on genomes whose foreign DNA is known, and on genomes without any.

Runs morvale-run on the example genome and the two tuning chimeras of the shared
data folder, once per mode and seed, and prints per genome and mode the letters in
islands, base-pair recall, precision and F1, and seconds, as means over the seeds.
The modes are the defaults, --sensitive and --natural (which draws nothing at random,
so it runs once, without a seed; a morvale-run that does not know it is told and the
mode skipped). The chimeras are scored twice: against their planted inserts, and
against inserts plus the hosts' own islands ("all foreign DNA"). Islands are read
from islands.bed, so positions are the file's own.

--kleb DIR adds the four K. pneumoniae chromosomes that bench/comparative_truth.py
wrote into DIR, scored against their strain-specific DNA. --random DIR runs each mode
once (seed 1) on the genomes of bench/random_genomes.py in DIR, which hold no foreign
DNA, and counts the islands reported on each and the genomes left without any.
Results are Markdown tables for the README; progress goes to standard error.

    bench/accuracy.py [--runs 6] [--threads 2] [--bin build/morvale-run]
                      [--data ../shared/data] [--kleb DIR] [--random DIR]
"""
import argparse
import csv
import glob
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
# label, options, seeded (run once per seed; otherwise once, without --seed)
MODES = [("default", [], True), ("`--sensitive`", ["--sensitive"], True), ("`--natural`", ["--natural"], False)]


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


def folder_of(path):
    """The genome folder morvale-run names after a genome file."""
    name = os.path.basename(path)
    name = name[:-3] if name.endswith(".gz") else name
    return name.rsplit(".", 1)[0]


def unknown_option(result):
    """Whether a finished morvale-run refused an option it does not know."""
    return result.returncode == 2 and "unknown option" in result.stderr


def run_mode(program, options, seed, threads, files):
    """One morvale-run of files: ({folder: (islands, summary row)}, wall seconds), or
    None when it does not know one of the options. Any other failure ends the script."""
    with tempfile.TemporaryDirectory() as out:
        command = [program, "-q", "-t", str(threads), "-o", out] + (
            ["--seed", str(seed)] if seed else []) + options + files
        started = time.time()
        result = subprocess.run(command, capture_output=True, text=True)
        wall = time.time() - started
        if unknown_option(result):
            return None
        if result.returncode != 0:
            sys.exit("accuracy.py: %s ended with status %d: %s" % (
                " ".join(command), result.returncode, result.stderr.strip()))
        with open(os.path.join(out, "summary.tsv")) as f:
            summary = {row["genome"]: row for row in csv.DictReader(f, delimiter="\t")}
        return {folder: (read_intervals(os.path.join(out, folder, "islands.bed")), row)
                for folder, row in summary.items()}, wall


def markdown(head, rows, right):
    """A Markdown table; the columns whose index is in right are aligned right."""
    lines = ["| " + " | ".join(head) + " |",
             "|" + "|".join("---:" if i in right else "---" for i in range(len(head))) + "|"]
    return "\n".join(lines + ["| " + " | ".join(str(c) for c in row) + " |" for row in rows])


def genomes_scored(args):
    """(name, file, [(scored against, [truth files])]) of every genome with a known answer."""
    genomes = [(name, os.path.join(args.data, file), [(label, [os.path.join(args.data, t) for t in truth])
                                                       for label, truth in truths])
               for name, file, truths in GENOMES]
    if args.kleb:
        from comparative_truth import STRAINS
        genomes += [(name, os.path.join(args.kleb, name + ".fasta"),
                     [("strain-specific DNA", [os.path.join(args.kleb, name + ".truth.tsv")])])
                    for name, _ in STRAINS]
    return genomes


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=6, help="seeds per seeded mode (default 6)")
    parser.add_argument("--threads", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--bin", default="build/morvale-run")
    parser.add_argument("--data", default="../shared/data")
    parser.add_argument("--kleb", metavar="DIR", help="also the K. pneumoniae genomes of bench/comparative_truth.py")
    parser.add_argument("--random", metavar="DIR", help="also the genomes of bench/random_genomes.py")
    args = parser.parse_args()
    genomes = genomes_scored(args)
    needed = [g[1] for g in genomes] + [t for g in genomes for _, truth in g[2] for t in truth]
    randoms = sorted(glob.glob(os.path.join(args.random, "*.fasta"))) if args.random else []
    missing = [f for f in needed if not os.path.exists(f)]
    if missing or (args.random and not randoms):
        sys.exit("accuracy.py: missing " + ", ".join(missing or [os.path.join(args.random, "*.fasta")]) +
                 " (bench/comparative_truth.py and bench/random_genomes.py write the --kleb and --random folders)")
    files = [g[1] for g in genomes]
    scores, walls, random_results, modes_run = {}, {}, {}, []
    for mode, options, seeded in MODES:
        for seed in (range(1, args.runs + 1) if seeded else [None]):
            ran = run_mode(args.bin, options, seed, args.threads, files)
            if ran is None:
                print("accuracy.py: %s does not know %s; that mode is skipped" % (args.bin, " ".join(options)))
                break
            folders, wall = ran
            walls.setdefault(mode, []).append(wall)
            print("%s%s: %.1f s" % (mode, ", seed %d" % seed if seed else "", wall), file=sys.stderr)
            for name, file, truths in genomes:
                islands, row = folders[folder_of(file)]
                for label, truth_files in truths:
                    truth = [i for t in truth_files for i in read_intervals(t)]
                    scores.setdefault((mode, name, label), []).append(
                        (covered(islands),) + score(islands, truth) + (float(row["seconds"]),))
        else:
            modes_run.append(mode)
            if randoms:
                folders, wall = run_mode(args.bin, options, 1 if seeded else None, args.threads, randoms)
                walls[mode + " on random genomes"] = [wall]
                print("%s on random genomes: %.1f s" % (mode, wall), file=sys.stderr)
                for file in randoms:
                    row = folders[folder_of(file)][1]
                    random_results[(mode, file)] = (int(row["islands"]), int(row["island_letters"]),
                                                    int(row["length"]))
    print_tables(genomes, randoms, modes_run, scores, walls, random_results, args)


def print_tables(genomes, randoms, modes, scores, walls, random_results, args):
    means = {key: [sum(r[i] for r in runs) / len(runs) for i in range(5)] for key, runs in scores.items()}
    rows = [[name, mode, label, format(round(m[0]), ","), "%.2f" % m[1], "%.2f" % m[2], "%.2f" % m[3], "%.1f" % m[4]]
            for mode in modes for name, _, truths in genomes for label, _ in truths
            for m in [means[(mode, name, label)]]]
    print("Means over %d seeds (modes without a seed: one run), %d threads.\n" % (args.runs, args.threads))
    print(markdown(["genome", "mode", "scored against", "letters in islands", "recall", "precision", "F1",
                    "seconds"], rows, {3, 4, 5, 6, 7}))
    print("\nF1 (recall / precision) by mode:\n")
    rows = [[name, label] + ["%.2f (%.2f / %.2f)" % (m[3], m[1], m[2])
                             for mode in modes for m in [means[(mode, name, label)]]]
            for name, _, truths in genomes for label, _ in truths]
    print(markdown(["genome", "scored against"] + modes, rows, set(range(2, 2 + len(modes)))))
    if randoms:
        randoms = sorted(randoms, key=lambda f: (folder_of(f).split("-")[0], random_results[(modes[0], f)][2]))
        print("\nRandom genomes without foreign DNA (seed 1): islands, and % of the letters in them.\n")
        rows = [[folder_of(f), format(random_results[(modes[0], f)][2], ",")] +
                ["%d (%.1f %%)" % (n, 100 * letters / length)
                 for mode in modes for n, letters, length in [random_results[(mode, f)]]] for f in randoms]
        rows.append(["**genomes without islands**", ""] + [
            "**%d of %d**" % (sum(random_results[(mode, f)][0] == 0 for f in randoms), len(randoms))
            for mode in modes])
        print(markdown(["genome", "length"] + modes, rows, set(range(1, 2 + len(modes)))))
    print("\nWall time of each morvale-run (all genomes of a run together):\n")
    print(markdown(["mode", "runs", "seconds per run"],
                   [[mode, len(w), "%.1f" % (sum(w) / len(w))] for mode, w in walls.items()], {1, 2}))


if __name__ == "__main__":
    main()
