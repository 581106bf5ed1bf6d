"""SIGINT, SIGTERM and SIGHUP end both programs cleanly, with the shell's 128 + n.

The dialogue (morvale) ends by the signal itself, after removing its lock: the
test checks that the child was killed by that signal, which a shell reports as
128 + n. morvale-run stops at the next window, writes summary.tsv marking the
genome "interrupted", releases its lock and exits with status 128 + n.
Usage: stop_signal_test.py MORVALE MORVALE_RUN
"""
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

morvale, morvale_run = (os.path.abspath(p) for p in sys.argv[1:3])


def wait_for(condition, what):
    for _ in range(1200):
        if condition():
            return
        time.sleep(0.05)
    sys.exit("timed out waiting for " + what)


def run(folder, argv, answers, started, sig):
    with open(os.path.join(folder, "err.txt"), "w") as err:
        child = subprocess.Popen(argv, cwd=folder, stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=err)
        child.stdin.write(answers.encode())
        child.stdin.close()
        wait_for(lambda: started(folder) or child.poll() is not None, "the scan to start")
        child.send_signal(sig)
        return child.wait(timeout=60)


def exists(folder, *names):
    return all(os.path.exists(os.path.join(folder, n)) for n in names)


def main():
    rng = random.Random(5)
    top = tempfile.mkdtemp(prefix="morvale-signal-")
    genome = os.path.join(top, "big.fa")
    with open(genome, "w") as f:
        f.write(">big\n" + "".join(rng.choice("ACGT") for _ in range(400000)) + "\n")
    with open(os.path.join(top, "islands.txt"), "w") as f:
        f.write("1000 300000\n")
    first = "6 1 8 500 50 30 1 1 %s 0.01 2 n n\n" % genome
    refine = "6 2 8 500 50 30 1 %s %s 1 1 0.05\n" % (genome, os.path.join(top, "islands.txt"))
    batch = [morvale_run, "-t", "1", "-k", "8", "--step", "1", "-o", "out", genome]
    # (program, answers, the record a scan removes when it starts, signal)
    cases = [
        ("morvale", first, "KL-first.run.txt", signal.SIGINT),
        ("morvale", first, "KL-first.run.txt", signal.SIGTERM),
        ("morvale", refine, "KL-refinement.run.txt", signal.SIGHUP),
        ("morvale-run", "", "out/big/KL-first.run.txt", signal.SIGINT),
        ("morvale-run", "", "out/big/KL-first.run.txt", signal.SIGTERM),
        ("morvale-run", "", "out/big/KL-first.run.txt", signal.SIGHUP),
    ]
    failures = []
    for n, (program, answers, record, sig) in enumerate(cases):
        folder = os.path.join(top, str(n))
        os.makedirs(os.path.dirname(os.path.join(folder, record)))
        with open(os.path.join(folder, record), "w") as f:
            f.write("earlier\n")  # an earlier run's record: gone once the scan starts
        lock = "morvale.lock" if program == "morvale" else "out/morvale.lock"
        started = lambda d: exists(d, lock) and not exists(d, record)
        argv = [morvale] if program == "morvale" else batch + ["--force"]
        status = run(folder, argv, answers, started, sig)
        name = "%s %s" % (program, signal.Signals(sig).name)
        wanted = -sig if program == "morvale" else 128 + sig
        if status != wanted:
            failures.append("%s: status %d, wanted %d" % (name, status, wanted))
        if exists(folder, lock) or exists(folder, record):
            failures.append(name + ": the lock or the run record is left behind")
        if program == "morvale-run":
            summary = open(os.path.join(folder, "out/summary.tsv")).read() \
                if exists(folder, "out/summary.tsv") else ""
            if "\tinterrupted\t" not in summary:
                failures.append(name + ": summary.tsv does not mark big interrupted")
    for line in failures:
        print(line)
    subprocess.run(["rm", "-rf", top])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
