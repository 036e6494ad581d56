#!/usr/bin/env bash
# The soak: the staged driver (and the property sheet) at work under Wine for
# minutes on end, the process's handles, threads, GDI and USER objects, heap
# and private bytes printed once a minute and judged for growth at the end.
#
#   soak.sh [--tree DIR] [--minutes N] [--seed N] [--only driver|sheet] [--out DIR]
#
#   --tree DIR    the built Windows tree (default build/win64)
#   --minutes N   how long (default 10, at least 2); the first minute or more is the warm-up
#   --seed N      repeat a run: its seed is printed on its first line
#   --only HALF   run one half alone, to tell where a growth comes from; its
#                 folder and prefix are its own, so both halves can run at once
#   --out DIR     where the log goes (default out/soak)
#
# The program and the driver are copied to a folder of the run's own first,
# so that a rebuild meanwhile changes nothing under the driver half; the run
# has a Wine prefix of its own, TREE/wine/prefixes/soak, on a private Xvfb screen.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree="$top/build/win64" out="$top/out/soak" minutes=10 args=() name=soak
while [ $# -gt 0 ]; do
  case "$1" in
    --tree) tree=$(cd "$2" && pwd); shift 2 ;;
    --minutes) minutes=$2; shift 2 ;;
    --seed) args+=("--seed=$2"); shift 2 ;;
    --only)
      case "$2" in
        driver) args+=(--no-sheet) ;;
        sheet) args+=(--no-driver) ;;
        *) echo "soak.sh: --only takes driver or sheet, not $2" >&2; exit 2 ;;
      esac
      name="soak-$2"; shift 2 ;;
    --out) out=$2; shift 2 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[[ "$minutes" =~ ^[1-9][0-9]*$ ]] || { echo "soak.sh: --minutes takes a whole number of minutes, not $minutes" >&2; exit 2; }
[ -f "$tree/pad-tree.env" ] || { echo "soak.sh: $tree is no configured Windows tree" >&2; exit 1; }
source "$tree/pad-tree.env"
exe="$tree/tests/wine/soak/soak_tests.exe"
for f in "$exe" "$dist/padforce.dll"; do
  [ -f "$f" ] || { echo "soak.sh: $f is missing; build the tree first" >&2; exit 1; }
done

run="$tree/$name"
rm -rf "$run"
mkdir -p "$run" "$out"
# The DirectInput stand-in goes beside the program; the sheet's panel and its
# data are read from the staging folder.
cp "$exe" "$(dirname "$exe")/dinput.dll" "$dist/padforce.dll" "$run/"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
log="$out/$name-$(date -u +%Y%m%d-%H%M%S).log"
echo "soak: $minutes min under Wine ($arch), log in $log"
set +e
# No sound card here: Wine's ALSA driver would keep memory of each failed open.
"$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" --name "$name" --display --override winealsa.drv=d -- \
  "$run/soak_tests.exe" --driver="$(winpath "$run/padforce.dll")" --minutes="$minutes" "${args[@]}" 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
exit "$rc"
