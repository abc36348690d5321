#!/usr/bin/env bash
# Builds the Debian packages of the program with CPack (cmake/TrevixPackaging.cmake):
# trevix (the program, trevix-seg, trevix-analyse and their data) and trevix-inputmethod
# (the input method's tables for IBus and Fcitx 5), into OUTDIR (default build-pkg/packages).
#
# Usage: scripts/package.sh [OUTDIR]
# The build goes to build-pkg/ (or $TREVIX_PKG_BUILD_DIR): installed into /usr, optimised
# with Debian's hardening flags, without the tests and benchmarks; CPack strips the binaries.
# Jobs: $TREVIX_JOBS, else the number of processors. $TREVIX_PACKAGE_MAINTAINER, when set,
# is the packages' Maintainer ("Name <address>"). Then: scripts/check-package.sh OUTDIR.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TREVIX_PKG_BUILD_DIR:-$root/build-pkg}"
out="${1:-$build/packages}"
jobs="${TREVIX_JOBS:-$(nproc)}"

missing=()
for tool in cmake cpack ninja dpkg-shlibdeps dpkg-buildflags ibus-table-createdb libime_tabledict; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "package: missing ${missing[*]}; scripts/setup-debian.sh installs what is needed" >&2
  exit 1
fi

# Debian's flags (hardening included), without debugging information: the packages
# ship stripped binaries. -ffile-prefix-map takes the source tree's path out of them.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
export DEB_CFLAGS_MAINT_STRIP="-g" DEB_CXXFLAGS_MAINT_STRIP="-g"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_CXX_FLAGS_RELEASE="-DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF \
  -DTREVIX_BENCH=OFF \
  -DTREVIX_IBUS_TABLE_DIR=/usr/share/ibus-table/tables \
  -DTREVIX_FCITX5_DATA_DIR=/usr/share/fcitx5 \
  ${TREVIX_PACKAGE_MAINTAINER:+"-DTREVIX_PACKAGE_MAINTAINER=$TREVIX_PACKAGE_MAINTAINER"}
nice cmake --build "$build" -j "$jobs"

# CPack stages the packages in a folder of its own; only the .deb files go to OUTDIR.
stage="$build/cpack"
rm -rf "$stage"
mkdir -p "$out"
(cd "$build" && cpack --config CPackConfig.cmake -B "$stage")
shopt -s nullglob
debs=("$stage"/*.deb)
if [ ${#debs[@]} -eq 0 ]; then
  echo "package: CPack made no package" >&2
  exit 1
fi
for deb in "${debs[@]}"; do
  rm -f "$out/$(dpkg-deb -f "$deb" Package)"_*.deb
done
mv "${debs[@]}" "$out/"
rm -rf "$stage"
echo "Packages in $out:"
for deb in "${debs[@]}"; do
  f="$out/$(basename "$deb")"
  printf '  %s (%s KB)\n' "$(basename "$f")" "$(( $(stat -c %s "$f") / 1024 ))"
done
