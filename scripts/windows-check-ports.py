#!/usr/bin/env python3
"""Serial ports whose devices never answer, for scripts/windows-check.sh.

Prints "SILENT <path>": a pseudo-terminal that takes what is written and
never answers (nobody reads its other side); then "BLOCKED <path>": one
whose output queue is kept full (refilled as soon as anything empties it),
so a write to it waits, like an adapter whose device is missing. Then holds
both until it is ended.
"""
import os
import pty
import time
import tty


def opened():
    master, slave = pty.openpty()
    tty.setraw(slave)
    return master, slave


def fill(fd):
    try:
        while True:
            os.write(fd, b"\0" * 512)
    except BlockingIOError:
        pass


if __name__ == "__main__":
    silent = opened()
    blocked = opened()
    os.set_blocking(blocked[1], False)
    fill(blocked[1])
    print("SILENT", os.ttyname(silent[1]), flush=True)
    print("BLOCKED", os.ttyname(blocked[1]), flush=True)
    while True:
        fill(blocked[1])
        time.sleep(0.001)
