#!/usr/bin/env bash
# Builds the Debian packages quarmel-batch_<version>_<arch>.deb (headless) and
# quarmel_<version>_<arch>.deb (the window, depending on it) in build/package: installs what is
# missing, makes an optimised build of only what the packages hold, with Debian's hardening
# flags, and runs CPack. Prints the packages' paths as its last two lines, quarmel-batch's first.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

folder=build/package
# Debian's flags (stack protector, fortify, relro, now); the build type's -O3 comes after -O2.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export CPPFLAGS="$(dpkg-buildflags --get CPPFLAGS)"
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $CPPFLAGS"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"

cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUARMEL_TESTS=OFF -DQUARMEL_BENCH=OFF -DQUARMEL_FUZZ=OFF -DQUARMEL_UI=ON >/dev/null
cmake --build "$folder"
rm -f "$folder"/quarmel_*.deb "$folder"/quarmel-batch_*.deb
(cd "$folder" && cpack -G DEB >/dev/null)
ls "$PWD/$folder"/quarmel-batch_*.deb
ls "$PWD/$folder"/quarmel_*.deb
