#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those missing.
set -euo pipefail
# `make package` needs dpkg-dev (dpkg-shlibdeps) and file (which CPack asks what is a program);
# lintian and appstream check the package in the tests; libpq-dev and libsqlite3-dev are the
# client libraries the results store calls beside Qt SQL; openssl makes the test server's
# certificates. The screen-reader test reads the program through AT-SPI: a session bus
# (dbus), the accessibility bus (at-spi2-core) and its Python client (python3-pyatspi).
# qt6-charts-dev needs libqt6opengl6-dev for its CMake files but does not depend on it.
packages=(g++ make cmake ninja-build clang libclang-rt-14-dev qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
          qt6-charts-dev libqt6opengl6-dev postgresql libpq-dev libsqlite3-dev libgtest-dev libbenchmark-dev
          fonts-dejavu-core fonts-liberation2 xvfb xauth poppler-utils
          xdotool x11-utils desktop-file-utils dbus at-spi2-core python3-pyatspi
          dpkg-dev file lintian appstream openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
