#!/usr/bin/env python3
"""A SLURM job's state for Snakemake's --cluster-status: running, success or failed.

Asks squeue, then scontrol; neither needs an accounting database. A job that
slurmctld has already forgotten (MinJobAge) is taken as finished: Snakemake then
checks its output files."""
import subprocess
import sys

FAILED = {"BOOT_FAIL", "CANCELLED", "DEADLINE", "FAILED", "NODE_FAIL", "OUT_OF_MEMORY",
          "PREEMPTED", "REVOKED", "TIMEOUT"}


def state(job):
    out = subprocess.run(["scontrol", "show", "job", "-o", job], capture_output=True, text=True)
    for field in out.stdout.split():
        if field.startswith("JobState="):
            return field.split("=", 1)[1]
    out = subprocess.run(["squeue", "-h", "-j", job, "-o", "%T"], capture_output=True, text=True)
    return out.stdout.strip() or "COMPLETED"


job_state = state(sys.argv[1])
print("success" if job_state == "COMPLETED" else "failed" if job_state in FAILED else "running")
