#!/usr/bin/env python3
"""Checks the tables of a built package of the pad's software, so that a file
in the wrong folder, a component in the wrong registry view or an action in
the wrong place fails the build rather than a user's machine.

  check_msi.py MSI x64|x86 VERSION PACKAGE_DIR

Prints one line per fault; the exit code is 1 when there is any.
"""
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree

from layout import package_layout

COMPONENT_64BIT = 0x100
UPGRADE_ONLY_DETECT = 0x2
UPGRADE_MIN_INCLUSIVE = 0x100
UPGRADE_MAX_INCLUSIVE = 0x200
# An executable from an installed file, run in the installer's deferred
# script as the installer service; its exit code is not looked at.
TOOL_ACTION_TYPE = 18 | 0x40 | 0x400 | 0x800
SET_PROPERTY_TYPE = 51
TOOL_ACTIONS = {"RunPadSetup": ("padsetup.exe", 'NOT REMOVE~="ALL"'),
                "RunPadRemove": ("padremove.exe", 'REMOVE~="ALL"')}
REPAIR_CONDITION = "Installed AND NOT REMOVE AND NOT REINSTALL"


def table(msi, name):
    """The rows of a table as dicts of column -> text (None for a null field)."""
    # msiinfo writes the streams of binary columns into the working folder.
    with tempfile.TemporaryDirectory() as scratch:
        text = subprocess.run(["msiinfo", "export", os.path.abspath(msi), name], capture_output=True, check=True,
                              cwd=scratch).stdout.decode("utf-8")
    lines = text.split("\r\n")
    columns = lines[0].split("\t")
    rows = []
    for line in lines[3:]:
        if not line:
            continue
        fields = line.split("\t")
        rows.append({c: (f if f != "" else None) for c, f in zip(columns, fields + [""] * len(columns))})
    return rows


def summary(msi):
    text = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True, check=True).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)


def check(msi, arch, version, layout):
    """layout: {bits: (half folder, [(path in the half, system folder id, destination)])}."""
    faults = []
    fault = faults.append
    tables = {name: table(msi, name) for name in (
        "Property", "Directory", "Component", "File", "Registry", "CustomAction", "InstallExecuteSequence",
        "InstallUISequence", "Upgrade", "LaunchCondition", "FeatureComponents", "RemoveFile", "Icon", "Media")}
    props = {r["Property"]: r["Value"] for r in tables["Property"]}

    # The package as Windows Installer opens it.
    info = summary(msi)
    platform = {"x64": "x64", "x86": "Intel"}[arch]
    if not info.get("Template", "").startswith(platform + ";"):
        fault(f"the package is for {info.get('Template')}, not {platform}")
    installer = int(info.get("Version", "0").split()[0])
    if installer < 200:
        fault(f"the package asks for Windows Installer {installer}; a 64-bit package needs at least 200")
    if info.get("Source", "").split()[0] != "2":
        fault("the package is not marked compressed and per-machine (elevated): word count " + info.get("Source", ""))
    if props.get("ProductVersion") != version:
        fault(f"ProductVersion is {props.get('ProductVersion')}, not {version}")
    for name in ("ProductName", "Manufacturer", "UpgradeCode", "ProductCode"):
        if not props.get(name):
            fault(f"the package has no {name}")
    if props.get("ALLUSERS") != "1":
        fault("the package does not install for all users (ALLUSERS=1)")
    icons = {r["Name"] for r in tables["Icon"]}
    if props.get("ARPPRODUCTICON") not in icons:
        fault("the uninstall entry's icon (ARPPRODUCTICON) is not in the Icon table")
    media = tables["Media"]
    if len(media) != 1 or not (media[0]["Cabinet"] or "").startswith("#"):
        fault("the files are not in one cabinet inside the package")

    # Folders: each half's system folder, and the data folders under it.
    dirs = {r["Directory"]: r for r in tables["Directory"]}
    wanted_roots = {"SystemFolder"} | ({"System64Folder"} if arch == "x64" else set())
    for root in ("SystemFolder", "System64Folder"):
        there = root in dirs and dirs[root]["Directory_Parent"] == "TARGETDIR"
        if there != (root in wanted_roots):
            fault(f"{root} is {'missing from' if not there else 'in'} the {arch} package")

    def folder_path(d):
        parts = []
        while d in dirs and d not in ("SystemFolder", "System64Folder", "TARGETDIR"):
            parts.append(dirs[d]["DefaultDir"].split("|")[-1])
            d = dirs[d]["Directory_Parent"]
        return d, "/".join(reversed(parts)) or "."

    # Files: each file a manifest names, once, in its folder, in the view of its half.
    components = {r["Component"]: r for r in tables["Component"]}
    files = {r["File"]: r for r in tables["File"]}
    placed = {}  # (system folder, destination, name) -> file row
    for row in files.values():
        comp = components.get(row["Component_"])
        if comp is None:
            fault(f"file {row['File']} belongs to no component")
            continue
        root, dest = folder_path(comp["Directory_"])
        name = row["FileName"].split("|")[-1]
        if (root, dest, name.lower()) in placed:
            fault(f"{root}/{dest}/{name} is installed twice")
        placed[(root, dest, name.lower())] = row
        if comp["KeyPath"] != row["File"]:
            fault(f"{name} is not the key of its component {comp['Component']}")
    expected = set()
    for bits, (half_dir, entries) in layout.items():
        for path, root, dest in entries:
            name = os.path.basename(path)
            expected.add((root, dest, name.lower()))
            row = placed.get((root, dest, name.lower()))
            if row is None:
                fault(f"{path} of the {bits}-bit half is not installed into {root}/{dest}")
            elif int(row["FileSize"]) != os.path.getsize(os.path.join(half_dir, path)):
                fault(f"{root}/{dest}/{name} is not the size of the staged {path}")
    for key in sorted(set(placed) - expected):
        fault(f"{key[0]}/{key[1]}/{key[2]} is in the package but in no manifest")

    # Views: a component writes 64-bit files and keys exactly when it lies under System64Folder.
    for comp in components.values():
        root, dest = folder_path(comp["Directory_"])
        wide = bool(int(comp["Attributes"]) & COMPONENT_64BIT)
        if wide != (root == "System64Folder"):
            fault(f"component {comp['Component']} in {root}/{dest} is in the {'64' if wide else '32'}-bit view")
        if comp["Condition"]:
            fault(f"component {comp['Component']} has a condition")
    featured = {r["Component_"] for r in tables["FeatureComponents"]}
    for name in sorted(set(components) - featured):
        fault(f"component {name} belongs to no feature")
    removed_folders = {r["DirProperty"] for r in tables["RemoveFile"] if not r["FileName"] and r["InstallMode"] == "2"}
    for d in dirs:
        if d not in ("TARGETDIR", "SystemFolder", "System64Folder") and d not in removed_folders:
            fault(f"the folder {folder_path(d)[1]} is not removed at removal")

    # Classes: each server registered by the component that installs it, in the view of that component.
    views = {"32", "64"} if arch == "x64" else {"32"}
    classes = {}
    for r in tables["Registry"]:
        if r["Key"].lower().endswith("\\inprocserver32") and r["Name"] is None:
            comp = components[r["Component_"]]
            key_file = files[comp["KeyPath"]]["FileName"].split("|")[-1].lower()
            server = (r["Value"] or "").lstrip("#%").split("\\")[-1].lower()
            if server != key_file:
                fault(f"the class {r['Key']} names {server} but lives in the component of {key_file}")
            view = "64" if int(comp["Attributes"]) & COMPONENT_64BIT else "32"
            classes.setdefault(r["Key"].split("\\")[-2], set()).add(view)
    if len(classes) != 2:
        fault(f"the package registers {len(classes)} classes, not 2")
    for clsid, seen in classes.items():
        if seen != views:
            fault(f"the class {clsid} is registered in the {'/'.join(sorted(seen))}-bit view only")

    # Types: the Registry table marks them in the value ("#%" expandable, "#x" binary).
    for r in tables["Registry"]:
        value = r["Value"] or ""
        if r["Key"].lower().endswith("\\inprocserver32") and r["Name"] is None and not value.startswith("#%"):
            fault(f"the server path of {r['Key']} is not an expandable string: {value}")
        if "\\OEMForceFeedback\\Effects\\" in r["Key"] and r["Name"] == "Attributes" and not (
                value.startswith("#x") and len(value) == 2 + 2 * 20):
            fault(f"the effect attributes of {r['Key']} are not 20 bytes of binary: {value}")

    native = "64" if arch == "x64" else "32"
    by_file = {files[c["KeyPath"]]["FileName"].split("|")[-1].lower() + "/" +
               ("64" if int(c["Attributes"]) & COMPONENT_64BIT else "32"): c["Component"]
               for c in components.values() if c["KeyPath"] in files}
    effects = {r["Component_"] for r in tables["Registry"] if "\\OEMForceFeedback\\Effects\\" in r["Key"]}
    if effects != {by_file.get(f"padforce.dll/{native}")}:
        fault(f"the effect list is written by {sorted(effects)}, not once by the native padforce.dll")
    removals = {r["Component_"] for r in tables["Registry"] if r["Name"] == "-" and r["Value"] is None}
    if removals != {by_file.get(f"padsetup.exe/{native}")} or len(
            [r for r in tables["Registry"] if r["Name"] == "-"]) != 2:
        fault("the keys padsetup writes are not removed (two '-' rows) with the native padsetup.exe")

    # Actions: the setup tools run from the native half, deferred, as the service.
    actions = {r["Action"]: r for r in tables["CustomAction"]}
    execute = {r["Action"]: r for r in tables["InstallExecuteSequence"]}
    ui = {r["Action"]: r for r in tables["InstallUISequence"]}

    def at(sequence, action):
        row = sequence.get(action)
        return int(row["Sequence"]) if row and row["Sequence"] else None

    def in_order(sequence, label, *names):
        numbers = [at(sequence, n) for n in names]
        if None in numbers:
            missing = [n for n, s in zip(names, numbers) if s is None]
            fault(f"{label} lacks {', '.join(missing)}")
        elif numbers != sorted(numbers) or len(set(numbers)) != len(numbers):
            fault(f"{label} does not run {' < '.join(names)}: {numbers}")

    for action, (tool, condition) in TOOL_ACTIONS.items():
        row = actions.get(action)
        if row is None:
            fault(f"the package has no {action}")
            continue
        if int(row["Type"]) != TOOL_ACTION_TYPE:
            fault(f"{action} is of type {row['Type']}, not a deferred, unimpersonated program ({TOOL_ACTION_TYPE})")
        if row["Source"] != by_file.get(f"{tool}/{native}"):
            fault(f"{action} runs {row['Source']}, not the native {tool}")
        if action in execute and execute[action]["Condition"] != condition:
            fault(f"{action} runs when {execute[action]['Condition']}, not when {condition}")
    row = actions.get("ReinstallAll")
    if row is None or int(row["Type"]) != SET_PROPERTY_TYPE or (row["Source"], row["Target"]) != ("REINSTALL", "ALL"):
        fault("the package does not repair itself when it is opened again (ReinstallAll)")
    for label, sequence in (("InstallExecuteSequence", execute), ("InstallUISequence", ui)):
        in_order(sequence, label, "FindRelatedProducts", "LaunchConditions", "ReinstallAll", "CostInitialize",
                 "CostFinalize")
        if sequence.get("ReinstallAll", {}).get("Condition") != REPAIR_CONDITION:
            fault(f"ReinstallAll in {label} does not run when {REPAIR_CONDITION}")
    in_order(execute, "InstallExecuteSequence", "InstallValidate", "RemoveExistingProducts", "InstallInitialize",
             "RemoveRegistryValues", "RunPadRemove", "RemoveFiles", "InstallFiles", "WriteRegistryValues",
             "RunPadSetup", "RegisterProduct", "InstallFinalize")
    for name, r in execute.items():
        if name in actions and int(actions[name]["Type"]) & 0x400:
            if not at(execute, "InstallInitialize") < int(r["Sequence"]) < at(execute, "InstallFinalize"):
                fault(f"the deferred action {name} lies outside InstallInitialize..InstallFinalize")

    # Upgrades: older packages and other builds of this version go first; a newer one refuses this one.
    code = props.get("UpgradeCode")
    upgrades = {r["ActionProperty"]: r for r in tables["Upgrade"]}
    older, newer = upgrades.get("OLDERFOUND"), upgrades.get("NEWERFOUND")
    if len(upgrades) != 2 or any(r["UpgradeCode"] != code for r in upgrades.values()):
        fault(f"the Upgrade table is not two rows of the package's upgrade code {code}")
    if not older or older["VersionMax"] != version or int(older["Attributes"]) != (
            UPGRADE_MIN_INCLUSIVE | UPGRADE_MAX_INCLUSIVE):
        fault("older packages and other builds of this version are not removed (OLDERFOUND up to and with "
              f"{version})")
    if not newer or newer["VersionMin"] != version or newer["VersionMax"] or int(newer["Attributes"]) != (
            UPGRADE_ONLY_DETECT):
        fault(f"newer packages are not detected (NEWERFOUND above {version}, only detected)")
    conditions = {r["Condition"]: r["Description"] for r in tables["LaunchCondition"]}
    if not conditions.get("NOT NEWERFOUND"):
        fault("a downgrade is not refused with a message")
    bitness = "VersionNT64" if arch == "x64" else "NOT VersionNT64"
    if not conditions.get(bitness):
        fault(f"the {arch} package does not refuse the other Windows ({bitness})")
    secure = set((props.get("SecureCustomProperties") or "").split(";"))
    if not {"OLDERFOUND", "NEWERFOUND"} <= secure:
        fault("OLDERFOUND and NEWERFOUND are not secure properties")
    return faults


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    msi, arch, version, package = sys.argv[1:]
    faults = check(msi, arch, version, package_layout(package, arch))
    for f in faults:
        print(f"FAULT: {f}")
    print(f"check_msi.py: {os.path.basename(msi)}: {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
