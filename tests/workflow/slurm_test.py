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
NAMES = ["alpha", "beta", "gamma"]
OPTIONS = "--window 2000 --step 1000 --increment 1000 --pool 20 --draws 10 --no-refine"
SEED = "11"
TOOLS = ["snakemake", "munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scontrol"]


def check(condition, message):
    if not condition:
        sys.exit("FAILED: " + message)  # status 1


def snakemake(work, out, sheet, *extra, env=None):
    return subprocess.run(["snakemake", "-s", SNAKEFILE, "--config", "samples=" + sheet, "out=" + out,
                           "seed=" + SEED, "options=" + OPTIONS, "morvale_run=" + RUN, *extra],
                          cwd=work, env=env, capture_output=True, text=True)  # no time limit


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


def main(work):
    for n, name in enumerate(NAMES):  # 60 kbp of even DNA, 8 kbp GC-rich in the middle
        fasta(os.path.join(work, name + ".fa"),
              {name: dna(26000, 3 * n) + dna(8000, 3 * n + 1, 0.75) + dna(26000, 3 * n + 2)})
    write(os.path.join(work, "bad.fa"), ">bad\nacgt\n")  # far shorter than a window: refused
    sheet, with_bad = os.path.join(work, "sheet.tsv"), os.path.join(work, "with_bad.tsv")
    write(sheet, "name\tgenome\n" + "".join(f"{n}\t{n}.fa\n" for n in NAMES))
    write(with_bad, open(sheet).read() + "delta\tbad.fa\n")
    direct = os.path.join(work, "direct")
    subprocess.run([RUN, "-q", "-o", direct, "--seed", SEED, *OPTIONS.split(),
                    *[n + ".fa" for n in NAMES]], cwd=work, check=True)

    # Locally, with a fourth genome that fails: the others finish and the summary
    # names it; once it is mended a rerun does only it and the summary.
    local = os.path.join(work, "local")
    done = snakemake(work, local, with_bad, "--cores", "2", "--keep-going")
    check(done.returncode != 0, "a failed genome fails the workflow")
    rows = {row[0]: row for row in without_seconds(os.path.join(local, "summary.tsv"))}
    check(list(rows) == ["genome"] + NAMES + ["delta"], "rows in sheet order: %s" % list(rows))
    check(rows["delta"][-2].startswith("failed: "), "the failed genome's row: %s" % rows["delta"])
    same_folders(direct, local)
    before = {n: os.stat(os.path.join(local, n)).st_mtime_ns for n in NAMES}
    shutil.copy(os.path.join(work, "alpha.fa"), os.path.join(work, "bad.fa"))
    done = snakemake(work, local, with_bad, "--cores", "2")
    check(done.returncode == 0, "the rerun: " + done.stderr[-2000:])
    jobs = re.findall(r"^(?:local)?rule (\w+):", done.stderr, re.M)
    check(sorted(jobs) == ["all", "genome", "summary"], "the rerun's jobs: %s" % jobs)
    check(before == {n: os.stat(os.path.join(local, n)).st_mtime_ns for n in NAMES},
          "the rerun left the finished genomes alone")
    check(rows["alpha"][1:] == without_seconds(os.path.join(local, "summary.tsv"))[4][1:],
          "the mended genome's row")

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
            check(all(w in shown for w in ("JobState=COMPLETED", "JobName=morvale-genome",
                                           "TimeLimit=01:00:00", "TRES=cpu=1,mem=2000M")),
                  "job %s in SLURM: %s" % (job, shown))
    finally:
        slurm.stop()
    same_folders(direct, out)
    summary = without_seconds(os.path.join(direct, "summary.tsv"))
    check(without_seconds(os.path.join(out, "summary.tsv")) == summary, "SLURM summary.tsv")
    check(without_seconds(os.path.join(local, "summary.tsv"))[:4] == summary, "local summary.tsv")
    check(os.path.exists(os.path.join(out, "index.html")), "index.html")


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
