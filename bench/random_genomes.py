#!/usr/bin/env python3
"""Random genomes without foreign DNA, for counting the islands a scan reports where none are.

Writes COUNT genomes (default 20) as FASTA into DIR: the first half i.i.d. letters
with the GC content of a real genome, the other half drawn from second-order Markov
chains (each letter depends on the two before it) trained on the real genomes of the
shared data folder (S. aureus N315, K. pneumoniae HS11286, the E. coli example, phage
lambda: 48 kbp give each of the 16 two-letter contexts some 3,000 observations, plenty
for 64 transition probabilities). Lengths spread evenly over 0.5-5 Mbp in each half, the
sources taken in turn. The same --seed gives the same files, byte for byte.

    bench/random_genomes.py DIR [--count 20] [--seed 1] [--data ../shared/data]

A file is named after its kind, source and length: iid-saureus-gc32.8-500k.fasta,
markov-kpneumoniae-1000k.fasta, ...
"""
import argparse
import bisect
import collections
import os
import random
import re
import sys

SOURCES = [  # short name, file in the shared data folder
    ("saureus", "saureus_N315.fasta"),
    ("kpneumoniae", "kpneumoniae_HS11286_chr.fasta"),
    ("ecoli", "ecoli300k_with_inserts.fasta"),
    ("lambda", "phage_lambda.fasta"),
]
LETTERS = "ACGT"


def read_letters(path):
    """The A, C, G and T of a FASTA file, upper case, records joined, other letters left out."""
    with open(path) as f:
        text = "".join(line.strip() for line in f if not line.startswith(">")).upper()
    return re.sub("[^ACGT]+", "", text)


def gc_fraction(letters):
    return (letters.count("G") + letters.count("C")) / len(letters)


def markov_table(letters):
    """Cumulative next-letter probabilities of a second-order chain: 16 rows, one per
    two-letter context (index 4 * first + second), each the 3 bounds between A|C|G|T.
    Every count starts at 1, so no transition is impossible."""
    counts = [[1] * 4 for _ in range(16)]
    triples = collections.Counter()
    for frame in range(3):  # every overlapping triple, in three non-overlapping passes
        triples.update(re.findall("...", letters[frame:]))
    for (a, b, c), n in triples.items():
        counts[4 * LETTERS.index(a) + LETTERS.index(b)][LETTERS.index(c)] += n
    table = []
    for row in counts:
        total, running, bounds = sum(row), 0, []
        for n in row[:3]:
            running += n
            bounds.append(running / total)
        table.append(bounds)
    return table


def iid_letters(length, gc, rng):
    """length letters drawn independently: G and C each gc / 2, A and T each (1 - gc) / 2."""
    at = (1 - gc) / 2
    return "".join(rng.choices(LETTERS, cum_weights=[at, 0.5, 0.5 + gc / 2, 1.0], k=length))


def markov_letters(length, table, rng):
    """length letters of the second-order chain of markov_table, started in a random context."""
    state = rng.randrange(16)
    out = bytearray(length)
    draw = rng.random
    for i in range(length):
        letter = bisect.bisect(table[state], draw())
        out[i] = letter
        state = ((state << 2) | letter) & 15
    return out.translate(bytes.maketrans(bytes(range(4)), LETTERS.encode())).decode()


def plan(count):
    """(kind, source index, length) of each genome: i.i.d. first, then Markov, each half's
    lengths spread evenly over 0.5-5 Mbp (rounded to kbp), sources in turn."""
    genomes = []
    for kind, n in (("iid", count - count // 2), ("markov", count // 2)):
        for i in range(n):
            length = 500_000 + (4_500_000 * i // (n - 1) if n > 1 else 0)
            source = (i + (1 if kind == "markov" else 0)) % len(SOURCES)
            genomes.append((kind, source, length // 1000 * 1000))
    return genomes


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", metavar="DIR", help="folder to write into (created)")
    parser.add_argument("--count", type=int, default=20, help="genomes to write (default 20)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--data", default="../shared/data", help="folder of the real genomes")
    args = parser.parse_args()
    sources = []
    for name, file in SOURCES:
        path = os.path.join(args.data, file)
        if not os.path.exists(path):
            sys.exit("random_genomes.py: missing " + path)
        letters = read_letters(path)
        sources.append((name, gc_fraction(letters), markov_table(letters)))
    os.makedirs(args.out, exist_ok=True)
    for number, (kind, source, length) in enumerate(plan(args.count)):
        name, gc, table = sources[source]
        rng = random.Random(args.seed * 1_000_003 + number)
        if kind == "iid":
            stem = "iid-%s-gc%.1f-%dk" % (name, 100 * gc, length // 1000)
            letters = iid_letters(length, gc, rng)
        else:
            stem = "markov-%s-%dk" % (name, length // 1000)
            letters = markov_letters(length, table, rng)
        with open(os.path.join(args.out, stem + ".fasta"), "w") as f:
            f.write(">%s random %s genome, seed %d, %s composition\n" % (stem, kind, args.seed, name))
            for i in range(0, length, 70):
                f.write(letters[i:i + 70] + "\n")
        print("%s\t%d\t%.1f" % (stem, length, 100 * gc_fraction(letters)))


if __name__ == "__main__":
    main()
