#!/usr/bin/env python3
"""morvale-run and morvale-report driven as a user would, one table of cases.
usage: cli_test.py MORVALE_RUN MORVALE_REPORT DATA_FOLDER"""
import gzip
import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import dna, rows, summary, write  # noqa: E402

RUN, REPORT = sys.argv[1], sys.argv[2]
FAST = ("-q --seed 7 -k 3 --window 2000 --step 1000 --pool 20 --draws 10 --refine-window 1500"
        " --refine-step 500 -o").split()
PLANTED = ">planted\n" + dna(30000, 1) + dna(8000, 2, 0.2) + dna(30000, 3) + "\n"
SMALL = ">small\n" + dna(20000, 4) + "\n"
# With --window 2000: a record of the first window's length, one of 5000 letters, one shorter.
RECORDS = ">short\n" + dna(2000, 6) + "\n>edge\n" + dna(5000, 7) + "\n>under\n" + dna(4999, 8)
ZCAT = "<(zcat planted.fa.gz)"  # the genome through a process substitution of bash
HEADER = "\t".join("genome length gc_percent islands island_letters cutoff windows_tested seconds "
                   "status note".split()) + "\n"  # of summary.tsv and a job's rows
JOB = ["--name", "a", "--row", "out/jobs/a.tsv", "small.fa", "+"]  # a workflow job that is done
BEFORE = []  # the files and folders before the command of the case


def read(path):
    return open(path, "rb").read()


def no_leftovers(out):
    left = [os.path.join(d, f) for d, _, fs in os.walk(out) for f in fs
            if f.endswith(".tmp") or f == "morvale.lock"]
    assert not left, left


def statuses(*expected):
    def check(out, err):
        got = [r["status"].split(":")[0] for r in summary(out).values()]
        assert got == list(expected), got
        no_leftovers(out)
    return check


def tree(skip="//"):
    """The folders and files (with their sizes) of the working folder, but those in `skip`."""
    return sorted([d + "/" for d, _, _ in os.walk(".") if not d.startswith(skip)] + [
        "%s %d" % (os.path.join(d, f), os.path.getsize(os.path.join(d, f)))
        for d, _, fs in os.walk(".") if not d.startswith(skip) for f in fs])


def refused(text):
    """One line naming the problem, and nothing written."""
    def check(out, err):
        assert err.count("\n") == 1 and text in err, err
        assert tree() == BEFORE, "written: %s" % (set(tree()) ^ set(BEFORE))
    return check


def named(*genomes):
    def check(out, err):
        assert tree("./out") == [f for f in BEFORE if not f.startswith("./out")], "written outside"
        assert sorted(summary(out)) == sorted(genomes), summary(out)
        assert read(out + "/index.html").startswith(b"<!DOCTYPE html>"), "index.html"
    return check


def run_files(status, *left):
    """{genome: status} in summary.tsv, and which of index.html and island_clusters.tsv are left."""
    def check(out, err):
        got = {n: r["status"] for n, r in summary(out).items()}
        assert got == status, got
        there = [f for f in ("index.html", "island_clusters.tsv") if os.path.exists(out + "/" + f)]
        assert there == list(left), there
    return check


def cluster_lengths(out, err):
    head, *body = rows(out + "/island_clusters.tsv")
    assert body, "no islands in clusters"
    for c in (dict(zip(head, r)) for r in body):
        island, = [i[2:5] for i in rows("%s/%s/islands.tsv" % (out, c["genome"])) if i[0] == c["island"]]
        assert [c["start"], c["end"], c["length"]] == island == [
            island[0], island[1], str(int(island[1]) - int(island[0]) + 1)], (c, island)


def forced(out, err):
    statuses("failed", "done")(out, err)
    assert "cannot remove out/small/islands.bed" in summary(out)["small"]["status"]


def report_input(out, err):
    assert read("out/planted/KL-first.txt").startswith(b"2000\t"), "the input was overwritten"
    assert err.count("\n") == 1 and "is the input" in err, err


def same_as_file(out, err):
    folder, = [f for f in os.listdir(out) if os.path.isdir(os.path.join(out, f))]  # stdin, 63, ...
    for f in ["islands.bed", "islands.tsv", "KL-first.txt", "KL-refinement.txt"]:
        assert read("ref/planted/" + f) == read(out + "/" + folder + "/" + f), f


def letters(out, err):
    bed = read(out + "/planted/islands.bed").decode().splitlines()
    total = sum(int(l.split("\t")[2]) - int(l.split("\t")[1]) for l in bed if "\t" in l)
    assert total > 0 and summary(out)["planted"]["island_letters"] == str(total), total
    assert "Unable to open" not in err, err


def full_disk(out, err):
    assert "No space left on device" in err, err
    no_leftovers(out)
    for d, _, fs in os.walk(out):
        if "KL-first.run.txt" in fs and "islands.tsv" in fs:
            assert os.path.getsize(os.path.join(d, "islands.tsv")) > 0, d


# name, files to make ({path: text, or a directory for None}), arguments, status, and check(out,
# stderr), a text stderr holds or {record: status}; arguments after "@" run morvale-report.
CASES = [
    ("a failing genome between two good ones", {"a.fa": SMALL, "broken.fa": None, "c.fa": SMALL},
     ["a.fa", "broken.fa", "c.fa"], 1, statuses("done", "failed", "done")),
    ("a genome whose t-test fails numerically (poly-A)",
     {"a.fa": SMALL, "polya.fa": ">a\n" + "A" * 60000 + "\n", "c.fa": SMALL},
     ["a.fa", "polya.fa", "c.fa"], 1, statuses("done", "failed", "done")),
    ("genome files named with dots only", {"...fasta": SMALL, "..fasta": SMALL},
     ["...fasta", "..fasta"], 0, named("genome_1", "genome_2")),
    ("a genome file named like the folder's own files", {"index.html": SMALL, "b.fa": SMALL},
     ["index.html", "b.fa"], 0, named("index.html_2", "b")),
    ("a folder that --force cannot clean",
     {"small.fa": SMALL, "planted.fa": PLANTED, "out/small/islands.bed/x": ""},
     ["--force", "small.fa", "planted.fa"], 1, forced),
    ("threads that cannot start", {"a.fa": SMALL}, ["-t", "1000", "a.fa"], 1,
     statuses("failed")),
    ("morvale-report given an input as an output", {"planted.fa": PLANTED},
     ["planted.fa", "@", "--html", "out/planted/KL-first.txt", "planted.fa",
      "out/planted/KL-first.txt", "out/planted/KL-first-Islands.txt", "x"], 2,
     report_input),
    ("an unknown option", {}, ["--bogus", "g.fa"], 2, "unknown option --bogus"),
    ("a job named like the folder's own files", {"a.fa": SMALL}, ["--name", "index.html", "a.fa"],
     2, refused("keeps that name for itself")),
    ("a sheet's name as --name's", {"s.tsv": "name\tgenome\nindex.html\ta.fa\n"},
     ["--check-sheet", "s.tsv"], 1, refused("the name index.html: the output folder keeps")),
    ("--row naming the genome", {"a.fa": SMALL}, ["--row", "./a.fa", "a.fa"], 2,
     refused("is the input")),
    ("--row naming the annotation", {"a.fa": SMALL, "a.gff3": "##gff-version 3\n"},
     ["--annotation", "a.gff3", "--row", "a.gff3", "a.fa"], 2, refused("is the input")),
    ("--row inside the genome's folder", {"a.fa": SMALL}, ["--row", "out/./a/rows.tsv", "a.fa"], 2,
     refused("lies inside the genome's folder")),
    ("--force with fewer genomes than before", {"a.fa": SMALL, "b.fa": SMALL},
     ["a.fa", "b.fa", "+", "--force", "a.fa"], 0, run_files({"a": "done"})),
    ("--collect: a folder without jobs/", {"w/x": ""}, ["--collect", "w"], 2,
     refused("w holds no jobs/ folder")),
    ("--collect: a folder without jobs/, and a sheet", {"w/x": "", "s.tsv": "name\na\n"},
     ["--collect", "w", "s.tsv"], 2, refused("w holds no jobs/ folder")),
    ("--collect: jobs that left no row, or only its header",
     {"small.fa": SMALL, "out/jobs/b.tsv": "", "out/jobs/b.log": "a\nmorvale-run: killed\n\n",
      "out/jobs/c.tsv": HEADER, "out/island_clusters.tsv": "earlier"},
     JOB + ["--collect", "out"], 1,
     run_files({"a": "done", "b": "failed: its job ended: killed",
                "c": "failed: its job ended without a summary row"}, "index.html")),
    ("--collect: done and skipped jobs", {"small.fa": SMALL, "out/island_clusters.tsv": "earlier"},
     JOB + ["--name", "b", "--row", "out/jobs/b.tsv", "--per-record", "small.fa", "+",
            "--collect", "out"], 0,
     run_files({"a": "done", "b/small": "skipped: 20000 letters, fewer than --min-record 50000"},
               "index.html")),
    ("--collect: one row, after a collect of more",
     {"small.fa": SMALL, "out/jobs/b.tsv": "", "s.tsv": "name\na\n"},
     JOB + ["--collect", "out", "+", "--collect", "out", "s.tsv"], 0, run_files({"a": "done"})),
    ("a record no longer than the first window", {"recs.fa": RECORDS},
     ["--no-refine", "--per-record", "--min-record", "2000", "recs.fa"], 0,
     {"short": "skipped: shorter than the first window", "edge": "done", "under": "done"}),
    ("a record of --min-record letters, and one shorter", {"recs.fa": RECORDS},
     ["--no-refine", "--per-record", "--min-record", "5000", "recs.fa"], 0,
     {"short": "skipped: 2000 letters, fewer than --min-record 5000", "edge": "done",
      "under": "skipped: 4999 letters, fewer than --min-record 5000"}),
    ("a genome through - (plain)", {"planted.fa": PLANTED},
     ["planted.fa", "@ref", "<planted.fa", "-"], 0, same_as_file),
    ("a genome through - (gzip)", {"planted.fa": PLANTED, "planted.fa.gz": PLANTED},
     ["planted.fa", "@ref", "<planted.fa.gz", "-"], 0, same_as_file),
    ("a genome through a pipe", {"planted.fa": PLANTED, "planted.fa.gz": PLANTED},
     ["planted.fa", "@ref", ZCAT], 0, same_as_file),
    ("a cut-short gzip stream on standard input",
     {"cut.gz": gzip.compress(PLANTED.encode())[:9000]}, ["<cut.gz", "-"], 1,
     "Standard input is not whole gzip data"),
    ("island_clusters.tsv's places are islands.tsv's", {"planted.fa": PLANTED, "copy.fa": PLANTED},
     ["planted.fa", "copy.fa"], 0, cluster_lengths),
    ("morvale-report with an output in a missing folder", {"planted.fa": PLANTED},
     ["planted.fa", "@", "--html", "gone/p.html", "planted.fa", "out/planted/KL-first.txt",
      "out/planted/KL-first-Islands.txt", "x"], 1,
     refused("cannot write gone/p.html: No such file or directory")),
    ("morvale-report with an output in a read-only folder", {"planted.fa": PLANTED},
     ["--mount=ro:ro", "planted.fa", "@", "--html", "ro/p.html", "planted.fa",
      "out/planted/KL-first.txt", "out/planted/KL-first-Islands.txt", "x"], 1,
     refused("cannot write ro/p.html: Read-only file system")),
    ("island letters in the summary are the BED's", {"planted.fa": PLANTED},
     ["planted.fa"], 0, letters),
    ("a full disk", {"small.fa": SMALL, "big.fa": ">big\n" + dna(150000, 9)},
     ["--mount=out:size=40k", "small.fa", "big.fa"], 1, full_disk),
]


def run_case(name, files, args, expected, check):
    """One case in a fresh folder: "" when it passed, the failure, or None when skipped."""
    folder = tempfile.mkdtemp(prefix="cli-")
    os.chdir(folder)
    for path, text in files.items():
        write(path, text)
    stdin, mounted, limit = None, None, None
    try:
        if args[0].startswith("--mount="):  # --mount=FOLDER:OPTIONS: a small tmpfs there
            mounted, options = args.pop(0)[8:].split(":")
            os.mkdir(mounted)
            if subprocess.call(["mount", "-t", "tmpfs", "-o", options, "tmpfs", mounted],
                               stderr=subprocess.DEVNULL) != 0:
                mounted = None
                return None
        if name.startswith("threads"):
            limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))  # noqa: E731
        command = [RUN] + ([] if args[0] == "--check-sheet" else FAST + ["out"])
        while {"@", "@ref", "+"} & set(args):  # runs the case builds on, into out/ or ref/
            at = min(args.index(m) for m in ("@", "@ref", "+") if m in args)
            subprocess.run([RUN] + FAST + [args[at][1:] or "out"] + args[:at], capture_output=True)
            command = [REPORT] if args[at] == "@" else command
            args = args[at + 1:]
        if ZCAT in args:  # bash runs the command with names as its arguments
            command = ["bash", "-c", '"$@" ' + ZCAT, "bash"] + command
            args.remove(ZCAT)
        BEFORE[:] = tree()
        if args and args[0].startswith("<"):
            stdin = open(args[0][1:], "rb")
            args = args[1:]
        p = subprocess.run(command + args, capture_output=True, text=True, stdin=stdin,
                           preexec_fn=limit)
        if limit and "AddressSanitizer" in p.stderr:
            return None  # a sanitized build cannot run under a memory limit
        if p.returncode != expected:
            return "status %d, not %d: %s" % (p.returncode, expected, p.stderr.strip())
        if isinstance(check, str):
            assert check in p.stderr, p.stderr
        elif isinstance(check, dict):  # the status of each record
            assert {n[5:]: r["status"] for n, r in summary("out").items()} == check, summary("out")
        else:
            check("out", p.stderr)
        return ""
    except (AssertionError, OSError, subprocess.CalledProcessError, KeyError) as e:
        return "%s: %s" % (type(e).__name__, e)
    finally:
        if stdin:
            stdin.close()
        if mounted:
            subprocess.call(["umount", os.path.join(folder, mounted)])


def main():
    home, results = os.getcwd(), []
    for case in CASES:
        results.append(run_case(*case))
        os.chdir(home)
        print({None: "skipped (no tmpfs, or a memory limit under a sanitizer): ", "": "ok: "}.get(
            results[-1], "FAILED: ") + case[0] + (": " + results[-1] if results[-1] else ""))
    sys.exit(1 if any(results) else 0 if "" in results else 77)


if __name__ == "__main__":
    main()
