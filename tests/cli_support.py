"""What the scripts that drive the real programs share: running them, DNA and FASTA files,
TSV tables, waiting, and a CTest script's exit status (0 passed, 1 failed, 77 skipped)."""
import gzip
import os
import random
import subprocess
import sys
import time


def dna(n, seed, gc=0.5):
    """n random letters from a seeded generator; gc is the chance of G or C."""
    r = random.Random(seed)
    return "".join(r.choice("GC") if r.random() < gc else r.choice("AT") for _ in range(n))


def write(path, text):
    """Writes text to path (gzip for a name ending in .gz; bytes as they are; a folder for
    None) and its folders."""
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    if text is None:
        os.makedirs(path)
        return
    binary = isinstance(text, bytes)
    with (open(path, "wb") if binary else gzip.open(path, "wt") if path.endswith(".gz")
          else open(path, "w")) as f:
        f.write(text)


def fasta(path, records):
    """A FASTA file of {header: letters}, 70 letters a line."""
    lines = lambda s: "".join(s[i:i + 70] + "\n" for i in range(0, len(s), 70))  # noqa: E731
    write(path, "".join(">%s\n%s" % (name, lines(letters)) for name, letters in records.items()))


def run(args, **kw):
    """A program run to its end with its output captured as text."""
    return subprocess.run(args, capture_output=True, text=True, timeout=100, **kw)


def rows(path):
    """A TSV file's rows split at tabs, without its '#' comment lines."""
    with open(path) as f:
        return [line.rstrip("\n").split("\t") for line in f if not line.startswith("#")]


def summary(out):
    """The summary.tsv of a morvale-run folder: {genome: {column: value}}."""
    head, *body = rows(os.path.join(out, "summary.tsv"))
    return {row[0]: dict(zip(head, row)) for row in body}


def wait_for(condition, what, seconds=60):
    end = time.time() + seconds
    while not condition():
        if time.time() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def skip(why):
    print(why + "; skipped")
    sys.exit(77)


class Checks:
    """Failures collected along a script; finish() prints them and exits."""

    def __init__(self):
        self.failures = []

    def __call__(self, ok, what):
        self.failures += [] if ok else [what]
        return ok

    def finish(self):
        print("".join("FAILED: %s\n" % f for f in self.failures), end="")
        sys.exit(1 if self.failures else 0)
