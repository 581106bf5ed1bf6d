#!/usr/bin/env python3
"""A SLURM job's state for Snakemake's --cluster-status: running, success or failed.

Asks scontrol, which needs no accounting database, and never guesses success: while
the controller cannot be reached or does not answer in time the job is running
(Snakemake asks again, and the reason goes to standard error). A job the controller
does not know has ended and been forgotten (MinJobAge): that is success, and
Snakemake's own check of the job's output files decides whether it did its work."""
import subprocess
import sys

FAILED = {"BOOT_FAIL", "CANCELLED", "DEADLINE", "FAILED", "NODE_FAIL", "OUT_OF_MEMORY",
          "PREEMPTED", "REVOKED", "TIMEOUT"}


def state(job):
    """The job's state, FORGOTTEN, or "" with the reason on standard error."""
    try:
        shown = subprocess.run(["scontrol", "show", "job", "-o", job], capture_output=True,
                               text=True, timeout=30)
    except subprocess.TimeoutExpired:
        shown = subprocess.CompletedProcess([], 1, "", "scontrol did not answer in 30 s")
    for field in shown.stdout.split():
        if field.startswith("JobState="):
            return field.split("=", 1)[1]
    if "Invalid job id" in shown.stderr:
        return "FORGOTTEN"
    print(f"status.py: job {job}: {shown.stderr.strip()}; taken as running", file=sys.stderr)
    return ""


job_state = state(sys.argv[1].split(";")[0])  # sbatch --parsable prints ID or ID;CLUSTER
print("success" if job_state in ("COMPLETED", "FORGOTTEN") else
      "failed" if job_state in FAILED else "running")
