#!/usr/bin/env python3
"""Drives qireq.exe under Wine as a person would, for scripts/windows-check.sh.

The window is already starting on the virtual display; the simulated unit
on COM1 logs every frame to OUT/sim-serial.log. This waits for the window,
for the unit's answer to the prober's Ping and for its tile, clicks the
tile, waits for the connect (Identify, then ReadEqBlock), drags band 3's
marker upwards and waits for the SetBand frames. Screenshots and the lines
of the unit's log that show each step are kept in OUT.

    windows-check-window.py OUT [FROM]

FROM is the number of lines the unit's log held before the window started:
only the lines after them count, so earlier steps' frames (qireq-ctl.exe's
Identify, the installed program's Ping) are not taken for the window's.
"""
import os
import re
import subprocess
import sys
import time

OUT = sys.argv[1]
FROM = int(sys.argv[2]) if len(sys.argv) > 2 else 0
SIM_LOG = os.path.join(OUT, "sim-serial.log")

# Requests as the simulator logs them: header, length byte, command byte.
PING = "RX 01 20 03 40 09 0B"
PING_ANSWER = "TX 01 20 03 40 .. 0B"
IDENTIFY = "RX 01 20 03 40 09 1F"
READ_EQ_BLOCK = "RX 01 20 03 40 09 15"
SET_BAND = "RX 01 20 03 40 11 11"

# Band 3's marker at 198.4 Hz and 0 dB, in the window's own pixels (the
# window's layout is fixed; the menu bar is part of the native window).
MARKER_3 = (553, 153)


def log(message):
    print(message, flush=True)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def wait_for(what, condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    raise SystemExit(f"windows-check-window: gave up waiting for {what} after {seconds} s")


def sim_lines(pattern):
    try:
        with open(SIM_LOG, encoding="utf-8", errors="replace") as log_file:
            lines = log_file.readlines()[FROM:]
            return [line.rstrip() for line in lines if re.match(pattern, line)]
    except FileNotFoundError:
        return []


def find_window():
    ids = run("xdotool", "search", "--onlyvisible", "--name", "^QIR-EQ").split()
    return ids[0] if ids else None


def geometry(window):
    values = dict(line.split("=", 1) for line in run("xdotool", "getwindowgeometry", "--shell", window).split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screenshot(window, name):
    path = os.path.join(OUT, name)
    subprocess.run(["import", "-window", window, path], check=True)
    return path


def changed_box(before, after, region):
    """The bounding box of the pixels that differ between two screenshots
    inside region (x, y, w, h), or None."""
    x, y, w, h = region
    crop = f"{w}x{h}+{x}+{y}"
    diff = os.path.join(OUT, "tile-diff.png")
    subprocess.run(["convert", before, after, "-crop", crop, "+repage", "-compose", "difference",
                    "-composite", "-threshold", "5%", diff], check=True)
    box = run("convert", diff, "-trim", "-format", "%w %h %X %Y", "info:").split()
    if len(box) != 4 or box[0] == "1" and box[1] == "1":
        return None
    bw, bh, bx, by = (int(v.lstrip("+")) for v in box)
    return x + bx, y + by, bw, bh


def main():
    window = wait_for("the window", find_window, 60)
    wx, wy, ww, wh = geometry(window)
    log(f"window {window} at {wx},{wy} size {ww}x{wh}")
    empty = screenshot(window, "window-before.png")
    # The search countdown ticks while the prober opens and pings the ports:
    # the window's thread is free.
    time.sleep(2.5)
    if not changed_box(empty, screenshot(window, "window-ticking.png"), (10, 60, 190, 30)):
        raise SystemExit("windows-check-window: the countdown stands still: the window's thread is held up")
    log("the countdown runs while the ports are probed")

    wait_for("the prober's Ping on COM1", lambda: sim_lines(PING), 30)
    wait_for("the unit's answer", lambda: sim_lines(PING_ANSWER), 10)
    log("unit: " + sim_lines(PING)[0])
    log("unit: " + sim_lines(PING_ANSWER)[0])

    # The tile appears in the device column (left 200 pixels under the
    # countdown) once the listing timer has built it.
    def tile():
        return changed_box(empty, screenshot(window, "window-listed.png"), (10, 90, 190, 300))
    tx, ty, tw, th = wait_for("the unit's tile", tile, 15)
    log(f"tile at {tx},{ty} size {tw}x{th}")

    subprocess.run(["xdotool", "mousemove", "--window", window, str(tx + tw // 2), str(ty + th // 2),
                    "click", "1"], check=True)
    wait_for("Identify after the click", lambda: sim_lines(IDENTIFY), 15)
    wait_for("ReadEqBlock after the identity", lambda: sim_lines(READ_EQ_BLOCK), 15)
    log("unit: " + sim_lines(IDENTIFY)[0])
    log("unit: " + sim_lines(READ_EQ_BLOCK)[0])
    time.sleep(1.5)  # the block shown on every control

    mx, my = MARKER_3
    subprocess.run(["xdotool", "mousemove", "--window", window, str(mx), str(my), "mousedown", "1"], check=True)
    for step in range(1, 9):
        subprocess.run(["xdotool", "mousemove", "--window", window, str(mx + step * 3), str(my - step * 5)],
                       check=True)
        time.sleep(0.15)
    subprocess.run(["xdotool", "mouseup", "1"], check=True)
    wait_for("SetBand after the drag", lambda: sim_lines(SET_BAND), 10)
    time.sleep(1.0)  # the echoes shown
    for line in sim_lines(SET_BAND)[:3]:
        log("unit: " + line)
    log(f"{len(sim_lines(SET_BAND))} SetBand frames for the drag")
    screenshot(window, "window.png")


if __name__ == "__main__":
    main()
