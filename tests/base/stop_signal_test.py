"""SIGINT, SIGTERM and SIGHUP end both programs cleanly, with the shell's 128 + n.

The dialogue (morvale) ends by the signal itself, after removing its lock and the
run record of the unfinished scan. morvale-run stops at the next window, keeps the
genomes finished before, marks the unfinished one "interrupted" in summary.tsv,
leaves no island_clusters.tsv (of this run or an earlier one), releases its lock and
exits with status 128 + n.
Usage: stop_signal_test.py MORVALE MORVALE_RUN
"""
import os
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import Checks, dna, fasta, summary, wait_for, write  # noqa: E402

morvale, morvale_run = (os.path.abspath(p) for p in sys.argv[1:3])
top = tempfile.mkdtemp(prefix="morvale-signal-")
big, small = os.path.join(top, "big.fa"), os.path.join(top, "small.fa")
fasta(big, {"big": dna(400000, 5)})
fasta(small, {"small": dna(6000, 8)})
fasta(os.path.join(top, "small2.fa"), {"small2": dna(6000, 9)})
write(os.path.join(top, "islands.txt"), "1000 300000\n")
first = "6 1 8 500 50 30 1 1 %s 0.01 2 n n\n" % big
refine = "6 2 8 500 50 30 1 %s %s 1 1 0.05\n" % (big, os.path.join(top, "islands.txt"))
batch = [morvale_run, "-t", "1", "-k", "8", "--step", "1", "-o", "out", "--force", small, os.path.join(top, "small2.fa"), big]
check = Checks()
# program, answers, the record a scan removes when it starts, signal
for n, (argv, answers, record, sig) in enumerate([
        ([morvale], first, "KL-first.run.txt", signal.SIGINT),
        ([morvale], first, "KL-first.run.txt", signal.SIGTERM),
        ([morvale], refine, "KL-refinement.run.txt", signal.SIGHUP),
        (batch, "", "out/big/KL-first.run.txt", signal.SIGINT),
        (batch, "", "out/big/KL-first.run.txt", signal.SIGTERM),
        (batch, "", "out/big/KL-first.run.txt", signal.SIGHUP)]):
    folder = os.path.join(top, str(n))
    at = lambda *names: all(os.path.exists(os.path.join(folder, p)) for p in names)  # noqa: E731
    for earlier in [record] + (["out/island_clusters.tsv"] if argv is batch else []):
        write(os.path.join(folder, earlier), "earlier\n")  # gone once the scan starts
    lock = "out/morvale.lock" if argv is batch else "morvale.lock"
    name = "%s %s" % (os.path.basename(argv[0]), signal.Signals(sig).name)
    with open(os.path.join(folder, "err.txt"), "w") as err:
        child = subprocess.Popen(argv, cwd=folder, stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=err)
        child.stdin.write(answers.encode())
        child.stdin.close()
        wait_for(lambda: child.poll() is not None or at(lock) and not at(record) and
                 (argv is not batch or at("out/big/KL-first.txt")), "the scan to start")
        child.send_signal(sig)
        status = child.wait(timeout=60)
    check(status == (128 + sig if argv is batch else -sig), "%s: status %d" % (name, status))
    check(not at(lock) and not at(record), name + ": the lock or the run record is left behind")
    if argv is batch:
        rows = summary(os.path.join(folder, "out")) if at("out/summary.tsv") else {}
        check({g: r["status"] for g, r in rows.items()} == {"small": "done", "small2": "done",
                                                             "big": "interrupted"}
              and at("out/small/KL-first.run.txt", "out/small/islands.tsv"),
              name + ": the finished genome is not whole, or big is not marked interrupted")
        check(not at("out/island_clusters.tsv"), name + ": island_clusters.tsv is left")
subprocess.run(["rm", "-rf", top])
check.finish()
