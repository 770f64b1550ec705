#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program under wine in Plandown's private
# prefix (${PLANDOWN_WINEPREFIX:-~/.cache/plandown/wine-prefix}), made on first use: a
# 64-bit prefix whose fonts show Japanese. CMake uses it as the emulator of the
# cross-built tests; it is also the way to try plandown.exe by hand.
set -euo pipefail
export WINEPREFIX=${PLANDOWN_WINEPREFIX:-${PLANDOWN_CACHE:-$HOME/.cache/plandown}/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or Internet Explorer downloads when the prefix is made. No debugger on a crash:
# wine's would attach and wait, and a crashed test would hang until its time runs out
# instead of failing at once.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winedbg.exe=d"
# The 64-bit loader: the wine wrapper asks for a 32-bit wine that is not needed.
wine=/usr/lib/wine/wine64

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/.plandown-ready" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.plandown-ready" ]; then
      rm -rf "$WINEPREFIX"
      "$wine" wineboot -i >/dev/null 2>&1
      # Japanese text: the fonts of the Windows UI and their fallbacks point at a Japanese
      # font of the host (fonts-noto-cjk).
      font=$(fc-match -f '%{family[0]}' 'Noto Sans CJK JP' 2>/dev/null || true)
      [ -n "$font" ] || font="Noto Sans CJK JP"
      reg=$(mktemp --suffix=.reg)
      {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
        for face in "MS UI Gothic" "MS Gothic" "MS PGothic" "Meiryo" "Meiryo UI" "Yu Gothic" "Yu Gothic UI"; do
          printf '"%s"="%s"\n' "$face" "$font"
        done
        printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
        for face in "Tahoma" "Segoe UI" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
          printf '"%s"="NotoSansCJK-Regular.ttc,%s"\n' "$face" "$font"
        done
      } >"$reg"
      "$wine" regedit "Z:${reg//\//\\}" >/dev/null 2>&1  # wine shows the host's / as Z:
      rm -f "$reg"
      "$wine" wineboot -s >/dev/null 2>&1 || true
      touch "$WINEPREFIX/.plandown-ready"
    fi
  ) 9>"$(dirname "$WINEPREFIX")/wine-prefix.lock"
fi
exec "$wine" "$@"
