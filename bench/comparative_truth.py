#!/usr/bin/env python3
"""A comparative truth for four K. pneumoniae chromosomes: their strain-specific DNA.

Takes the chromosome (the longest record) of each of the four genomes of Debian's
kleborate-examples package (HS11286, MGH 78578, NTUH-K2044, 1084), aligns each with
minimap2 (-x asm10 -c) against the other three, and calls strain-specific every run
of at least --min-run letters (default 5,000) that no alignment matches. A letter
counts as matched only where an alignment's CIGAR has an M, = or X operation over
it: an alignment's whole span would also cover the large insertions it bridges.

Writes into DIR, per genome NAME: NAME.fasta (the chromosome), NAME.truth.tsv (a
header line, then start and end of each region: 0-based, end exclusive, in the
chromosome's letters), NAME.paf (the alignments); and prints per genome the
regions, their kbp and the seconds minimap2 took.

    bench/comparative_truth.py DIR [--threads 2] [--min-run 5000]
                               [--source /usr/share/doc/kleborate/examples/data]

Installs kleborate-examples and minimap2 with apt-get when they are missing and
it runs as root; otherwise it says what to install.
"""
import argparse
import lzma
import os
import re
import shutil
import subprocess
import sys
import time

SOURCE = "/usr/share/doc/kleborate/examples/data"
# name used for the files written, file in the package
STRAINS = [
    ("HS11286", "Klebs_HS11286.fna.xz"),
    ("MGH78578", "MGH78578.fna.xz"),
    ("NTUH-K2044", "NTUH-K2044.fna.xz"),
    ("Kp1084", "Klebs_Kp1084.fna.xz"),
]
PACKAGES = ["kleborate-examples", "minimap2"]
MATCH_OPS = "M=X"  # consume query and target, the letters are aligned
QUERY_OPS = "MIS=X"  # consume the query


def cigar_matches(query_length, query_start, query_end, strand, cigar):
    """The query intervals [start, end) that the CIGAR's M, = and X operations align.

    The CIGAR of a PAF line runs along the target. On the '-' strand it runs along the
    reverse complement of the query, starting at query_length - query_end, so each
    aligned stretch is mapped back to forward query positions. Raises ValueError when
    the CIGAR does not consume exactly query_end - query_start query letters.
    """
    operations = re.findall(r"(\d+)([MIDNSHP=X])", cigar)
    if "".join(n + op for n, op in operations) != cigar:
        raise ValueError("bad CIGAR " + cigar[:40])
    intervals = []
    position = 0  # query letters consumed so far, along the CIGAR
    for count, op in operations:
        count = int(count)
        if op in MATCH_OPS:
            if strand == "+":
                intervals.append((query_start + position, query_start + position + count))
            else:
                intervals.append((query_end - position - count, query_end - position))
        if op in QUERY_OPS:
            position += count
    if position != query_end - query_start or not 0 <= query_start <= query_end <= query_length:
        raise ValueError("CIGAR %s does not fit the query span %d-%d" % (cigar[:40], query_start, query_end))
    return intervals


def paf_matches(lines):
    """{query name: (query length, [aligned intervals])} of PAF lines with a cg:Z: tag."""
    queries = {}
    for line in lines:
        fields = line.rstrip("\n").split("\t")
        if len(fields) < 12:
            continue
        cigar = next((f[5:] for f in fields[12:] if f.startswith("cg:Z:")), None)
        if cigar is None:
            raise ValueError("a PAF line without a CIGAR (cg:Z:); run minimap2 with -c")
        name, length, start, end, strand = fields[0], int(fields[1]), int(fields[2]), int(fields[3]), fields[4]
        queries.setdefault(name, (length, []))[1].extend(cigar_matches(length, start, end, strand, cigar))
    return queries


def uncovered_runs(length, covered, min_run):
    """The stretches [start, end) of [0, length) outside every covered interval, at
    least min_run letters long."""
    runs, position = [], 0
    for start, end in sorted(covered) + [(length, length)]:
        if start - position >= min_run:
            runs.append((position, start))
        position = max(position, end)
    return runs


def longest_record(path):
    """(header, letters) of the longest record of a FASTA file, plain or xz."""
    best, header, parts = ("", ""), None, []
    with (lzma.open(path, "rt") if path.endswith(".xz") else open(path)) as f:
        for line in list(f) + [">"]:
            if line.startswith(">"):
                if header is not None and sum(map(len, parts)) > len(best[1]):
                    best = (header, "".join(parts))
                header, parts = line[1:].strip(), []
            else:
                parts.append(line.strip())
    return best


def write_fasta(path, header, letters):
    with open(path, "w") as f:
        f.write(">" + header + "\n")
        for i in range(0, len(letters), 70):
            f.write(letters[i:i + 70] + "\n")


def ensure_tools(source, minimap2):
    """Installs the missing Debian packages as root; returns a reason when they stay missing."""
    def missing():
        tools = [] if shutil.which(minimap2) else ["minimap2"]
        files = [] if all(os.path.exists(os.path.join(source, f)) for _, f in STRAINS) else ["kleborate-examples"]
        return files + tools
    if not missing():
        return None
    packages = missing()
    if os.geteuid() != 0 or not shutil.which("apt-get"):
        return ("missing Debian package(s) %s: install with `sudo apt-get install %s`, "
                "or give --source (the folder of the four .fna.xz files) and --minimap2"
                % (", ".join(packages), " ".join(packages)))
    print("installing %s with apt-get" % " ".join(packages), file=sys.stderr)
    install = ["apt-get", "install", "-y", "--no-install-recommends"] + packages
    if subprocess.run(install).returncode != 0:
        subprocess.run(["apt-get", "update"])
        subprocess.run(install)
    if missing():
        return ("%s still missing after apt-get install (is /usr/share/doc excluded from "
                "installs on this machine? then give --source)" % " and ".join(missing()))
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", metavar="DIR", help="folder to write into (created)")
    parser.add_argument("--threads", type=int, default=2, help="minimap2 threads (default 2)")
    parser.add_argument("--min-run", type=int, default=5000, help="shortest strain-specific run (default 5000)")
    parser.add_argument("--source", default=SOURCE, help="folder of the four .fna.xz files")
    parser.add_argument("--minimap2", default="minimap2")
    args = parser.parse_args()
    problem = ensure_tools(args.source, args.minimap2)
    if problem:
        sys.exit("comparative_truth.py: " + problem)
    os.makedirs(args.out, exist_ok=True)
    chromosomes = {}
    for name, file in STRAINS:
        header, letters = longest_record(os.path.join(args.source, file))
        chromosomes[name] = header.split()[0]
        write_fasta(os.path.join(args.out, name + ".fasta"), header, letters)
    print("| genome | record | length | regions | kbp | seconds |")
    print("|---|---|---:|---:|---:|---:|")
    for name, _ in STRAINS:
        paf = os.path.join(args.out, name + ".paf")
        started = time.time()
        with open(paf, "w") as f:
            for other, _ in STRAINS:
                if other != name:
                    subprocess.run([args.minimap2, "-x", "asm10", "-c", "-t", str(args.threads),
                                    os.path.join(args.out, other + ".fasta"),
                                    os.path.join(args.out, name + ".fasta")],
                                   stdout=f, stderr=subprocess.DEVNULL, check=True)
        seconds = time.time() - started
        with open(paf) as f:
            length, covered = paf_matches(f).get(chromosomes[name], (None, []))
        if length is None:  # nothing aligned at all
            length = sum(len(line.strip()) for line in open(os.path.join(args.out, name + ".fasta"))
                         if not line.startswith(">"))
        runs = uncovered_runs(length, covered, args.min_run)
        with open(os.path.join(args.out, name + ".truth.tsv"), "w") as f:
            f.write("start\tend\n" + "".join("%d\t%d\n" % r for r in runs))
        print("| %s | %s | %s | %d | %.1f | %.1f |" % (
            name, chromosomes[name], format(length, ","), len(runs),
            sum(e - s for s, e in runs) / 1000, seconds))


if __name__ == "__main__":
    main()
