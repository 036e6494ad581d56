#!/usr/bin/env python3
"""Writes the binary seed files of the harnesses under corpus/. The harnesses
read integers from the end of an input and byte blocks from its front, so a
seed is a block, then filler that the integers are drawn from, then the
leading choices reversed."""
import os
import random
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(harness, name, data):
    os.makedirs(os.path.join(here, harness), exist_ok=True)
    with open(os.path.join(here, harness, name), "wb") as f:
        f.write(data)


def record(button_map=range(1, 13), turbo=(0,) * 12, keys=(0,) * 12, words=(0x7FFF,) * 5,
           sensitivity=0, time_cycle=63, motor_power=63, auto_mode=0, spare=0):
    return (bytes(button_map) + bytes(turbo) + struct.pack("<12I", *keys) + struct.pack("<5I", *words) +
            struct.pack("<5I", sensitivity, time_cycle, motor_power, auto_mode, spare))


def filler(seed, n):
    r = random.Random(seed)
    return bytes(r.randrange(256) for _ in range(n))


def drawn(*values):
    """Integers as the harness draws them, first to last: 32-bit each, a
    signed one (given as ("i", v)) offset from the lowest int."""
    out = b""
    for v in values:
        if isinstance(v, tuple):
            v = v[1] + 2**31
        out = struct.pack("<I", v) + out
    return out


# Calibration: word, raw, two levels, four more words, sensitivity, then samples.
write("fuzz_calibration", "centred", drawn(0x7FFF, ("i", 0x4000), ("i", 0), ("i", 2), 0x7FFF, 0x10000FF, 0x7FFF, 0x7FFF, 1))
write("fuzz_calibration", "two-point", drawn(0x10010F0, ("i", -5), ("i", 2), ("i", 0), 0x10000FF, 0x10000FF, 0x10000FF, 0x10000FF, 7))
write("fuzz_calibration", "extremes", drawn(0xFF0000, ("i", 2**31 - 1), ("i", -2**31), ("i", 2**31 - 1), 0, 0xFFFFFFFF, 0x1000000, 0x80, 2))

# Record through the pages: the record in front, the choices drawn from the end.
write("fuzz_record_pages", "defaults", record() + filler(1, 400) + b"\x00")
write("fuzz_record_pages", "keys-and-turbo",
      record(button_map=[12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1], turbo=[1, 0] * 6,
             keys=[0x70004 | i for i in range(12)], sensitivity=2, auto_mode=1) + filler(2, 400) + b"\x00")
write("fuzz_record_pages", "out-of-range",
      record(button_map=[0, 13, 255] * 4, keys=[0xFFFFFFFF] * 12, words=(0xFFFFFFFF, 0x1000000, 0, 0xFF0000, 0x10000FF),
             sensitivity=0xFFFFFFFF, time_cycle=0xFFFFFFFF, motor_power=0x80000000, spare=7) + filler(3, 400) + b"\x00")
write("fuzz_record_pages", "short-profile", record()[:40] + filler(4, 300) + bytes([40, 0x80 | 0x40]))
write("fuzz_record_pages", "long-value", record() * 2 + filler(5, 300) + bytes([224, 0x80]))

# Effects: every operation drawn from the input; plain filler reaches them all.
for n in range(4):
    write("fuzz_effects", "mix-%d" % n, filler(10 + n, 600))
