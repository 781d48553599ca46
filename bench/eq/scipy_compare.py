#!/usr/bin/python3
"""Checks the band responses of band_response_dump against scipy.signal.freqz.

Runs the dump program, evaluates the same coefficients with
scipy.signal.freqz(b, a, worN=w) on the same angles w = pi * f(i) / 24000,
f(i) = 24000 ** (i / 1024), and requires every point to agree within 1e-9 dB.
Both sides are timed in this one run (best of N, all bands) and the ratio is
printed. Exit status: 0 agreement, 1 disagreement, 2 usage or dump failure,
77 when this interpreter has no scipy.
"""
import math
import subprocess
import sys
import time

try:
    import numpy as np
    from scipy.signal import freqz
except ImportError as error:
    print(f"skipped: scipy is not available ({error})")
    sys.exit(77)

TOLERANCE_DB = 1e-9
POINTS = 1024
RUNS = 200


def grid_angles():
    i = np.arange(POINTS, dtype=np.float64)
    f = np.power(10.0, math.log10(24000.0) * i * 0.0009765625)
    return f * math.pi / 24000.0


def read_dump(command):
    out = subprocess.run([*command, "--runs", str(RUNS)], check=True,
                         capture_output=True, text=True).stdout
    bands, seconds = [], None
    for line in out.splitlines():
        word, *rest = line.split()
        if word == "band":
            bands.append({"name": " ".join(rest)})
        elif word == "coefficients":
            values = [float(v) for v in rest]
            bands[-1]["b"], bands[-1]["a"] = values[:3], values[3:]
        elif word == "response":
            bands[-1]["dB"] = np.array([float(v) for v in rest])
        elif word == "seconds_best":
            seconds = float(rest[0])
    return bands, seconds


def scipy_responses(bands, w):
    return [20.0 * np.log10(np.abs(freqz(band["b"], band["a"], worN=w)[1]))
            for band in bands]


def main():
    # The dump program may come after the command that runs it (Wine for
    # the Windows build).
    if len(sys.argv) < 2:
        print("usage: scipy_compare.py [runner...] path/to/band_response_dump")
        return 2
    try:
        bands, ours_seconds = read_dump(sys.argv[1:])
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"dump program failed: {error}")
        return 2
    if not bands or ours_seconds is None:
        print("dump program printed no bands")
        return 2

    w = grid_angles()
    scipy_seconds = math.inf
    for _ in range(RUNS):
        start = time.perf_counter()
        reference = scipy_responses(bands, w)
        scipy_seconds = min(scipy_seconds, time.perf_counter() - start)

    worst_all = 0.0
    failed = False
    for band, expected in zip(bands, reference):
        if band["dB"].shape != (POINTS,):
            print(f"band {band['name']}: {band['dB'].shape[0]} points, expected {POINTS}")
            failed = True
            continue
        error = np.abs(band["dB"] - expected)
        worst = float(error.max())
        worst_all = max(worst_all, worst)
        where = int(error.argmax())
        status = "ok" if worst <= TOLERANCE_DB else "MISMATCH"
        print(f"band {band['name']}: max difference {worst:.3g} dB at point {where} {status}")
        failed = failed or worst > TOLERANCE_DB

    print(f"{len(bands)} bands x {POINTS} points, best of {RUNS} runs")
    print(f"ours:  {ours_seconds * 1e6:.1f} us")
    print(f"scipy: {scipy_seconds * 1e6:.1f} us")
    print(f"scipy / ours: {scipy_seconds / ours_seconds:.1f}")
    print(f"largest difference {worst_all:.3g} dB (tolerance {TOLERANCE_DB:g})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
