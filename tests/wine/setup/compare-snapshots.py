#!/usr/bin/env python3
"""Compares two snapshots of a prefix (prefix-rig.sh's snapshot), before an
install and after the removal, and prints every difference the package left.

  compare-snapshots.py WORK BEFORE AFTER [--gone KEY]... [--kept KEY|PATH]...
                       [--installer-key KEY]... [--installer-dir PATH]... [--wine-key KEY]...

--gone: a key that was there before and must be gone after (its subkeys too).
--kept: a key or drive_c path made after the first snapshot that must still
be there (subkeys and files under it too). --installer-key/--installer-dir:
the installer's own bookkeeping, which may stay behind as keys without values
and folders whose files are checked like any other. --wine-key: a key
where Wine keeps state of its own (the displays its windows were on),
compared not at all. A key or folder that was empty before and is gone after is printed
as a note, not a fault: Wine's installer removes emptied parents it did not
create. Exit code 1 when anything else differs.
"""
import argparse
import sys


def registry(path):
    """key -> tuple of its value lines, from a regedit export."""
    keys, key = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("[") and line.endswith("]"):
                key = line[1:-1]
                keys[key] = []
            elif key is not None and line:
                keys[key].append(line)
    return {k: tuple(v) for k, v in keys.items()}


def files(path):
    """drive_c path -> (kind, size)."""
    entries = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            kind, size, name = line.rstrip("\n").split(" ", 2)
            entries[name] = (kind, size if kind == "f" else "")
    return entries


def under(name, roots, sep):
    low = name.lower()
    return any(low == r.lower() or low.startswith(r.lower() + sep) for r in roots)


def empty_key(name, keys):
    return not keys[name] and not any(k.lower().startswith(name.lower() + "\\") for k in keys)


def empty_dir(name, entries):
    return entries[name][0] == "d" and not any(e.startswith(name + "/") for e in entries)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("work")
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--gone", action="append", default=[])
    parser.add_argument("--kept", action="append", default=[])
    parser.add_argument("--installer-key", action="append", default=[])
    parser.add_argument("--installer-dir", action="append", default=[])
    parser.add_argument("--wine-key", action="append", default=[])
    args = parser.parse_args()
    faults, notes = [], []

    for hive in ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS"):
        before = registry(f"{args.work}/{args.before}.{hive}.txt")
        after = registry(f"{args.work}/{args.after}.{hive}.txt")
        for key in sorted(set(before) | set(after)):
            if under(key, args.kept + args.wine_key, "\\"):
                continue
            if under(key, args.gone, "\\"):
                if key in after:
                    faults.append(f"still there: [{key}]")
            elif key not in after:
                (notes if empty_key(key, before) else faults).append(f"gone: [{key}]")
            elif key not in before:
                bookkeeping = any(key.lower() == k.lower() for k in args.installer_key)
                if not (bookkeeping and not after[key]):
                    faults.append(f"left behind: [{key}] {' '.join(after[key])}")
            elif before[key] != after[key]:
                faults.append(f"changed: [{key}] {' '.join(before[key])} -> {' '.join(after[key])}")
        for key in args.kept:
            if key.startswith(hive + "\\") and key not in after:
                faults.append(f"not kept: [{key}]")

    before = files(f"{args.work}/{args.before}.files")
    after = files(f"{args.work}/{args.after}.files")
    for name in sorted(set(before) | set(after)):
        if under(name, args.kept, "/"):
            continue
        if name not in after:
            (notes if empty_dir(name, before) else faults).append(f"gone: {name}")
        elif name not in before:
            if not (name in args.installer_dir and after[name][0] == "d"):
                faults.append(f"left behind: {name}")
        elif before[name] != after[name]:
            faults.append(f"changed: {name} {before[name]} -> {after[name]}")
    for name in args.kept:
        if name.startswith("./") and name not in after:
            faults.append(f"not kept: {name}")

    for n in notes:
        print(f"  note: Wine's installer removed what was empty before: {n}")
    for f in faults:
        print(f"  {f}")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
