#!/usr/bin/env bash
# Builds the Debian package from the build tree, in a folder of its own so that tests running
# beside it meet nothing of it, and checks it without installing it: its name and control
# fields, that it depends on what the programs load and on no development package, the files
# it holds, that every command and page names the same version, that lintian, appstreamcli and
# desktop-file-validate pass, and that the unpacked launcher brings up the main window on a
# virtual display for a user with a fresh home.
#   package_test.sh CPACK BUILD_DIR VERSION WITH_CLASS(1 when tarvolin-class is built)
set -euo pipefail
for tool in dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (tools/install-deps.sh)" >&2; exit 1; }
done
cpack=$1
build=$(realpath "$2")
version=$3
with_class=$4
# shellcheck source=../support/x_test.sh
source "$(dirname "$0")/../support/x_test.sh"

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/pack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not build the package"; }
arch=$(dpkg --print-architecture)
deb="$work/pack/tarvolin_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(cd "$work/pack" && ls -- *.deb)"

# The control fields, as `dpkg-deb -I` shows them.
dpkg-deb -I "$deb" control >"$work/control"
field() { sed -n "s/^$1: //p" "$work/control"; }
while read -r name want; do
  [ "$(field "$name")" = "$want" ] || fail "$name is '$(field "$name")', not '$want'"
done <<ROWS
Package tarvolin
Version $version
Architecture $arch
Section education
ROWS
depends=$(field Depends)
echo "Depends: $depends"
# One package a line, without its version (each of a choice of packages too).
sed 's/([^)]*)//g; s/[[:space:]]//g; s/[,|]/\n/g' <<<"$depends" | sed '/^$/d' >"$work/depends"
if grep -- '-dev$' "$work/depends"; then fail "the package depends on development packages"; fi
# What the programs load, found in them, and the SQL drivers, which are plugins.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
  libqt6sql6 libqt6charts6 libqt6sql6-sqlite libqt6sql6-psql; do
  grep -qx -- "$package" "$work/depends" || fail "the package does not depend on $package"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
programs=(tarvolin tarvolin-rxn tarvolin-launcher)
if [ "$with_class" = 1 ]; then
  programs+=(tarvolin-class)
else
  echo "note: tarvolin-class is not built here; its program and page are not looked for"
fi
for program in "${programs[@]}"; do
  [ -x "$root/usr/bin/$program" ] || fail "usr/bin/$program is not in the package"
  page="$root/usr/share/man/man1/$program.1.gz"
  [ -f "$page" ] || fail "no manual page for $program"
  # gzip -9n: no name (flags 0), no time (0), best compression (2).
  [ "$(od -An -tx1 -j3 -N6 "$page" | tr -d ' ')" = 000000000002 ] ||
    fail "$program.1.gz is not compressed with gzip -9n"
  zcat "$page" | grep -q "^\.TH .*\"Tarvolin $version\"" || fail "the page of $program does not name $version"
done
for file in share/tarvolin/tarvolin.rxn share/tarvolin/tarvolin.rxn.txt share/tarvolin/tarvolin.hlp \
  share/tarvolin/WINHELP.HLP share/tarvolin/tarvolin.hed share/applications/tarvolin.desktop \
  share/icons/hicolor/scalable/apps/tarvolin.svg share/doc/tarvolin/copyright \
  share/doc/tarvolin/changelog.gz; do
  [ -f "$root/usr/$file" ] || fail "usr/$file is not in the package"
done
[ -z "$(cd "$root" && find . -path ./usr -prune -o -print | grep -vx '\.')" ] ||
  fail "the package puts files outside /usr"

# Every place that states the version agrees with the project's.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
while IFS='|' read -r what got; do
  [ "$got" = "$version" ] || fail "$what says '$got', not $version"
done <<ROWS
tarvolin --version|$("$root/usr/bin/tarvolin" --version | sed -n 's/^tarvolin //p')
tarvolin-rxn --version|$("$root/usr/bin/tarvolin-rxn" --version | sed -n 's/^tarvolin-rxn //p')
the change log's newest entry|$(zcat "$root/usr/share/doc/tarvolin/changelog.gz" | sed -n '1s/^tarvolin (\(.*\)) .*/\1/p')
the metadata's newest release|$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
ROWS
if [ "$with_class" = 1 ]; then
  [ "$("$root/usr/bin/tarvolin-class" --version)" = "tarvolin-class $version" ] ||
    fail "tarvolin-class --version does not say $version"
fi

# The desktop entry names what the package installs, by the path it is installed to.
entry="$root/usr/share/applications/tarvolin.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the desktop entry"
value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Exec)" = /usr/bin/tarvolin-launcher ] || fail "Exec is $(value Exec)"
[ -f "$root$(value Icon)" ] || fail "Icon names $(value Icon), which the package does not hold"

appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $(basename "$metainfo")"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "the metadata file is not named after its id $id"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "the metadata launches $launchable, which is not installed"

# lintian's errors fail the test; its warnings and notes are shown.
lintian --fail-on error --display-info --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 ||
  { cat "$work/lintian"; fail "lintian reports errors (or could not run)"; }
grep -v 'root privileges' "$work/lintian" || true

# The unpacked launcher, for a user with a fresh home, on an X server of our own (which picks
# a free display itself and says when it is ready).
start_x_server
home="$work/home"
mkdir "$home"
env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$display" QT_QPA_PLATFORM=xcb \
  "$root/usr/bin/tarvolin-launcher" >"$work/program.log" 2>&1 &
pid=$!
shown() { [ -n "$(DISPLAY=$display xdotool search --onlyvisible --name '^Writing Tarvolin Equations$' 2>/dev/null)" ]; }
until_true shown || { cat "$work/program.log"; fail "waited ${LIMIT}s for the main window"; }
[ "$(readlink "/proc/$pid/exe")" = "$root/usr/bin/tarvolin" ] || fail "the launcher started $(readlink "/proc/$pid/exe")"
folder="$home/.local/share/tarvolin"
[ "$(readlink "/proc/$pid/cwd")" = "$folder" ] || fail "the program runs in $(readlink "/proc/$pid/cwd")"
cmp "$folder/tarvolin.rxn" "$root/usr/share/tarvolin/tarvolin.rxn" || fail "the new user's folder is not seeded"
echo "$(basename "$deb"): fields, dependencies, files, versions, lintian, metadata and main window check out"
