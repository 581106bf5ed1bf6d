#!/usr/bin/env python3
"""morvale-run and morvale-report driven as a user would, one table of cases.
usage: cli_test.py MORVALE_RUN MORVALE_REPORT DATA_FOLDER"""
import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import dna, summary, write  # noqa: E402

RUN, REPORT = sys.argv[1], sys.argv[2]
FAST = ("-q --seed 7 -k 3 --window 2000 --step 1000 --pool 20 --draws 10 --refine-window 1500"
        " --refine-step 500 -o").split()
PLANTED = ">planted\n" + dna(30000, 1) + dna(8000, 2, 0.2) + dna(30000, 3) + "\n"
SMALL = ">small\n" + dna(20000, 4) + "\n"
# With --window 2000: a record of the first window's length, one of 5000 letters, one shorter.
RECORDS = ">short\n" + dna(2000, 6) + "\n>edge\n" + dna(5000, 7) + "\n>under\n" + dna(4999, 8)


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


def dots(out, err):
    assert sorted(os.listdir(".")) == sorted(["...fasta", "..fasta", "out"]), os.listdir(".")
    assert set(summary(out)) == {"genome_1", "genome_2"}, summary(out)


def forced(out, err):
    statuses("failed", "done")(out, err)
    assert "cannot remove out/small/islands.bed" in summary(out)["small"]["status"]


def report_input(out, err):
    assert read("out/planted/KL-first.txt").startswith(b"2000\t"), "the input was overwritten"
    assert err.count("\n") == 1 and "is the input" in err, err


def same_as_file(out, err):
    for f in ["islands.bed", "islands.tsv", "KL-first.txt", "KL-refinement.txt"]:
        assert read("ref/planted/" + f) == read(out + "/stdin/" + f), f


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
     ["...fasta", "..fasta"], 0, dots),
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
    ("a job named like the folder's own files", {"a.fa": SMALL}, ["--name", "jobs", "a.fa"], 2,
     "keeps that name for itself"),
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
    ("island letters in the summary are the BED's", {"planted.fa": PLANTED},
     ["planted.fa"], 0, letters),
    ("a full disk", {"small.fa": SMALL, "big.fa": ">big\n" + dna(150000, 9)}, ["--tmpfs", "small.fa", "big.fa"], 1,
     full_disk),
]


def run_case(name, files, args, expected, check):
    """One case in a fresh folder: "" when it passed, the failure, or None when skipped."""
    folder = tempfile.mkdtemp(prefix="cli-")
    os.chdir(folder)
    for path, text in files.items():
        write(path, text)
    stdin, mounted, limit = None, False, None
    try:
        if "--tmpfs" in args:  # the output folder on a small, soon full file system
            args = [a for a in args if a != "--tmpfs"]
            os.mkdir("out")
            if subprocess.call(["mount", "-t", "tmpfs", "-o", "size=40k", "tmpfs", "out"],
                               stderr=subprocess.DEVNULL) != 0:
                return None
            mounted = True
        if name.startswith("threads"):
            limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))  # noqa: E731
        command = [RUN] + FAST + ["out"]
        for first in ("@", "@ref"):  # a run the case builds on, into out/ or ref/
            if first in args:
                at = args.index(first)
                subprocess.run([RUN] + FAST + [first[1:] or "out"] + args[:at], check=True)
                args = args[at + 1:]
                command = [REPORT] if first == "@" else command
        if args[0].startswith("<"):
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
            subprocess.call(["umount", os.path.join(folder, "out")])


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
