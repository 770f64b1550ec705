#!/usr/bin/env bash
# process_bench.sh [BUILD_DIR [ROUNDS]]: times whole plandown processes against plain copies
# of the same files, in the same run, with the page cache warm.
#
# Per round, in turn (so that a change in the machine's load hits every command alike):
#   dd bs=64k of each drawing           against  plandown convert --to 6.00, plandown info
#   plandown --help                     against  /bin/true
#   tar cf - | tar xf - of the corpus   against  plandown convert --recursive --jobs 2
# The drawings are written by bench/make_drawing (1,000,000 objects each): "texts" with a
# distinct Japanese string per text and SXF attributes, "synthetic" with few distinct
# strings. Medians over the rounds; peak memory from one more run of each command.
# PLANDOWN_BASELINE=PROGRAM times another plandown (an earlier build) in the same rounds,
# for before/after figures under the same load.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-11}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
corpus=${PLANDOWN_CORPUS:-$source_dir/../shared/corpus}
plandown=$build/plandown
baseline=${PLANDOWN_BASELINE:-}
make_drawing=$build/bench/make_drawing
objects=${PLANDOWN_BENCH_OBJECTS:-1000000}

work=$(mktemp -d "${TMPDIR:-/tmp}/plandown-process-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"

drawings=(texts synthetic)
for k in "${drawings[@]}"; do "$make_drawing" "$k" "$objects" "$work/$k.jww"; done
have_corpus=0
[ -d "$corpus" ] && have_corpus=1

declare -A times  # name -> space-separated seconds

# Runs "$@" once with stdout and stderr discarded; adds its wall time to times[$name].
timed() {
  local name=$1; shift
  local t0=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || true
  local t1=$EPOCHREALTIME
  times[$name]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", b - a }') "
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else printf "%.6f\n", (v[m] + v[m + 1]) / 2 }'; }
med() { echo "${times[$1]}" | median; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

# Warm the page cache and the programs.
cat "$work"/*.jww >/dev/null
[ $have_corpus = 1 ] && tar cf - -C "$corpus" . >/dev/null
"$plandown" --help >/dev/null

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((r = 0; r < rounds; r++)); do
  for k in "${drawings[@]}"; do
    rm -f "$work/out/$k".*
    timed "dd_$k" dd if="$work/$k.jww" of="$work/out/$k.copy" bs=64k
    rm -f "$work/out/$k".*
    timed "convert_$k" "$plandown" convert --to 6.00 --out "$work/out" "$work/$k.jww"
    timed "info_$k" "$plandown" info "$work/$k.jww"
    if [ -n "$baseline" ]; then
      rm -f "$work/out/$k".*
      timed "base_convert_$k" "$baseline" convert --to 6.00 --out "$work/out" "$work/$k.jww"
      timed "base_info_$k" "$baseline" info "$work/$k.jww"
    fi
  done
  timed help "$plandown" --help
  timed true /bin/true  # the cost of starting any process, for scale
  [ -n "$baseline" ] && timed base_help "$baseline" --help
  if [ $have_corpus = 1 ]; then
    rm -rf "$work/tar" "$work/conv"
    mkdir -p "$work/tar" "$work/conv"
    timed tar bash -c 'tar cf - -C "$1" . | tar xf - -C "$2"' _ "$corpus" "$work/tar"
    timed corpus "$plandown" convert --recursive --jobs 2 --out "$work/conv" "$corpus"
    if [ -n "$baseline" ]; then
      rm -rf "$work/conv" && mkdir -p "$work/conv"
      timed base_corpus "$baseline" convert --recursive --jobs 2 --out "$work/conv" "$corpus"
    fi
  fi
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo "plandown process benchmark: $rounds rounds, medians; load average before $load_before, after $load_after ($(nproc) cores)"
for k in "${drawings[@]}"; do
  size=$(stat -c %s "$work/$k.jww")
  dd=$(med "dd_$k"); cv=$(med "convert_$k"); in=$(med "info_$k")
  rm -f "$work/out/$k".*
  pc=$(peak_kb "$plandown" convert --to 6.00 --out "$work/out" "$work/$k.jww")
  pi=$(peak_kb "$plandown" info "$work/$k.jww")
  printf '%s drawing, %s objects, %.1f MB:\n' "$k" "$objects" "$(awk -v s="$size" 'BEGIN { print s / 1e6 }')"
  printf '  dd bs=64k            %s\n' "$(ms "$dd")"
  printf '  convert --to 6.00    %s  = %s x dd   peak %.1f MB = %s x file\n' "$(ms "$cv")" "$(ratio "$cv" "$dd")" \
    "$(awk -v k="$pc" 'BEGIN { print k * 1024 / 1e6 }')" "$(ratio "$((pc * 1024))" "$size")"
  printf '  info                 %s  = %s x dd   peak %.1f MB = %s x file\n' "$(ms "$in")" "$(ratio "$in" "$dd")" \
    "$(awk -v k="$pi" 'BEGIN { print k * 1024 / 1e6 }')" "$(ratio "$((pi * 1024))" "$size")"
  if [ -n "$baseline" ]; then
    bc=$(med "base_convert_$k"); bi=$(med "base_info_$k")
    printf '  baseline convert     %s  = %s x dd\n' "$(ms "$bc")" "$(ratio "$bc" "$dd")"
    printf '  baseline info        %s  = %s x dd\n' "$(ms "$bi")" "$(ratio "$bi" "$dd")"
  fi
done
printf 'plandown --help        %s   (/bin/true: %s)\n' "$(ms "$(med help)")" "$(ms "$(med true)")"
[ -n "$baseline" ] && printf 'baseline --help        %s\n' "$(ms "$(med base_help)")"
if [ $have_corpus = 1 ]; then
  tr=$(med tar); co=$(med corpus)
  printf 'corpus (%s files, %s):\n' "$(find "$corpus" -type f | wc -l)" "$(du -sh "$corpus" | cut -f1)"
  printf '  tar cf - | tar xf -  %s\n' "$(ms "$tr")"
  printf '  convert --recursive --jobs 2  %s  = %s x tar\n' "$(ms "$co")" "$(ratio "$co" "$tr")"
  if [ -n "$baseline" ]; then
    bco=$(med base_corpus)
    printf '  baseline              %s  = %s x tar\n' "$(ms "$bco")" "$(ratio "$bco" "$tr")"
  fi
else
  echo "corpus: $corpus not found, skipped"
fi
