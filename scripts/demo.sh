#!/usr/bin/env bash
# The force-feedback driver at work: plays a script of effects through the
# staged padforce.dll the way DirectInput would, at a simulated pad, under
# Wine, prints each report the pad receives and draws both motors over time.
#
#   demo.sh [--tree DIR] [--out DIR] [--script FILE] [dihost options...]
#
#   --tree DIR     the built Windows tree (default build/win64); its Wine
#                  kind and staging folder are read from its pad-tree.env
#   --out DIR      where motors.svg and reports.csv go (default out/demo)
#   --script FILE  effects of your own (format: hosts/dihost/README.md);
#                  default: the built-in script
#   other options go to dihost.exe as they are: --strength N, --period N,
#   --auto 0|1, --no-settings, --tail MS, --quiet (see dihost --help)
#
# The run has a Wine prefix of its own, TREE/wine/prefixes/demo.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree="$top/build/win64" out="$top/out/demo"
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --tree) tree=$(cd "$2" && pwd); shift 2 ;;
    --out) out=$2; shift 2 ;;
    --script)
      [ -f "$2" ] || { echo "demo.sh: no script file $2" >&2; exit 2; }
      args+=(--script "Z:$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"); shift 2 ;;
    --driver) echo "demo.sh: the demo plays the staged driver; use --tree to choose another build" >&2; exit 2 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) args+=("$1"); shift ;;
  esac
done

[ -f "$tree/pad-tree.env" ] || { echo "demo.sh: $tree is no configured Windows tree" >&2; exit 1; }
source "$tree/pad-tree.env"
host="$tree/hosts/dihost/dihost.exe"
for f in "$host" "$dist/padforce.dll"; do
  [ -f "$f" ] || { echo "demo.sh: $f is missing; build the tree first" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/motors.svg" "$out/reports.csv"  # never point at a picture of an earlier run

# Wine's Z: drive is the Unix root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# Paths inside the script option were made absolute above; turn them round too.
for i in "${!args[@]}"; do
  case "${args[$i]}" in Z:/*) args[$i]=$(winpath "${args[$i]#Z:}") ;; esac
done

echo "demo.sh: playing effects through $dist/padforce.dll (the $arch build)"
rc=0
"$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" --name demo -- \
  "$host" --driver "$(winpath "$dist/padforce.dll")" --out "$(winpath "$out")" "${args[@]}" || rc=$?
if [ -f "$out/motors.svg" ]; then
  echo "demo.sh: the picture of both motors is $out/motors.svg"
  echo "demo.sh: every report is in $out/reports.csv"
fi
exit $rc
