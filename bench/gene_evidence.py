#!/usr/bin/env python3
"""How well the genes' composition tells true islands from false ones, and what calling the
genes costs. Runs `morvale-run --sensitive --call-genes` on the two tuning chimeras and takes
each island of evidence.tsv as true when at least half its letters lie in foreign DNA (planted
inserts and the host's own islands); prints the AUC of the islands' atypical fraction and its
mean on true and false islands. With --timing GENOME it also times Prodigal alone and
morvale-run with and without --call-genes on that genome.
usage: gene_evidence.py [--bin MORVALE_RUN] [--data DIR] [--seeds N] [--timing GENOME]"""
import argparse
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from accuracy import folder_of, overlap, read_intervals  # noqa: E402

CHIMERAS = [("chimera A", "chimera_A_ecoliK12_saureus"), ("chimera B", "chimera_B_saureus_kpneumoniae")]


def auc(positives, negatives):
    """The chance that a true island's value exceeds a false one's (ties count half)."""
    if not positives or not negatives:
        return float("nan")
    wins = sum((p > n) + 0.5 * (p == n) for p in positives for n in negatives)
    return wins / (len(positives) * len(negatives))


def islands(program, genome, seed, out):
    """evidence.tsv's islands of one run: [(start, end, atypical fraction or None)]."""
    subprocess.run([program, "-q", "-t", "2", "--seed", str(seed), "--sensitive", "--call-genes",
                    "-o", out, genome], check=True)
    with open(os.path.join(out, folder_of(genome), "evidence.tsv")) as f:
        return [(int(r["island_start"]) - 1, int(r["island_end"]),
                 None if r["atypical_fraction"] == "NA" else float(r["atypical_fraction"]))
                for r in csv.DictReader(f, delimiter="\t")]


def timed(command):
    started = time.time()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.time() - started


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bin", default="build/morvale-run")
    parser.add_argument("--data", default="../shared/data")
    parser.add_argument("--seeds", type=int, default=3)
    parser.add_argument("--timing", metavar="GENOME")
    args = parser.parse_args()
    if not shutil.which("prodigal"):
        sys.exit("gene_evidence.py: prodigal is not on PATH (Debian: apt-get install prodigal)")
    print("| genome | islands | true | AUC | atypical fraction, true islands | false islands |")
    print("|---|---:|---:|---:|---:|---:|")
    for label, stem in CHIMERAS:
        genome = os.path.join(args.data, stem + ".fasta.gz")
        truth = read_intervals(os.path.join(args.data, stem + ".truth.tsv")) + read_intervals(
            os.path.join(args.data, stem + ".host_native.tsv"))
        true, false = [], []
        for seed in range(1, args.seeds + 1):
            with tempfile.TemporaryDirectory() as out:
                for start, end, fraction in islands(args.bin, genome, seed, out):
                    if fraction is not None:
                        inside = overlap([(start, end)], truth) * 2 >= end - start
                        (true if inside else false).append(fraction)
        mean = lambda v: sum(v) / len(v) if v else float("nan")  # noqa: E731
        print("| %s | %d | %d | %.2f | %.2f | %.2f |" % (
            label, len(true) + len(false), len(true), auc(true, false), mean(true), mean(false)))
    if args.timing:
        with tempfile.TemporaryDirectory() as work:
            plain = os.path.join(work, "genome.fasta")
            subprocess.run(["sh", "-c", 'gzip -dcf "$0" > "$1"', args.timing, plain], check=True)
            prodigal = timed(["prodigal", "-i", plain, "-o", os.path.join(work, "g.gff"), "-f",
                              "gff", "-p", "single", "-q"])
            run = [args.bin, "-q", "-t", "2", "--seed", "1", "--force", "-o",
                   os.path.join(work, "out"), plain]
            without = timed(run)
            with_genes = timed(run + ["--call-genes"])
        print("\nProdigal alone %.1f s; morvale-run %.1f s, with --call-genes %.1f s: %.1f s more, "
              "%.1f s of it beyond Prodigal" % (prodigal, without, with_genes, with_genes - without,
                                                with_genes - without - prodigal))


if __name__ == "__main__":
    main()
