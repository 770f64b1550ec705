#!/usr/bin/env bash
# test-deb.sh [BUILD_DIR]: builds the Debian package (scripts/build-deb.sh) and tries it
# on this machine as root: it installs with apt-get, `man plandown` shows the page, the
# desktop entry is valid, the programs, icon and file types are where the desktop looks,
# and removing the package leaves none of its files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS
"$root/scripts/build-deb.sh" "$@"
deb=$(ls "$root"/dist/plandown_*.deb)
fail() { echo "test-deb: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
  echo "test-deb: not root; the package is built but not installed"
  exit 0
fi
# A package of the same name from an earlier run would hide a missing file.
dpkg-query -W plandown >/dev/null 2>&1 && apt-get remove -y -qq plandown >/dev/null
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
files=$(dpkg -L plandown)
for f in /usr/bin/plandown /usr/bin/plandown-gui /usr/share/applications/plandown.desktop \
  /usr/share/mime/packages/plandown.xml /usr/share/icons/hicolor/48x48/apps/plandown.png \
  /usr/share/icons/hicolor/scalable/apps/plandown.svg /usr/share/bash-completion/completions/plandown \
  /usr/share/man/man1/plandown.1.gz; do
  [ -e "$f" ] || fail "$f is not installed"
done
ls /usr/lib/plandown/*plandown-graphics* >/dev/null 2>&1 || fail "the graphics module is not installed"
[ "$(/usr/bin/plandown --version)" = "plandown $(dpkg-query -W -f='${Version}' plandown)" ] ||
  fail "the installed plandown answers $(/usr/bin/plandown --version)"
# The installed command line finds its installed graphics module.
picture=$(mktemp -d)
/usr/bin/plandown render --format png --size 64x48 --out "$picture" "$root/examples/sxf_details.jww" >/dev/null ||
  fail "the installed plandown cannot draw a PNG picture"
[ -s "$picture/sxf_details.png" ] || fail "no PNG picture from the installed plandown"
rm -rf "$picture"
man plandown 2>/dev/null | grep -q "convert Jw_cad drawings" || fail "man plandown does not show the page"
desktop-file-validate /usr/share/applications/plandown.desktop || fail "the desktop entry is not valid"
if command -v update-mime-database >/dev/null; then
  grep -q "application/x-jww" /usr/share/mime/globs2 || fail "*.jww is not in the MIME database"
fi

apt-get remove -y -qq plandown >/dev/null
left=$(while read -r f; do [ -f "$f" ] && echo "$f"; done <<<"$files" || true)
[ -z "$left" ] || fail "left after removal: $left"
! grep -q "application/x-jww" /usr/share/mime/globs2 2>/dev/null || fail "*.jww stays in the MIME database"
echo "test-deb: $(basename "$deb") installs, works and removes cleanly ($((SECONDS - started)) s)"
