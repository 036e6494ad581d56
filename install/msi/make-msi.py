#!/usr/bin/env python3
"""Builds the Windows Installer package of the pad's software with wixl.

  make-msi.py --arch x64|x86 --version V --package DIR --includes DIR --icon ICO
              --work DIR --out FILE [--wxs FILE] [--when-complete] [--drop-other-versions]

DIR is the package root (the 32-bit half, with the 64-bit half in DIR/x64);
--includes is where makeregistration wrote its WiX include files. The panel's
data folders of each half are written from its manifest.txt, the package is
built from pad.wxs (or --wxs), its tables are checked (check_msi.py) and only
then is it moved to FILE. Nothing is rebuilt while all it is made of stays as
it was (recorded beside the --work folder). --when-complete (the build's own
call) leaves the package out, with one line saying so, when the half another
tree builds is not there yet; --drop-other-versions removes the packages of
other versions beside FILE.
"""
import argparse
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree

import check_msi
from layout import SYSTEM_FOLDERS, HalfNotBuilt, PackageError, package_layout

HERE = os.path.dirname(os.path.abspath(__file__))


def identifier(bits, path):
    """A table key for a file or folder of a half: letters, digits, '_' and '.'."""
    ident = f"d{bits}_" + re.sub(r"[^A-Za-z0-9_.]", "_", path)
    if len(ident) > 72:
        raise PackageError(f"the key {ident} is longer than the 72 characters a table key may have")
    return ident


def data_fragment(bits, files):
    """WiX source of a half's data folders: one component per file, each
    folder removed at removal once it is empty."""
    win64 = "yes" if bits == "64" else "no"
    tree = {}  # folder -> [file paths]
    for path, dest in files:
        if dest != ".":
            tree.setdefault(dest, []).append(path)
    ids, keys = [], set()
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Written by make-msi.py from the half's manifest.txt; do not edit. -->",
           '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">', "  <Fragment>",
           f'    <DirectoryRef Id="{SYSTEM_FOLDERS[bits]}">']

    def folder(dest, depth):
        parts = dest.split("/")
        indent = "  " * (depth + 3)
        out.append(f'{indent}<Directory Id="{identifier(bits, dest)}" Name="{parts[-1]}">')
        first = True
        for path in tree.get(dest, []):
            key = identifier(bits, path)
            if key.lower() in keys:
                raise PackageError(f"two files of the {bits}-bit half share the key {key}")
            keys.add(key.lower())
            ids.append(key)
            out.append(f'{indent}  <Component Id="{key}" Guid="*" Win64="{win64}">')
            out.append(f'{indent}    <File Id="{key}" Name="{os.path.basename(path)}" '
                       f'Source="half{bits}/{path}" KeyPath="yes"/>')
            if first:
                out.append(f'{indent}    <RemoveFolder Id="{identifier(bits, dest + "/")}" On="uninstall"/>')
                first = False
            out.append(f"{indent}  </Component>")
        for child in sorted(d for d in all_folders if d.rsplit("/", 1)[0] == dest and "/" in d):
            folder(child, depth + 1)
        out.append(f"{indent}</Directory>")

    all_folders = set()
    for dest in tree:
        parts = dest.split("/")
        all_folders.update("/".join(parts[:i]) for i in range(1, len(parts) + 1))
    for top in sorted(d for d in all_folders if "/" not in d):
        folder(top, 0)
    out += ["    </DirectoryRef>", f'    <ComponentGroup Id="Data{bits}">']
    out += [f'      <ComponentRef Id="{key}"/>' for key in ids]
    out += ["    </ComponentGroup>", "  </Fragment>", "</Wix>", ""]
    return "\n".join(out)


def inputs(args, layout):
    """What the package is made of, as one text: the options that shape it and
    every file it is built from with a digest of its bytes."""
    paths = [args.wxs, args.icon, __file__, check_msi.__file__, os.path.join(HERE, "layout.py")]
    paths += sorted(glob.glob(os.path.join(os.path.abspath(args.includes), "*.wxi")))
    for half_dir, files in layout.values():
        paths += [os.path.join(half_dir, "manifest.txt")] + [os.path.join(half_dir, p) for p, _, _ in files]
    lines = [f"{args.arch} {args.version}"]
    for p in paths:  # by content: the build copies the panel's data anew each time
        with open(p, "rb") as f:
            lines.append(f"{hashlib.sha1(f.read()).hexdigest()} {os.path.abspath(p)}")
    return "\n".join(lines) + "\n"


def run(command, cwd):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    # wixl carries on past attributes it does not know, saying so only on stderr.
    said = (result.stdout + result.stderr).strip()
    if result.returncode != 0 or said:
        raise PackageError(f"{' '.join(command)} failed:\n{said}")


def include_maximum(msi, work):
    """wixl 0.101 ignores IncludeMaximum: the row that removes older packages
    is made to take another build of this very version too. Attributes is a
    key of the Upgrade table, so the table is exported, mended and imported."""
    exported = subprocess.run(["msiinfo", "export", msi, "Upgrade"], capture_output=True, check=True)
    rows = exported.stdout.decode("utf-8").split("\r\n")
    for i, row in enumerate(rows[3:], 3):
        fields = row.split("\t")
        if fields[-1] == "OLDERFOUND":
            fields[4] = str(int(fields[4]) | 0x200)
            rows[i] = "\t".join(fields)
    folder = os.path.join(work, "upgrade")
    os.makedirs(folder)
    with open(os.path.join(folder, "Upgrade.idt"), "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(rows))
    run(["msibuild", msi, "-i", os.path.join(folder, "Upgrade.idt")], work)


def build(args):
    layout = package_layout(args.package, args.arch)
    made_of = inputs(args, layout)
    record = os.path.abspath(args.work) + ".inputs"
    if os.path.exists(args.out) and os.path.exists(record):
        with open(record, encoding="utf-8") as f:
            if f.read() == made_of:
                return "up to date"
    # A package that is not rebuilt right is not left behind.
    for stale in (args.out, record):
        if os.path.exists(stale):
            os.remove(stale)

    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    shutil.copyfile(args.icon, os.path.join(work, "padpanel.ico"))
    sources = [os.path.abspath(args.wxs)]
    for bits, (half_dir, files) in layout.items():
        os.symlink(half_dir, os.path.join(work, f"half{bits}"))
        with open(os.path.join(work, f"data{bits}.wxs"), "w", encoding="utf-8") as f:
            f.write(data_fragment(bits, [(p, dest) for p, _, dest in files]))
        sources.append(f"data{bits}.wxs")

    built = os.path.join(work, "package.msi")
    run(["wixl", "-a", args.arch, "-D", f"Arch={args.arch}", "-D", f"Version={args.version}",
         "-I", os.path.abspath(args.includes), "-o", built] + sources, work)
    include_maximum(built, work)
    faults = check_msi.check(built, args.arch, args.version, layout)
    if faults:
        raise PackageError("the package's tables are wrong:\n  " + "\n  ".join(faults))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    os.replace(built, args.out)
    with open(record, "w", encoding="utf-8") as f:
        f.write(made_of)
    return "built"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--arch", choices=["x64", "x86"], required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--package", required=True)
    parser.add_argument("--includes", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--wxs", default=os.path.join(HERE, "pad.wxs"))
    parser.add_argument("--when-complete", action="store_true")
    parser.add_argument("--drop-other-versions", action="store_true",
                        help="remove packages of other versions beside FILE (named as FILE with another version)")
    args = parser.parse_args()
    if not re.fullmatch(r"\d{1,3}\.\d{1,3}(\.\d{1,5})?", args.version):
        sys.exit(f"make-msi.py: {args.version} is no package version (major.minor[.build])")
    name = os.path.basename(args.out)
    if args.drop_other_versions and args.version in name:
        folder = os.path.dirname(os.path.abspath(args.out))
        for other in glob.glob(os.path.join(folder, name.replace(args.version, "*"))):
            if os.path.basename(other) != name:
                os.remove(other)
    try:
        print(f"make-msi.py: {name}: {build(args)}")
    except HalfNotBuilt as e:
        native = "64" if args.arch == "x64" else "32"
        if not args.when_complete or e.bits == native:
            sys.exit(f"make-msi.py: {name}: {e}")
        for stale in (args.out, os.path.abspath(args.work) + ".inputs"):
            if os.path.exists(stale):
                os.remove(stale)
        print(f"make-msi.py: {name} not built: the {e.bits}-bit half is not built yet ({e})")
    except PackageError as e:
        sys.exit(f"make-msi.py: {name}: {e}")


if __name__ == "__main__":
    main()
