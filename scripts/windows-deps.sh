#!/usr/bin/env bash
# windows-deps.sh: builds the static Windows libraries that the Windows build links
# (libpng, libjpeg-turbo, libtiff, wxWidgets for msw, GoogleTest) from Debian's own source
# packages with the mingw-w64 cross-compilers, or reuses an earlier build.
#
# The build is kept outside the work tree in ${PLANDOWN_CACHE:-~/.cache/plandown}/mingw-<key>/,
# where <key> is a hash of the source package versions, the toolchain and this recipe; a
# later run with the same key reuses it. Prints the folder (the prefix to build against)
# on standard output; progress goes to standard error, compiler output to log files.
#
# Source packages come through a private apt configuration (its own deb-src list, package
# lists and cache under the cache folder); the system's apt configuration is not touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PLANDOWN_CACHE:-$HOME/.cache/plandown}
jobs=$(nproc)
mkdir -p "$cache"
say() { echo "windows-deps: $*" >&2; }

# One build at a time: another run waits and then reuses what this one built.
exec 9>"$cache/lock"
flock 9

# --- the private apt configuration ------------------------------------------------------
apt_dir=$cache/apt
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
# deb-src entries for every archive the system uses, same URIs, suites and keyrings.
{
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f"
    echo
  done
} >"$apt_dir/sources.list.d/plandown-src.sources"
if [ -f /etc/apt/sources.list ]; then
  sed -n -e 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
else
  : >"$apt_dir/sources.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
  -o "APT::Sandbox::User=root")

# The source lists are refreshed once a day; without a network an existing build is reused.
stamp=$apt_dir/updated
if [ ! -f "$stamp" ] || [ -n "$(find "$stamp" -mmin +1440)" ]; then
  say "updating the private source package lists"
  if apt-get "${apt_opts[@]}" -qq update >"$apt_dir/update.log" 2>&1; then
    touch "$stamp"
    rm -f "$cache/sources/unavailable"
  else
    say "could not update the source package lists (see $apt_dir/update.log)"
  fi
fi

packages=(libpng1.6 libjpeg-turbo tiff wxwidgets3.2)
# The source packages are downloaded once into the cache. The newest version that the
# archive serves is taken: a mirror may list a version (of the security suite, say) whose
# files it does not carry.
sources=$cache/sources
mkdir -p "$sources"
obtain() { # package: prints the version whose source files are (now) in $sources
  local p=$1 v
  for v in $(apt-cache "${apt_opts[@]}" showsrc --only-source "$p" 2>/dev/null |
    sed -n 's/^Version: //p' | sort -Vru); do
    # Versions the archive did not serve are not asked for again until the lists change.
    if grep -qxF "$p $v" "$sources/unavailable" 2>/dev/null; then continue; fi
    if [ -f "$sources/${p}_${v#*:}.dsc" ] ||
      (cd "$sources" && apt-get "${apt_opts[@]}" -q source --download-only "$p=$v") \
        >>"$sources/download.log" 2>&1; then
      echo "$v"
      return 0
    fi
    say "the source of $p $v could not be downloaded, trying an older version"
    echo "$p $v" >>"$sources/unavailable"
  done
  return 1
}

reuse_latest() {
  local latest
  latest=$(ls -1dt "$cache"/mingw-*/.complete 2>/dev/null | head -n 1 || true)
  [ -n "$latest" ] || return 1
  say "reusing $(dirname "$latest") ($1)"
  dirname "$latest"
}

declare -A version
for p in "${packages[@]}"; do
  if ! version[$p]=$(obtain "$p"); then
    reuse_latest "the source package $p could not be obtained" && exit 0
    say "the source package $p could not be obtained (no network?); see $sources/download.log"
    exit 1
  fi
done

# --- the recipe ---------------------------------------------------------------------------
# The options of each library; they are part of the key, so a change here builds anew.
# RECIPE counts changes of the steps below that change what they build.
RECIPE=2
png_options=(-DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_FRAMEWORK=OFF)
jpeg_options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF)
tiff_options=(-Dzlib=ON -Djpeg=ON -Dpixarlog=ON -Dold-jpeg=OFF -Djpeg12=OFF -Dlzma=OFF -Dzstd=OFF
  -Dwebp=OFF -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Dcxx=OFF
  -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF)
gtest_options=(-Dgtest_disable_pthreads=OFF -DINSTALL_GTEST=ON)
# wxWidgets for msw: static, monolithic, only what the application uses (the controls
# and dialogs it has no use for are left out: the build is the long part of a first run);
# the image libraries are the ones built here.
wx_options=(--with-msw --disable-shared --enable-monolithic --enable-unicode
  --with-zlib=sys --with-libpng=sys --with-libjpeg=sys --with-libtiff=sys
  --without-expat --without-regex --without-liblzma --without-libcurl --without-opengl
  --without-libmspack --disable-html --disable-htmlhelp --disable-aui --disable-stc
  --disable-richtext --disable-propgrid --disable-ribbon --disable-xrc --disable-webview
  --disable-mediactrl --disable-debugreport --disable-webrequest --disable-sockets
  --disable-protocols --disable-url --disable-fs_inet --disable-sound --disable-ipc
  --disable-fswatcher --disable-grid --disable-dataviewctrl --disable-treelist --disable-calendar
  --disable-datepick --disable-timepick --disable-wizarddlg --disable-printarch --disable-postscript
  --disable-mdi --disable-mdidoc --disable-docview --disable-richtooltip --disable-animatectrl
  --disable-bannerwindow --disable-odcombobox --disable-bmpcombobox --disable-commandlinkbutton
  --disable-editablebox --disable-joystick --disable-splash --disable-tipwindow --disable-tipdlg
  --disable-actindicator --disable-addremovectrl --disable-svg --disable-notifmsg
  --disable-taskbaricon --disable-toolbook --disable-treebook --disable-listbook --disable-choicebook
  --disable-rearrangectrl --disable-infobar --disable-hyperlink --disable-aboutdlg)

# --- the key ------------------------------------------------------------------------------
toolchain_versions() {
  x86_64-w64-mingw32-g++-posix --version | head -n 1
  x86_64-w64-mingw32-gcc-posix --version | head -n 1
  dpkg-query -W -f='${Package} ${Version}\n' mingw-w64-x86-64-dev libz-mingw-w64-dev \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
}
key=$( {
  for p in "${packages[@]}"; do echo "$p ${version[$p]}"; done
  toolchain_versions
  echo "recipe $RECIPE"
  printf '%s\n' "${png_options[@]}" "${jpeg_options[@]}" "${tiff_options[@]}" "${gtest_options[@]}" "${wx_options[@]}"
} | sha256sum | cut -c1-16)
prefix=$cache/mingw-$key
if [ -f "$prefix/.complete" ]; then
  say "reusing $prefix"
  echo "$prefix"
  exit 0
fi

# --- the build ----------------------------------------------------------------------------
say "building the Windows libraries into $prefix (wxWidgets takes about 15 minutes on 2 cores)"
# Built in place (wx-config and the CMake files record the prefix); .complete marks a
# finished build, so an interrupted one is started again.
rm -rf "$prefix"
stage=$prefix
work=$cache/work-$key
logs=$stage/logs
rm -rf "$work"
mkdir -p "$work" "$logs" "$stage/include" "$stage/lib" "$stage/licenses"
started=$SECONDS
export PLANDOWN_WINDOWS_PREFIX=$stage
toolchain=$root/cmake/mingw-w64.cmake
cmake_common=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF
  -DZLIB_INCLUDE_DIR="$stage/include" -DZLIB_LIBRARY="$stage/lib/libz.a")

run_logged() { # name command...: runs with output to logs/name.log, shows its tail on failure
  local name=$1; shift
  if ! "$@" >>"$logs/$name.log" 2>&1; then
    say "$name failed; the end of $logs/$name.log:"
    tail -n 40 "$logs/$name.log" >&2
    exit 1
  fi
}

fetch() { # package: unpacks the source package, prints its folder
  local p=$1 v=${version[$1]}
  run_logged "$p" dpkg-source --no-check -x "$sources/${p}_${v#*:}.dsc" "$work/$p-src"
  echo "$work/$p-src"
}

# zlib: the static library of Debian's libz-mingw-w64-dev. A copy in the prefix, so that
# -lz cannot pick the import library libz.dll.a.
cp /usr/x86_64-w64-mingw32/lib/libz.a "$stage/lib/"
cp /usr/x86_64-w64-mingw32/include/zlib.h /usr/x86_64-w64-mingw32/include/zconf.h "$stage/include/"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licenses/zlib.txt"

t=$SECONDS
src=$(fetch libpng1.6)
run_logged libpng1.6 cmake -S "$src" -B "$work/libpng-build" "${cmake_common[@]}" "${png_options[@]}"
run_logged libpng1.6 cmake --build "$work/libpng-build" -j"$jobs" --target install
cp "$src/LICENSE" "$stage/licenses/libpng.txt"
say "libpng ${version[libpng1.6]}: $((SECONDS - t)) s"

t=$SECONDS
src=$(fetch libjpeg-turbo)
# Its own install-dirs module would take a relative library folder from the working folder.
run_logged libjpeg-turbo cmake -S "$src" -B "$work/jpeg-build" "${cmake_common[@]}" "${jpeg_options[@]}" \
  -DCMAKE_INSTALL_LIBDIR="$stage/lib"
run_logged libjpeg-turbo cmake --build "$work/jpeg-build" -j"$jobs" --target install
cat "$src/LICENSE.md" "$src/README.ijg" >"$stage/licenses/libjpeg-turbo.txt"
say "libjpeg-turbo ${version[libjpeg-turbo]}: $((SECONDS - t)) s"

t=$SECONDS
src=$(fetch tiff)
run_logged tiff cmake -S "$src" -B "$work/tiff-build" "${cmake_common[@]}" \
  -DJPEG_INCLUDE_DIR="$stage/include" -DJPEG_LIBRARY="$stage/lib/libjpeg.a" "${tiff_options[@]}"
run_logged tiff cmake --build "$work/tiff-build" -j"$jobs" --target install
cp "$src/LICENSE.md" "$stage/licenses/libtiff.txt"
say "libtiff ${version[tiff]}: $((SECONDS - t)) s"

# GoogleTest for the test programs, from the sources Debian installs.
t=$SECONDS
run_logged googletest cmake -S /usr/src/googletest -B "$work/gtest-build" "${cmake_common[@]}" "${gtest_options[@]}"
run_logged googletest cmake --build "$work/gtest-build" -j"$jobs" --target install
say "googletest: $((SECONDS - t)) s"

t=$SECONDS
src=$(fetch wxwidgets3.2)
mkdir -p "$work/wx-build"
(
  cd "$work/wx-build"
  run_logged wxwidgets3.2 env CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
    CPPFLAGS="-I$stage/include" LDFLAGS="-L$stage/lib" \
    "$src/configure" --host=x86_64-w64-mingw32 --prefix="$stage" "${wx_options[@]}"
  run_logged wxwidgets3.2 make -j"$jobs"
  run_logged wxwidgets3.2 make install
)
# wx-config is installed as an absolute link; a relative one keeps the folder movable.
ln -sfn "../lib/wx/config/$(basename "$(readlink "$stage/bin/wx-config")")" "$stage/bin/wx-config"
cp "$src/docs/licence.txt" "$stage/licenses/wxWidgets.txt"
say "wxWidgets ${version[wxwidgets3.2]}: $((SECONDS - t)) s"

# The runtime libraries linked statically into every program.
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64-runtime.txt"
gcc_copyright=/usr/share/doc/gcc-mingw-w64-base/copyright
[ -f "$gcc_copyright" ] || gcc_copyright=$(ls /usr/share/doc/gcc-mingw-w64-x86-64-posix*/copyright 2>/dev/null | head -n 1)
[ -n "$gcc_copyright" ] && cp "$gcc_copyright" "$stage/licenses/gcc-runtime.txt"

{
  for p in "${packages[@]}"; do echo "$p ${version[$p]}"; done
  toolchain_versions
} >"$stage/versions.txt"
rm -rf "$work"
say "all Windows libraries: $((SECONDS - started)) s"
touch "$stage/.complete"
# Earlier builds with other keys are no longer used.
for old in "$cache"/mingw-*; do
  [ "$old" = "$prefix" ] || rm -rf "$old" "$cache/work-${old##*/mingw-}"
done
echo "$prefix"
