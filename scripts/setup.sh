#!/usr/bin/env bash
# Installs every Debian package Quarmel needs to build, run and test.
# Idempotent: prints nothing and changes nothing when all is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev
  qt6-base-dev libqt6opengl6-dev qt6-svg-dev libgl-dev libglu1-mesa-dev
  libfparser-dev locales
  libgtest-dev libgmock-dev libbenchmark-dev
  parallel slurm-wlm munge
  xvfb xauth x11-apps x11-utils xdotool netpbm
  dbus dbus-x11 at-spi2-core python3 python3-pyatspi python3-gi gir1.2-atspi-2.0
  librsvg2-bin man-db dpkg-dev file desktop-file-utils appstream libxml2-utils lintian debootstrap
  python3-pandas python3-scipy libpagmo-dev gnuplot-nox
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then as_root=(); else as_root=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
