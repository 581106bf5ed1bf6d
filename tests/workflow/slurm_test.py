#!/usr/bin/env python3
"""The Snakemake workflow on three small genomes, locally (a genome that fails, then a rerun of
only what is missing) and on a one-node SLURM started here, against one morvale-run of them.
Usage: slurm_test.py MORVALE_RUN SOURCE_DIR; exits 77 without the tools or the daemons."""
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import dna, fasta, rows, run, skip, write  # noqa: E402

RUN, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
SNAKEFILE = os.path.join(SOURCE, "workflow", "Snakefile")
PROFILE = os.path.join(SOURCE, "workflow", "profiles", "slurm")
# Names with blanks, both quotes, ';', '$( )', '`', and the ',' and '=' that Snakemake's job
# descriptions use: each genome's folder and file are named after it.
NAMES = ["it's $(touch hacked)", 'a;`touch hacked` "b"', '"x", y=z -t']
# Settings that end the workflow before any job, and what its one line names.
REFUSED = [("samples=slashed.tsv", "the name a/b"), ("seed=x", "--seed x"), ("threads=0", "-t 0"),
           ("mem_mb=0", "mem_mb=0"), ("runtime=1.5", "runtime=1.5"), ("options=-o x", "--out is"),
           ("options=--name x", "--name is"), ("options=--row x", "--row is"),
           ("options=--collect x", "--collect is"), ("options=--help", "--help is not an option")]
# status.py's answer for a job id while scontrol says (stdout, stderr, exit status) of job 7.
STATES = [("7", "JobId=7 JobState=COMPLETED", "", 0, "success"),
          ("7", "JobId=7 JobState=RUNNING", "", 0, "running"),
          ("7", "JobId=7 JobState=PENDING", "", 0, "running"),
          ("7;c", "JobId=7 JobState=TIMEOUT", "", 0, "failed"),
          ("7", "JobId=7 JobState=CANCELLED", "", 0, "failed"),
          ("7", "", "slurm_load_jobs error: Invalid job id specified", 1, "success"),
          ("7", "", "slurm_load_jobs error: Unable to contact slurm controller (connect failure)",
           1, "running")]
FAKE_SCONTROL = """#!/bin/sh
[ "$4" = 7 ] || { echo "slurm_load_jobs error: Invalid job id specified" >&2; exit 1; }
printf %s "$FAKE_OUT"; printf %s "$FAKE_ERR" >&2; exit "$FAKE_CODE"
"""
OPTIONS = "--window 2000 --step 1000 --increment 1000 --pool 20 --draws 10 --no-refine"
SEED = "11"
TOOLS = ["snakemake", "munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scontrol"]


def check(condition, message):
    if not condition:
        sys.exit("FAILED: " + message)  # status 1


def command(out, sheet, *extra, config=()):
    return ["snakemake", "-s", SNAKEFILE, *extra, "--config", "samples=" + sheet, "out=" + out,
            "seed=" + SEED, "options=" + OPTIONS, "morvale_run=" + RUN, *config]


def snakemake(work, *args, env=None, **kw):
    return subprocess.run(command(*args, **kw), cwd=work, env=env, capture_output=True,
                          text=True)  # no time limit


def files(folder, root):
    """The files below a genome folder but its run records, {relative name: bytes}; in the page
    and the picture the output folder and the start time (which they name) made the same."""
    found = {}
    for d, _, names in os.walk(folder):
        for name in (n for n in names if not n.endswith(".run.txt")):
            with open(os.path.join(d, name), "rb") as f:
                data = f.read()
            if name.endswith((".html", ".svg")):
                data = re.sub(rb"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", b"TIME",
                              data.replace(root.encode(), b"OUT"))
            found[os.path.relpath(os.path.join(d, name), folder)] = data
    return found


def same_folders(left, right):
    """left and right hold the same result files for every genome."""
    for name in NAMES:
        a, b = files(os.path.join(left, name), left), files(os.path.join(right, name), right)
        check(a and a == b, f"{right}/{name}: {sorted(k for k in set(a) | set(b) if a.get(k) != b.get(k))}")


def without_seconds(path):
    """summary.tsv without its seconds column."""
    head, *body = rows(path)
    column = head.index("seconds")
    return [row[:column] + row[column + 1:] for row in [head] + body]


def free_port():
    with socket.socket() as s:
        s.bind(("", 0))
        return s.getsockname()[1]


# The settings of a one-node cluster that do not depend on where it runs.
FIXED = """ClusterName=morvaletest SlurmUser=root SlurmdUser=root AuthType=auth/munge
CredType=cred/munge ProctrackType=proctrack/linuxproc TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none SelectType=select/cons_tres SelectTypeParameters=CR_Core_Memory
ReturnToService=2 MpiDefault=none""".split()


class Slurm:
    """munged, slurmctld and slurmd of one node, all in `folder`; stopped by their pids."""

    def __init__(self, folder):
        self.folder, self.daemons = folder, []
        self.env = dict(os.environ, SLURM_CONF=os.path.join(folder, "slurm.conf"))

    def start(self):
        """An empty string once the node is idle, else what went wrong."""
        path = lambda name: os.path.join(self.folder, name)  # noqa: E731
        key = path("munge.key")
        with open(key, "wb") as f:
            f.write(os.urandom(1024))
        os.chmod(key, 0o400)
        self.spawn(["munged", "-F", "--force", "--key-file", key, "--socket", path("munge.sock"),
                    "--pid-file", path("munged.pid"), "--log-file", path("munged.log"),
                    "--seed-file", path("munge.seed")])
        host = socket.gethostname().split(".")[0]
        memory = re.search(r"RealMemory=(\d+)", run(["slurmd", "-C"]).stdout)
        if not memory:
            return "slurmd -C tells no memory"
        for d in ("state", "spool"):
            os.makedirs(path(d))
        conf = FIXED + [f"SlurmctldHost={host}", f"SlurmctldPort={free_port()}",
                        f"SlurmdPort={free_port()}", f"AuthInfo=socket={path('munge.sock')}",
                        f"StateSaveLocation={path('state')}", f"SlurmdSpoolDir={path('spool')}",
                        f"NodeName={host} CPUs=2 RealMemory={min(int(memory.group(1)) // 2, 4000)}"
                        " State=UNKNOWN",
                        f"PartitionName=test Nodes={host} Default=YES MaxTime=INFINITE State=UP"]
        conf += [f"{d}{kind}File={path(d.lower() + '.' + ext)}" for d in ("Slurmctld", "Slurmd")
                 for kind, ext in (("Pid", "pid"), ("Log", "log"))]
        with open(self.env["SLURM_CONF"], "w") as f:
            f.write("\n".join(conf) + "\n")
        if not self.wait(lambda: os.path.exists(path("munge.sock")), 10):
            return "munged did not start"
        self.spawn(["slurmctld", "-D", "-c", "-f", self.env["SLURM_CONF"]])
        self.spawn(["slurmd", "-D", "-f", self.env["SLURM_CONF"]])
        idle = lambda: run(["sinfo", "-h", "-o", "%t"], env=self.env).stdout.strip() == "idle"
        return "" if self.wait(idle, 40) else "the node did not become idle"

    def spawn(self, command):
        log = open(os.path.join(self.folder, os.path.basename(command[0]) + ".out"), "w")
        self.daemons.append(subprocess.Popen(command, env=self.env, stdout=log, stderr=log))

    def wait(self, ready, seconds):
        end = time.time() + seconds
        while time.time() < end and not any(d.poll() is not None for d in self.daemons):
            if ready():
                return True
            time.sleep(0.5)
        return False

    def stop(self):
        for daemon in reversed(self.daemons):
            daemon.terminate()  # nothing once it has ended
            try:
                daemon.wait(15)
            except subprocess.TimeoutExpired:
                daemon.kill()


def status(job, env):
    return run([sys.executable, os.path.join(PROFILE, "status.py"), job], env=env).stdout.strip()


def ran(done):
    """The genomes a run ran, and whether it wrote the summary."""
    return (sorted(re.findall(r"^    output: .*/jobs/(.*)\.done$", done.stderr, re.M)),
            "localrule summary:" in done.stderr)


def nothing_run(work):
    check(not [d for d, _, f in os.walk(work) if "hacked" in f] and not os.path.exists("hacked"),
          "a name was run as a command")


def main(work):
    for n, name in enumerate(NAMES):  # 60 kbp of even DNA, 8 kbp GC-rich in the middle
        fasta(os.path.join(work, name + ".fa"),
              {name: dna(26000, 3 * n) + dna(8000, 3 * n + 1, 0.75) + dna(26000, 3 * n + 2)})
    write(os.path.join(work, "bad.fa"), ">bad\nacgt\n")  # far shorter than a window: refused
    sheet, with_bad = os.path.join(work, "sheet.tsv"), os.path.join(work, "with_bad.tsv")
    write(sheet, "name\tgenome\n" + "".join(f"{n}\t{n}.fa\n" for n in NAMES))
    write(with_bad, open(sheet).read() + "delta\tbad.fa\nepsilon\tmissing.fa\n")
    write(os.path.join(work, "slashed.tsv"), "name\tgenome\na/b\tbad.fa\n")
    direct = os.path.join(work, "direct")
    subprocess.run([RUN, "-q", "-o", direct, "--seed", SEED, *OPTIONS.split(),
                    *[n + ".fa" for n in NAMES]], cwd=work, check=True)

    fake = dict(os.environ, PATH=os.path.join(work, "bin") + os.pathsep + os.environ["PATH"])
    write(os.path.join(work, "bin", "scontrol"), FAKE_SCONTROL)
    os.chmod(os.path.join(work, "bin", "scontrol"), 0o755)
    for job, out, err, code, answer in STATES:
        fake.update(FAKE_OUT=out, FAKE_ERR=err, FAKE_CODE=str(code))
        check(status(job, fake) == answer, f"status.py with {out or err}: not {answer}")

    for setting, named in REFUSED:
        done = snakemake(work, os.path.join(work, "refused"), sheet, "-c1", config=[setting])
        check(done.returncode != 0 and named in done.stderr and "Traceback" not in done.stderr
              and not os.path.exists(os.path.join(work, "refused")), f"{setting}: {done.stderr}")
    done = snakemake(work, os.path.join(work, "it's"), sheet, "--profile", PROFILE)
    check(done.returncode != 0 and "on a cluster" in done.stderr, "out=it's: " + done.stderr)

    # Locally, with a genome that fails and one whose file is missing: the others finish and
    # the summary names both. Reruns run the genomes without a mark, then the summary.
    local, every = os.path.join(work, "local"), NAMES + ["delta", "epsilon"]
    done = snakemake(work, local, with_bad, "--cores", "2", "--keep-going")
    check(done.returncode != 0, "a failed genome fails the workflow")
    rows = {row[0]: row for row in without_seconds(os.path.join(local, "summary.tsv"))}
    check(list(rows) == ["genome"] + every, "rows in sheet order: %s" % list(rows))
    check(rows["delta"][-2].startswith("failed: ") and "missing.fa" in rows["epsilon"][-2],
          "the failed genomes' rows: %s" % rows)
    same_folders(direct, local)
    for mend in ("bad.fa", "missing.fa"):
        shutil.copy(os.path.join(work, NAMES[0] + ".fa"), os.path.join(work, mend))
    # (marks deleted, the genomes the rerun runs): after the failed run with its summary;
    # then marks deleted after a full run, as by hand or by an interruption
    for deleted, names in (([], ["delta", "epsilon"]), ([NAMES[1], "delta"], [NAMES[1], "delta"])):
        for name in deleted:
            os.remove(os.path.join(local, "jobs", name + ".done"))
        done = snakemake(work, local, with_bad, "--cores", "2")
        check(done.returncode == 0 and ran(done) == (sorted(names), True),
              f"the rerun after {deleted} ran {ran(done)}: {done.stderr[-2000:]}")
    check(rows[NAMES[0]][1:] == without_seconds(os.path.join(local, "summary.tsv"))[4][1:],
          "the mended genome's row")
    nothing_run(work)

    # The same three genomes on SLURM, through the profile.
    slurm = Slurm(os.path.join(work, "slurm"))
    os.makedirs(slurm.folder)
    try:
        problem = slurm.start()
        if problem:
            skip("SLURM: " + problem)
        out = os.path.join(work, "cluster")
        done = snakemake(work, out, sheet, "--profile", PROFILE, env=slurm.env)
        check(done.returncode == 0, "the SLURM run: " + done.stderr[-3000:])
        ids = re.findall(r"external jobid '(\d+)'", done.stderr)
        check(len(ids) == len(NAMES), "one SLURM job per genome: %s" % ids)
        for job in ids:
            shown = run(["scontrol", "show", "job", job], env=slurm.env).stdout
            # threads, mem_mb and runtime of the rule, as the profile asks sbatch for them
            check(all(w in shown for w in ("JobState=COMPLETED", "JobName=morvale-genome-",
                                           "TimeLimit=01:00:00", "TRES=cpu=1,mem=2000M")),
                  "job %s in SLURM: %s" % (job, shown))
        check(status("999999", slurm.env) == "success", "a job SLURM has forgotten")
    finally:
        slurm.stop()
    same_folders(direct, out)
    summary = without_seconds(os.path.join(direct, "summary.tsv"))
    check(without_seconds(os.path.join(out, "summary.tsv")) == summary, "SLURM summary.tsv")
    check(without_seconds(os.path.join(local, "summary.tsv"))[:4] == summary, "local summary.tsv")
    check(os.path.exists(os.path.join(out, "index.html")), "index.html")
    nothing_run(work)


if __name__ == "__main__":
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing or os.geteuid() != 0:
        skip("a SLURM of one node needs root and " + ", ".join(TOOLS))
    folder = tempfile.mkdtemp(prefix="morvale-workflow-")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # still stop the daemons
    try:
        main(folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("ok")
