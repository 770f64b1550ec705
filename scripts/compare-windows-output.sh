#!/usr/bin/env bash
# compare-windows-output.sh LINUX_PLANDOWN WINDOWS_PLANDOWN_EXE: converts examples/ and the
# real files of ../shared/corpus/ (when present), copied into a folder with a Japanese name
# and a space, with both builds (the Windows one under wine) to every target generation,
# and fails unless both write the same files, byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/plandown-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

input="$work/図面 フォルダ"
mkdir -p "$input"
cp "$root"/examples/* "$input/"
if [ -d "$root/../shared/corpus/jw_cad" ]; then
  cp -r "$root/../shared/corpus/jw_cad/." "$input/"
else
  echo "compare-windows-output: ../shared/corpus is absent; only the examples are compared"
fi
files=$(find "$input" -type f | wc -l)

cd "$work"
for target in 6.00 4.20 3.51 3.00; do
  mkdir -p "linux $target" "windows $target"
  status_linux=0 status_windows=0
  "$linux" convert --recursive --to "$target" --out "linux $target" "図面 フォルダ" >"linux $target.txt" 2>&1 ||
    status_linux=$?
  "$root/scripts/wine-run.sh" "$windows" convert --recursive --to "$target" --out "windows $target" "図面 フォルダ" \
    >"windows $target.txt" 2>&1 || status_windows=$?
  written=$(find "linux $target" -type f | wc -l)
  if [ "$status_linux" != "$status_windows" ] || ! diff -r "linux $target" "windows $target" >/dev/null || [ "$written" -eq 0 ]; then
    echo "compare-windows-output: the builds differ for $target (exit $status_linux / $status_windows)" >&2
    diff -r "linux $target" "windows $target" >&2 || true
    exit 1
  fi
  echo "compare-windows-output: $target: $written files of $files written byte-identically by both builds"
done
