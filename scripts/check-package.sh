#!/usr/bin/env bash
# Checks that Quarmel installs like any Debian program: the desktop entry and the AppStream
# metainfo validate, scripts/package.sh builds the two packages, quarmel-batch installs with apt
# into a fresh minimal Debian (made with debootstrap, while the packages build) without any Qt or
# OpenGL package and runs an installed example there, then quarmel installs beside it, both
# programs run from /usr/bin, every file is in its place, and lintian finds no error.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
start=$(date +%s)
id=io.github.quarmel.Quarmel

desktop-file-validate packaging/$id.desktop
# One main category of the desktop menus' list, or a menu may list the program twice.
main=$(sed -n 's/^Categories=//p' packaging/$id.desktop | tr ';' '\n' |
  grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility' || true)
[[ $main -eq 1 ]] || { echo "check-package: $id.desktop has $main main categories" >&2; exit 1; }
appstreamcli validate --no-net packaging/$id.metainfo.xml
xmllint --noout packaging/$id.mime.xml

# The same Debian release and mirror as this machine's.
. /etc/os-release
suite=$VERSION_CODENAME
mirror=$(apt-cache policy | awk -v s="$suite/main" '$3 == s { print $2; exit }')
# In memory where it can be: dpkg's many small writes and syncs are slow on a busy disk.
if [[ -w /dev/shm ]] && ! findmnt -no OPTIONS /dev/shm | grep -qE 'noexec|nodev'; then
  root=/dev/shm/quarmel-package-root
else
  root=$PWD/build/package-root
fi
# Downloaded packages are kept between runs: the base system's and those apt adds.
cache=${QUARMEL_DEBOOTSTRAP_CACHE:-/var/cache/quarmel-debootstrap}
if [[ $(id -u) -eq 0 ]]; then as_root=(); else as_root=(sudo); fi
"${as_root[@]}" rm -rf "$root"
"${as_root[@]}" mkdir -p "$cache/apt" build
"${as_root[@]}" debootstrap --variant=minbase --cache-dir="$cache" "$suite" "$root" $mirror \
  >build/debootstrap.log 2>&1 &
bootstrap=$!
clean_up() {
  wait "$bootstrap" 2>/dev/null || true  # it must not write into the root while it is removed
  "${as_root[@]}" rm -rf "$root"
}
trap clean_up EXIT

packages=$(./scripts/package.sh | tail -n 2)
batch_package=$(head -n 1 <<<"$packages")
package=$(tail -n 1 <<<"$packages")
if ! wait $bootstrap; then
  tail -n 20 build/debootstrap.log
  exit 1
fi
echo "Packages built and clean root made in $(($(date +%s) - start)) s"

# Install with apt as a user would; --no-install-recommends: the Depends alone must do.
in_root() {
  "${as_root[@]}" chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 "$@"
}
"${as_root[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf"
"${as_root[@]}" cp "$package" "$batch_package" "$root/tmp/"
"${as_root[@]}" cp fuzz/corpus/start.txt "$root/tmp/problem.txt"
"${as_root[@]}" cp -rp "$cache/apt/." "$root/var/cache/apt/archives/"
in_root apt-get update -qq
install_package() {
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$1")" >/dev/null 2>build/package-install.log ||
    { cat build/package-install.log; exit 1; }
}
fail() { echo "check-package: $*" >&2; exit 1; }

# The headless package alone: no Qt, no OpenGL, and it runs an installed example.
install_package "$batch_package"
gui=$(in_root dpkg-query -W -f='${Package}\n' | grep -E '^(libqt|qt6|libgl|libegl|libopengl|libx11)' || true)
[[ -z $gui ]] || fail "quarmel-batch pulled in: $(tr '\n' ' ' <<<"$gui")"
example=$(in_root quarmel-batch --algorithm steepest --seed 1 --runs 2 --format summary \
  /usr/share/quarmel/examples/sphere.txt 2>/dev/null)
[[ $(wc -l <<<"$example") -eq 2 ]] || fail "the installed example: $example"
[[ -x $root/usr/share/quarmel/scripts/sweep.sh && -x $root/usr/share/quarmel/scripts/sweep.slurm ]] ||
  fail "the sweep scripts are missing"
install_package "$package"
"${as_root[@]}" find "$root/var/cache/apt/archives" -name '*.deb' -exec cp -p -t "$cache/apt/" {} +
echo "Installed into the clean root after $(($(date +%s) - start)) s"

version=$(sed -n 's/^project(Quarmel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ "$(in_root quarmel-batch --version)" == "quarmel-batch $version" ]] ||
  fail "quarmel-batch --version"
# Loads every library the window needs, so a missing dependency shows here.
[[ "$(in_root quarmel --version)" == "quarmel $version" ]] || fail "quarmel --version"
run=$(in_root quarmel-batch --algorithm greedy --seed 1 /tmp/problem.txt 2>/dev/null)
[[ "$(head -n 1 <<<"$run")" == "x,y,c,F" ]] || fail "batch run: unexpected header"
(($(wc -l <<<"$run") > 1)) || fail "batch run: no solutions"
[[ "$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)" == "$version" ]] ||
  fail "packaging/debian/changelog does not start with version $version"

files=(
  usr/bin/quarmel usr/bin/quarmel-batch
  usr/share/applications/$id.desktop
  usr/share/metainfo/$id.metainfo.xml
  usr/share/mime/packages/$id.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/man/man1/quarmel.1.gz usr/share/man/man1/quarmel-batch.1.gz
  usr/share/doc/quarmel/copyright usr/share/doc/quarmel/changelog.gz
  usr/share/doc/quarmel-batch/copyright usr/share/doc/quarmel-batch/changelog.gz
  usr/share/quarmel/examples/catalogue.tsv
  usr/share/quarmel/scripts/convergence.gp usr/share/quarmel/scripts/problem.txt
)
for size in 16 32 48 64 128 256; do
  files+=(usr/share/icons/hicolor/${size}x$size/apps/$id.png)
  identify=$(file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png")
  [[ "$identify" == "PNG image data, $size x $size,"* ]] || fail "$size px icon is $identify"
done
for f in "${files[@]}"; do [[ -s "$root/$f" ]] || fail "/$f is missing"; done
# The window cannot start without a Qt platform plugin; it is loaded, not linked.
ls "$root"/usr/lib/*/qt6/plugins/platforms/libqxcb.so >/dev/null || fail "no xcb platform plugin"
for page in quarmel quarmel-batch; do
  warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z "$warnings" ]] || fail "$page.1: $warnings"
done

# Errors fail; warnings and the rest are shown.
lintian --fail-on error --display-info "$batch_package" "$package"
echo "Package checks passed in $(($(date +%s) - start)) s"
