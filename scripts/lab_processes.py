"""Processes that scripts/lab started: recognising them again by PID and stopping them.

A record holds the PID and the start time (field 22 of /proc/PID/stat) taken right after
the start. Both must still match, and the command name must be one the program has, before
a signal is sent, so a PID that the kernel handed to another process is never signalled.
"""

import os
import signal
import time
from pathlib import Path

STOP_WAIT_S = 5.0


def stat_fields(pid):
    """The fields of /proc/PID/stat after the command name (field 3 first), or None when the
    process is gone or a zombie."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return None
    fields = stat[stat.rindex(")") + 2:].split()
    if fields[0] in ("Z", "X"):
        return None
    return fields


def process_start_time(pid):
    fields = stat_fields(pid)
    return fields[19] if fields else None


def process_group(pid):
    fields = stat_fields(pid)
    return int(fields[2]) if fields else None


def command_name(pid):
    try:
        return Path(f"/proc/{pid}/comm").read_text().strip()
    except OSError:
        return None


def command_line(pid):
    try:
        return Path(f"/proc/{pid}/cmdline").read_bytes().decode(errors="replace").split("\0")
    except OSError:
        return []


def is_ours(record, names):
    """True when the recorded PID is still the process started for `record` (same start
    time) and its command name is one of `names`."""
    pid = record.get("pid")
    if not isinstance(pid, int) or pid <= 1:
        return False
    start = process_start_time(pid)
    if start is None or start != record.get("start_time"):
        return False
    return command_name(pid) in names


def wait_gone(pids, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if all(process_start_time(pid) is None for pid in pids):
            return True
        time.sleep(0.02)
    return all(process_start_time(pid) is None for pid in pids)


def stop_signal(pid):
    """SIGTERM for a process that leads its own process group, else SIGKILL. Some servers
    (smbd) signal their whole process group when they end; one that has not yet moved to a
    group of its own would take the lab, or the test that runs it, along."""
    return signal.SIGTERM if process_group(pid) == pid else signal.SIGKILL


def stop_process(record, names, label, say):
    """Stops the process of `record`: SIGTERM (see stop_signal), SIGKILL after STOP_WAIT_S.
    Returns False when the PID no longer is that process and was left alone."""
    pid = record.get("pid")
    if not isinstance(pid, int) or process_start_time(pid) is None:
        return True
    if not is_ours(record, names):
        say(f"PID {pid} is no longer the {label}: left alone")
        return False
    os.kill(pid, stop_signal(pid))
    if wait_gone([pid], STOP_WAIT_S):
        return True
    if is_ours(record, names):
        say(f"{label} (PID {pid}) did not stop within {STOP_WAIT_S:.0f} s: killing it")
        os.kill(pid, signal.SIGKILL)
        wait_gone([pid], STOP_WAIT_S)
    return True
