#!/usr/bin/env python3
"""morvale-run --call-genes on the example genome: Prodigal's genes kept as genes.gff3, their
composition in genes.tsv and each island's evidence in evidence.tsv, where the islands over the
planted inserts have more atypical genes than the genome's other islands; without Prodigal the
genome fails with one line. usage: call_genes_test.py MORVALE_RUN EXAMPLE_GENOME TRUTH"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import Checks, rows, run, skip, summary  # noqa: E402

RUN, GENOME, TRUTH = (os.path.abspath(a) for a in sys.argv[1:4])
if not shutil.which("prodigal"):
    skip("prodigal is not on PATH")
check = Checks()
planted = [(int(r[0]), int(r[1])) for r in rows(TRUTH)[1:]]  # 0-based, end exclusive
with tempfile.TemporaryDirectory() as work:
    # More islands than the defaults give, so some lie outside the planted inserts.
    done = run([RUN, "-q", "-t", "2", "--seed", "1", "--auto-fraction", "0.1",
                "--call-genes", "-o", os.path.join(work, "out"), GENOME])
    folder = os.path.join(work, "out", "ecoli300k_with_inserts")
    check(done.returncode == 0, "the run: " + done.stderr)
    for name in ("genes.gff3", "genes.tsv", "evidence.tsv"):
        check(os.path.getsize(os.path.join(folder, name)) > 0, name + " is written")
    check(open(os.path.join(folder, "genes.gff3")).readline().startswith("##gff-version"),
          "genes.gff3 is Prodigal's GFF3")
    check("gene_caller\tProdigal " in open(os.path.join(folder, "KL-first.run.txt")).read(),
          "the run record names Prodigal and its version")
    head, *islands = rows(os.path.join(folder, "evidence.tsv"))
    column = {name: i for i, name in enumerate(head)}
    fraction = {True: [], False: []}
    for island in islands:  # record positions here are genome positions: one record, no N
        start, end = int(island[column["island_start"]]) - 1, int(island[column["island_end"]])
        inside = any(min(end, e) - max(start, s) > (end - start) / 2 for s, e in planted)
        fraction[inside].append(float(island[column["atypical_fraction"]]))
    check(fraction[True] and fraction[False], "islands on and off the inserts: %s" % fraction)
    check(min(fraction[True] or [0]) > max(fraction[False] or [1]),
          "planted islands are the more atypical: %s" % fraction)
    # Gap signs and N in the file keep Prodigal's positions the file's: every complete gene of
    # a copy holding them starts with a start codon and ends with a stop (forward strand).
    letters = "".join(open(GENOME).read().split("\n")[1:])
    letters = letters[:100000] + "NNNNN--*.." + letters[100000:200000]
    with open(os.path.join(work, "gaps.fa"), "w") as f:
        f.write(">gaps\n" + letters + "\n")
    check(run([RUN, "-q", "--natural", "--call-genes", "-o", os.path.join(work, "g"),
               os.path.join(work, "gaps.fa")]).returncode == 0, "the copy with gap signs")
    ends = [(letters[int(r[3]) - 1:int(r[3]) + 2].lower(), letters[int(r[4]) - 3:int(r[4])].lower())
            for r in rows(os.path.join(work, "g", "gaps", "genes.gff3"))
            if len(r) == 9 and r[6] == "+" and "partial=00" in r[8]]
    check(len(ends) > 50 and all(s in ("atg", "gtg", "ttg") and e in ("taa", "tag", "tga")
                                 for s, e in ends), "complete genes' codons: %s" % ends[:5])
    genes = rows(os.path.join(folder, "genes.tsv"))
    check(genes[0][-5:] == ["codon_bias", "GC3", "dinucleotide_distance", "atypicality",
                            "atypical"], "genes.tsv's score columns: %s" % genes[0])

    # Without Prodigal on PATH the genome fails, with the one line that says how to get it.
    empty = os.path.join(work, "empty")
    os.mkdir(empty)
    missing = run([RUN, "-q", "--call-genes", "-o", os.path.join(work, "none"), GENOME],
                  env=dict(os.environ, PATH=empty))
    line = "--call-genes needs Prodigal on PATH: install it (Debian: apt-get install prodigal)"
    check(missing.returncode == 1, "status without Prodigal: %d" % missing.returncode)
    check(missing.stderr.count("\n") == 1 and line in missing.stderr, "its line: " + missing.stderr)
    status = summary(os.path.join(work, "none"))["ecoli300k_with_inserts"]["status"]
    check(status == "failed: " + line, "its summary row: " + status)
check.finish()
