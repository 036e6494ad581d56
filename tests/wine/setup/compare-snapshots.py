#!/usr/bin/env python3
"""Compares two snapshots of a prefix (prefix-rig.sh's snapshot), before an
install and after the removal, and prints every difference the package left.

  compare-snapshots.py WORK BEFORE AFTER [--gone KEY]... [--kept KEY|PATH]...
                       [--installer KEY|PATH]... [--wine-key KEY]...

--gone: there before, must be gone after (with all under it). --kept: made
after the first snapshot, must still be there (all under it is not looked
at). --installer: one key or folder of the installer's own bookkeeping, which
may stay behind empty of values (its files are looked at). --wine-key: where Wine keeps state of its own
(the displays its windows were on). A key or folder that was empty before and
is gone after is a note, not a fault: Wine's installer removes the parents it
empties, whoever made them. Exit code 1 when anything else differs.
"""
import argparse
import sys


def registry(path):
    """key -> its value lines, from a regedit export."""
    entries, key = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("[") and line.endswith("]"):
                key = line[1:-1]
                entries[key] = ()
            elif key is not None and line:
                entries[key] += (line,)
    return entries


def files(path):
    """drive_c path -> (kind, size of a file); a folder holds nothing itself."""
    with open(path, encoding="utf-8") as f:
        rows = [line.split(" ", 2) for line in f.read().splitlines()]
    return {name: () if kind == "d" else (kind, size) for kind, size, name in rows}


def compare(before, after, sep, args, faults, notes):
    def under(name, roots):
        return any(name.lower() == r.lower() or name.lower().startswith(r.lower() + sep) for r in roots)

    def empty(name, entries):
        return not entries[name] and not any(e.lower().startswith(name.lower() + sep) for e in entries)

    installer = {i.lower() for i in args.installer}
    for name in sorted(set(before) | set(after)):
        if under(name, args.kept + args.wine_key):
            continue
        if under(name, args.gone):
            if name in after:
                faults.append(f"still there: {name}")
        elif name not in after:
            (notes if empty(name, before) else faults).append(f"gone: {name}")
        elif name not in before:
            if not (name.lower() in installer and not after[name]):
                faults.append(f"left behind: {name} {' '.join(after[name])}")
        elif before[name] != after[name]:
            faults.append(f"changed: {name} {' '.join(before[name])} -> {' '.join(after[name])}")


def main():
    parser = argparse.ArgumentParser()
    for positional in ("work", "before", "after"):
        parser.add_argument(positional)
    for option in ("--gone", "--kept", "--installer", "--wine-key"):
        parser.add_argument(option, action="append", default=[])
    args = parser.parse_args()
    faults, notes = [], []
    snapshots = [(f"{hive}.txt", registry, "\\") for hive in ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS")]
    for part, read, sep in snapshots + [("files", files, "/")]:
        before, after = read(f"{args.work}/{args.before}.{part}"), read(f"{args.work}/{args.after}.{part}")
        compare(before, after, sep, args, faults, notes)
        mine = [k for k in args.kept if (k.startswith("./") if sep == "/" else part.startswith(k.split(sep)[0] + "."))]
        lowered = {name.lower() for name in after}
        faults += [f"not kept: {k}" for k in mine if k.lower() not in lowered]
    for n in notes:
        print(f"  note: Wine's installer removed what was empty before: {n}")
    for f in faults:
        print(f"  {f}")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
