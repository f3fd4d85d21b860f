#!/usr/bin/env bash
# Installs into a temporary prefix and checks that the desktop entry leads to what was
# installed: the launcher it starts, the icon it shows; that the launcher seeds a user's folder
# without replacing what is there and starts the program in it; and that the installed tool runs.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/the prefix"  # a blank in the path, as a user's own prefix may have
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }

entry="$prefix/share/applications/tarvolin.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
fi
value() { sed -n "s/^$1=//p" "$entry"; }
launcher=$(value Exec)
launcher=${launcher#\"}
launcher=${launcher%\"}
[ -x "$launcher" ] || fail "Exec names $launcher, which is not an installed program"
[ "$(value TryExec)" = "$launcher" ] || fail "TryExec differs from Exec"
icon=$(value Icon)
[ -f "$icon" ] || fail "Icon names $icon, which is not installed"
grep -q "<svg" "$icon" || fail "the icon is not an SVG picture"

starter="$prefix/share/tarvolin"
cmp "$starter/tarvolin.rxn" "$build/data/tarvolin.rxn" || fail "the starter reactions differ"
for name in tarvolin.hlp WINHELP.HLP tarvolin.rxn.txt; do
  [ -f "$starter/$name" ] || fail "$name is not installed"
done
"$prefix/bin/tarvolin-rxn" export "$starter/tarvolin.rxn" "$work/bank.txt" ||
  fail "the installed tool cannot export the starter reactions"

# Starts the launcher as the desktop would, with HOME $1 and XDG_DATA_HOME $2, waits until it
# has become the installed program, notes the program's folder and ends it.
launch() {
  env -i HOME="$1" XDG_DATA_HOME="$2" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$launcher" >"$work/program.log" 2>&1 &
  pid=$!
  local exe=""
  for _ in $(seq 100); do
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null || true)
    [ "$exe" = "$prefix/bin/tarvolin" ] && break
    sleep 0.1
  done
  [ "$exe" = "$prefix/bin/tarvolin" ] ||
    { cat "$work/program.log"; fail "the launcher does not start the installed program"; }
  folder=$(readlink "/proc/$pid/cwd")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
}

# A user who already has reactions of their own keeps them.
data="$work/data"
mkdir -p "$data/tarvolin"
printf '\0\0\0\0' >"$data/tarvolin/tarvolin.rxn"
launch "$work" "$data"
[ "$folder" = "$data/tarvolin" ] || fail "the program runs in $folder, not in $data/tarvolin"
[ "$(od -An -tx1 "$data/tarvolin/tarvolin.rxn" | tr -d ' ')" = 00000000 ] ||
  fail "the launcher replaced the user's reactions"
for name in tarvolin.hlp WINHELP.HLP; do
  cmp "$data/tarvolin/$name" "$starter/$name" || fail "$name is not seeded"
done
if [ -f "$starter/tarvolin.hed" ]; then
  cmp "$data/tarvolin/tarvolin.hed" "$starter/tarvolin.hed" || fail "the heading is not seeded"
fi

# A new user gets the starter reactions, as a file of their own that the editor can rewrite;
# without XDG_DATA_HOME the folder is under ~/.local/share.
launch "$work/home" ""
seeded="$work/home/.local/share/tarvolin/tarvolin.rxn"
[ "$folder" = "$(dirname "$seeded")" ] || fail "without XDG_DATA_HOME the program runs in $folder"
cmp "$seeded" "$build/data/tarvolin.rxn" || fail "a new user's folder is not seeded"
[ -w "$seeded" ] && [ ! -L "$seeded" ] || fail "the seeded reactions are not the user's to change"
# Asking for the version or the help prints it and touches no account: no folder is made.
for option in --version --help; do
  out=$(env -i HOME="$work/asker" PATH=/usr/bin:/bin "$launcher" "$option") || fail "$option fails"
  case $option in --version) want="tarvolin " ;; *) want="Usage: tarvolin-launcher" ;; esac
  [ "${out#"$want"}" != "$out" ] || fail "$option prints: $out"
  [ ! -e "$work/asker" ] || fail "$option made $(find "$work/asker" | tail -1)"
done
echo "installed under $prefix; the desktop entry, launcher, icon and seeding check out"
