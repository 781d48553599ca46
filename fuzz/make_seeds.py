#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Each seed is a meaningful input: real frames, preset files and LAN
datagrams as units and the program exchange them. The targets take their
byte stream from the front of an input and their decisions (source and
size of each chunk, window moves, fault switches) from its back, read
backwards, so each seed is its stream followed by its decisions in
reverse order. Inputs that once broke an invariant are kept beside these
under names of their own (crash-*); this script leaves them alone.
"""
import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"

HEADER = bytes.fromhex("01200340")
TRAILER = bytes.fromhex("010560")

RESET_BLOCK = bytes.fromhex(
    "01200340 4A140079 0000011E 00633001"
    "01000018 00000100 32180000 01010018"
    "00000101 32180000 01020018 00000000"
    "00000000 00000000 1C475000 8C8BD500"
    "C8100000 47616901 0560".replace(" ", ""))


def frame(code, payload=b""):
    """01 20 03 40, the length of the whole frame, the code, payload, 01 05 60."""
    return HEADER + bytes([9 + len(payload), code]) + payload + TRAILER


def name_field(name):
    return name.encode("latin-1").ljust(15, b" ") + b"\0"


PING = frame(0x0B)
IDENTITY = frame(0x1F, b"\x01" + name_field("QIR AMP") + bytes([17]))
BAND_ECHO = frame(0x11, bytes([0x0A, 2, 0x01, 0x02, 0x0F, 0x0C, 0x14, 0x00]))
TRIM_ECHO = frame(0x0E, bytes([0x55, 0x48]))
BYPASS_ECHO = frame(0x13, bytes([0x00, 0x01]))
MAC_REPLY = frame(0x21, bytes.fromhex("00 001A2B3C4D5E"))
STATUS_REPLY = frame(0x23, bytes.fromhex("000000 BC02 000000000000 00010000".replace(" ", "")))
INFO_REPLY = frame(0x24, bytes.fromhex("00 03 00 A105 0000".replace(" ", "")))


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# --- fuzz_receive: (source, bytes) chunks and window moves --------------------
SOCKET, COM3, COM3_LOWER, TTY_USB0 = 0, 1, 2, 3
TILE_BUILT, DISCONNECT, DROP_PARTIAL = 0xF0, 0xF1, 0xF2


def receive_seed(*steps):
    """steps: (source, bytes) fed in chunks of at most 48, or a move byte."""
    stream, decisions = b"", []
    for step in steps:
        if isinstance(step, int):
            decisions.append(step)
            continue
        source, data = step
        for at in range(0, len(data), 48):
            chunk = data[at:at + 48]
            stream += chunk
            decisions.append((len(chunk) - 1) * 5 + source)
    return stream + bytes(reversed(decisions))


def receive_seeds():
    write("fuzz_receive", "serial-ping", receive_seed((TTY_USB0, b"\x00\xff" + PING)))
    write("fuzz_receive", "ping-split-over-sources",
          receive_seed((TTY_USB0, PING[:4]), (SOCKET, PING[4:7]), (TTY_USB0, PING[7:])))
    write("fuzz_receive", "broken-header",
          receive_seed((COM3, bytes.fromhex("01 20 01 20 03 40 09 0B 01 05 60".replace(" ", "")))))
    write("fuzz_receive", "serial-connection",
          receive_seed((COM3, PING), TILE_BUILT, (COM3, IDENTITY), (COM3, RESET_BLOCK),
                       (COM3_LOWER, STATUS_REPLY + INFO_REPLY), (COM3, MAC_REPLY)))
    write("fuzz_receive", "tcp-connection",
          receive_seed((SOCKET, MAC_REPLY + IDENTITY), (SOCKET, BAND_ECHO + TRIM_ECHO),
                       (SOCKET, BYPASS_ECHO), DISCONNECT, (SOCKET, IDENTITY[:10]), DROP_PARTIAL,
                       (SOCKET, IDENTITY)))


# --- fuzz_preset: preset file text --------------------------------------------
def preset_text(record, line, end):
    return b"".join(line(byte).encode() + end for byte in record)


def preset_seeds():
    saved = preset_text(RESET_BLOCK, lambda b: "0x%02X" % b, b"\r\n")
    write("fuzz_preset", "saved.bin", saved)
    write("fuzz_preset", "decimal-lf.bin", preset_text(RESET_BLOCK, str, b"\n"))
    spellings = ["$%x", " x%X", "+0X%02x", "%d"]
    mixed = preset_text(RESET_BLOCK[:20], lambda b: spellings[b % 4] % b, b"\r")
    write("fuzz_preset", "mixed-spellings-short.bin", mixed)
    write("fuzz_preset", "wrapping-values.bin",
          b"-255\r\n$FFFFFF20\r\n-2147483648\r\n0x40\r\n999\r\n$14\r\n")
    write("fuzz_preset", "wrong-signature.bin", saved.replace(b"0x14\r\n", b"0x0B\r\n", 1))
    write("fuzz_preset", "not-an-integer.bin", saved.replace(b"0x4A", b"0x4G", 1))
    write("fuzz_preset", "blank-line.bin", saved[:60] + b"\r\n" + saved[60:])


# --- fuzz_lan_datagrams: datagrams on the three methods -----------------------
PROBE_PORT, MODULE_PORT, SSDP, MOVE = 0, 1, 2, 3
MAC_FOUND = 0x20
PROBE = bytes.fromhex("0102000C000000000001FFFF")
SEARCH = b"QX-B27RELAYSCOUTS\0"
PROBE_ANSWER = (bytes.fromhex("0182001E 00A1B0123456 0A000001".replace(" ", ""))
                + name_field("QIR AMP"))
MODULE_ANSWER = b"10.0.0.2,00A1B0123457,QX-B27"
NOTIFY = (b"NOTIFY * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nCACHE-CONTROL: max-age=1800\r\n"
          b"LOCATION: http://10.0.0.3/description.xml\r\n"
          b"NT: urn:schemas-upnp-org:device:upnp_MDL-S2E:1\r\nNTS: ssdp:alive\r\n"
          b"SERVER: QIR-SIM/1.0 UPnP/1.0 upnp_MDL-S2E/1.0\r\n"
          b"USN: uuid:00000000-0000-1000-8000-00A1B0123458::urn:schemas-upnp-org:device:"
          b"upnp_MDL-S2E:1\r\n\r\n")
TILE, LIST_CHANGING = MOVE | (0 << 2), MOVE | (1 << 2)


def lan_seed(*steps):
    """steps: (method, sender 0..7, mac found, datagram) or a move byte."""
    stream, tail = b"", b""
    for step in steps:
        if isinstance(step, int):
            tail = bytes([step]) + tail
            continue
        method, sender, found, data = step
        stream += data
        size = bytes([len(data) & 0xFF, len(data) >> 8]) if method == SSDP else bytes([len(data)])
        decision = method | (sender << 2) | (MAC_FOUND if found else 0)
        tail = size + bytes([decision]) + tail
    return stream + tail


def lan_seeds():
    write("fuzz_lan_datagrams", "probe-answer-then-presence",
          lan_seed((PROBE_PORT, 0, True, PROBE_ANSWER), TILE, (PROBE_PORT, 0, False, b"abc"),
                   (MODULE_PORT, 0, False, MODULE_ANSWER)))
    write("fuzz_lan_datagrams", "own-probe-and-search",
          lan_seed((PROBE_PORT, 1, True, PROBE), (MODULE_PORT, 1, True, SEARCH)))
    write("fuzz_lan_datagrams", "module-answer-without-mac",
          lan_seed((MODULE_PORT, 1, False, MODULE_ANSWER)))
    write("fuzz_lan_datagrams", "ssdp-notify",
          lan_seed((SSDP, 2, True, NOTIFY), TILE, LIST_CHANGING, (SSDP, 2, True, NOTIFY)))
    write("fuzz_lan_datagrams", "ssdp-marker-after-zero",
          lan_seed((SSDP, 3, True, b"NOTIFY\0upnp_MDL-S2E"), (SSDP, 3, True, b"upnp_mdl-s2e")))
    write("fuzz_lan_datagrams", "mapped-ipv6-sender",
          lan_seed((PROBE_PORT, 5, True, PROBE_ANSWER), (SSDP, 7, True, NOTIFY)))


# --- fuzz_sim_requests: request streams to the unit ---------------------------
READ_MAC_BLOCK = frame(0x21) + bytes(141)
SET_BAND = frame(0x11, bytes([0x0A, 3, 0x04, 0x01, 0x32, 0x10, 0x14, 0x01]))
SET_TRIM = frame(0x0E, bytes([0x61, 0x48]))
SET_BYPASS = frame(0x13, bytes([0x00, 0x01]))
RENAME = frame(0x1E, b"\x01" + name_field("Stage left"))
SET_MAC = frame(0x20, bytes.fromhex("00 00A1B0ABCDEF".replace(" ", "")))


def sim_seed(stream, garbage=False, piece=0, limit=None, drop_after=None, chunk=64):
    """The fault switches, then the stream in chunks of the given size."""
    switches = (1 if garbage else 0) | (piece << 4)
    count = lambda n: 0 if n is None else 0x80 + n
    sizes = [min(chunk, len(stream) - at) - 1 for at in range(0, len(stream), chunk)]
    return stream + bytes(reversed(sizes)) + bytes([count(drop_after), count(limit), switches])


def sim_seeds():
    reads = PING + frame(0x1F) + frame(0x15) + READ_MAC_BLOCK + frame(0x23) + frame(0x24)
    write("fuzz_sim_requests", "read-requests", sim_seed(reads))
    edits = (SET_BAND + SET_TRIM + SET_BYPASS + RESET_BLOCK + RENAME + SET_MAC + frame(0x1F)
             + frame(0x21) + frame(0x15))
    write("fuzz_sim_requests", "edits", sim_seed(edits, chunk=7))
    write("fuzz_sim_requests", "garbage-pieces-limit",
          sim_seed(PING + SET_TRIM + frame(0x15) + PING, garbage=True, piece=5, limit=2))
    write("fuzz_sim_requests", "dropped-connection",
          sim_seed(PING + frame(0x1F) + PING, drop_after=2, chunk=3))


if __name__ == "__main__":
    receive_seeds()
    preset_seeds()
    lan_seeds()
    sim_seeds()
