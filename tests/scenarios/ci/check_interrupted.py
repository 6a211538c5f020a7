#!/usr/bin/env python3
"""An interrupted run leaves nothing: SIGINT or SIGTERM during `lumetrix-sim run` ends every
simulated process it started, removes its temporary device root and exits 130 / 143. A run
killed outright (SIGKILL) cannot clean up, but its simulated processes still end with it
and it leaves no event log file behind.

usage: check_interrupted.py LUMETRIX_SIM WORK_FOLDER"""
import os
import shutil
import signal
import subprocess
import sys
import time

sim, work = sys.argv[1:3]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
scenario = os.path.join(work, "long.scenario")
with open(scenario, "w") as f:
    # Real time, so the run is still going when the signal comes.
    f.write("boot\nwait 60\n")


def descendants(pid):
    found = []
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            children = [int(c) for c in f.read().split()]
    except OSError:
        return found
    for child in children:
        found.append(child)
        found += descendants(child)
    return found


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def interrupt(how, expected_status):
    tmp = os.path.join(work, how)
    os.makedirs(tmp)
    env = dict(os.environ, TMPDIR=tmp)
    run = subprocess.Popen([sim, "run", scenario, "--realtime"], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    # Wait for SpringBoard and the Settings app to be running.
    deadline = time.time() + 60
    while len(descendants(run.pid)) < 2 and time.time() < deadline:
        time.sleep(0.1)
    time.sleep(1)
    children = descendants(run.pid)
    assert len(children) >= 2, f"{how}: the run started no simulated processes"
    run.send_signal(getattr(signal, how))
    try:
        _, errors = run.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        # Its output stays open while a simulated process that outlived it holds it.
        run.kill()
        for child in children:
            if alive(child):
                os.kill(child, signal.SIGKILL)
        raise AssertionError(f"{how}: the run did not end, or simulated processes outlived it and hold its output")
    assert run.returncode == expected_status, f"{how}: exit status {run.returncode}, expected {expected_status}\n{errors.decode()}"
    deadline = time.time() + 10
    while any(alive(child) for child in children) and time.time() < deadline:
        time.sleep(0.1)
    survivors = [child for child in children if alive(child)]
    for child in survivors:
        os.kill(child, signal.SIGKILL)
    assert not survivors, f"{how}: simulated processes {survivors} outlived the run"
    return sorted(os.listdir(tmp))


for how, status in (("SIGINT", 130), ("SIGTERM", 143)):
    left = interrupt(how, status)
    assert left == [], f"{how}: the run left {left} in its temporary folder"

left = interrupt("SIGKILL", -9)
events = [name for name in left if name.startswith("lumetrix-events-")]
assert not events, f"SIGKILL: the run left {events}"
print("interrupted runs leave nothing behind")
