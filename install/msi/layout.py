"""Where the files of the package go: each half's manifest.txt read and its
patterns expanded, shared by make-msi.py and check_msi.py."""
import glob
import os

# The folder each half goes to, by its bitness, as a Directory key.
SYSTEM_FOLDERS = {"32": "SystemFolder", "64": "System64Folder"}


class PackageError(Exception):
    pass


class HalfNotBuilt(PackageError):
    """A half without its manifest or a file of it: not built (yet)."""

    def __init__(self, bits, text):
        super().__init__(text)
        self.bits = bits


def halves(arch):
    """(bits, folder under the package root) of each half the package takes."""
    return [("32", "."), ("64", "x64")] if arch == "x64" else [("32", ".")]


def manifest_files(bits, half_dir):
    """[(path in the half, destination folder)] of a half's manifest, patterns expanded."""
    manifest = os.path.join(half_dir, "manifest.txt")
    if not os.path.isfile(manifest):
        raise HalfNotBuilt(bits, f"{half_dir} has no manifest.txt")
    files = []
    with open(manifest, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 2:
                raise PackageError(f"{manifest}:{number}: a line is a path and a folder")
            pattern, dest = fields
            found = [p for p in sorted(glob.glob(os.path.join(half_dir, pattern))) if os.path.isfile(p)]
            if not found:
                raise HalfNotBuilt(bits, f"{manifest}:{number}: {pattern} is not in {half_dir}")
            files += [(os.path.relpath(p, half_dir).replace(os.sep, "/"), dest) for p in found]
    return files


def package_layout(package, arch):
    """{bits: (half folder, [(path in the half, system folder key, destination)])}."""
    layout = {}
    for bits, sub in halves(arch):
        half = os.path.normpath(os.path.join(os.path.abspath(package), sub))
        layout[bits] = (half, [(p, SYSTEM_FOLDERS[bits], dest) for p, dest in manifest_files(bits, half)])
    return layout
