#!/usr/bin/env bash
# Builds the Debian package dvdutil_<version>_<arch>.deb into the source folder
# from a clean build of its own (build-deb/), and checks it with lintian.
#   scripts/package.sh                   make the package
#   scripts/package.sh --check           make it, install it on this machine,
#                                        check the installed suite, remove it
#                                        again and check nothing is left (CI)
#   scripts/package.sh --check-installed only the checks of the installed suite
# Installing and removing need root (or sudo).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

mode=build
case "${1:-}" in
  "") ;;
  --check) mode=check ;;
  --check-installed) mode=installed ;;
  *) echo "usage: scripts/package.sh [--check | --check-installed]" >&2; exit 2 ;;
esac

package=dvdutil
programs=(toolgate flashspti flashaspi zonespti pacespti paceaspi)
tools=(drivelist dvdregion dvdspeed fwhex fwgen)

fail() {
  echo "package: FAIL: $*" >&2
  exit 1
}

# desktop-file-validate passes an entry with hints (two main categories, ...):
# here any remark fails. Prints the remarks.
entry_remarks() {
  local remarks
  remarks="$(desktop-file-validate "$1" 2>&1)" && [ -z "$remarks" ] && return 0
  echo "$remarks"
  return 1
}

sudo=""
if [ "$(id -u)" -ne 0 ] && [ "$mode" != build ]; then
  command -v sudo >/dev/null 2>&1 || fail "installing the package needs root or sudo"
  sudo="sudo"
fi

# Builds, stages and packs; sets $deb to the package file and $version.
make_package() {
  DVDUTIL_PACKAGES+=(dpkg-dev lintian desktop-file-utils)
  dvdutil_install_deps

  local build="${DVDUTIL_PACKAGE_BUILD_DIR:-$root/build-deb}" remarks
  # Staged where dpkg-shlibdeps looks for a package's files: debian/<package>.
  local tree="$build/package"
  local stage="$tree/debian/$package"
  [ ! -e "$build" ] || [ -f "$build/CMakeCache.txt" ] || fail "$build is no build folder: not removing it"
  rm -rf "$build"
  # Debian's build flags (hardening included), no build type of CMake's own on top.
  # fwhex is linked dynamically here (its static-link check preset to OFF): the
  # binaries of a distribution take library updates from the system.
  (
    cd "$root"
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
      cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
      -DDVDUTIL_BUILD_TESTS=OFF -DDVDUTIL_BUILD_BENCH=OFF -DDVDUTIL_CAN_LINK_STATIC=OFF >/dev/null
  )
  cmake --build "$build" -j "$(nproc)"
  DESTDIR="$stage" cmake --install "$build" >/dev/null

  version="$(cat "$build/dvdutil_version.txt")"
  local arch
  arch="$(dpkg --print-architecture)"
  local changelogVersion
  changelogVersion="$(dpkg-parsechangelog -l "$root/packaging/changelog" -S Version)"
  [ "$changelogVersion" = "$version" ] ||
    fail "the project version is $version but packaging/changelog starts with $changelogVersion: add an entry for $version"

  for name in "${programs[@]}" "${tools[@]}"; do
    [ -x "$stage/usr/bin/$name" ] || fail "cmake --install did not install usr/bin/$name"
  done
  for name in "${programs[@]}"; do
    remarks="$(entry_remarks "$stage/usr/share/applications/$name.desktop")" ||
      fail "desktop-file-validate $name.desktop: $remarks"
    [ -f "$stage/usr/share/icons/hicolor/scalable/apps/$name.svg" ] || fail "no icon for $name"
  done

  # What debhelper would do: strip as dh_strip does, compress manual pages and
  # documentation with gzip -9n, documents readable by everyone.
  local doc="$stage/usr/share/doc/$package"
  install -d "$doc" "$stage/usr/share/lintian/overrides"
  install -m 0644 "$root/README.md" "$doc/README.md"
  install -m 0644 "$root/packaging/changelog" "$doc/changelog"
  install -m 0644 "$root/packaging/copyright" "$doc/copyright"
  install -m 0644 "$root/packaging/lintian-overrides" "$stage/usr/share/lintian/overrides/$package"
  gzip -9nf "$doc/README.md" "$doc/changelog"
  if [ -d "$stage/usr/share/man" ]; then
    find "$stage/usr/share/man" -type f ! -name '*.gz' -exec gzip -9nf {} +
  fi
  local file
  for file in "$stage"/usr/bin/*; do
    strip --remove-section=.comment --remove-section=.note "$file"
  done
  find "$stage" -type d -exec chmod 0755 {} +
  find "$stage" -type f -exec chmod 0644 {} +
  chmod 0755 "$stage"/usr/bin/*

  # Runtime dependencies from the binaries: dpkg-shlibdeps wants a source tree
  # and finds the package's root by its DEBIAN folder.
  install -d "$stage/DEBIAN"
  printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" >"$tree/debian/control"
  local depends
  depends="$(cd "$tree" && dpkg-shlibdeps -O "debian/$package"/usr/bin/*)"
  depends="${depends#shlibs:Depends=}"
  [ -n "$depends" ] || fail "dpkg-shlibdeps found no dependencies"

  (cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
  local size
  size="$(du -sk --exclude=DEBIAN "$stage" | cut -f1)"
  local control
  control="$(cat "$root/packaging/control.in")"
  control="${control//@VERSION@/$version}"
  control="${control//@ARCH@/$arch}"
  control="${control//@INSTALLED_SIZE@/$size}"
  control="${control//@DEPENDS@/$depends}"
  printf '%s\n' "$control" >"$stage/DEBIAN/control"
  chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

  # The same tree gives the same package: times from the last commit.
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)"
  fi
  export SOURCE_DATE_EPOCH
  find "$stage" -newermt "@$SOURCE_DATE_EPOCH" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +

  deb="$root/${package}_${version}_${arch}.deb"
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
  echo "package: built $deb"

  # Errors fail; warnings are fixed or overridden in packaging/lintian-overrides.
  lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"
}

# The installed suite: every file in place and each program answering. Every
# check runs, so one run lists all that is wrong.
check_installed() {
  local want="${1:-}"
  local name out remarks problems=0
  problem() {
    echo "package: FAIL: $*" >&2
    problems=$((problems + 1))
  }
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    fail "$package is not installed"
  if [ -n "$want" ]; then
    [ "$(dpkg-query -W -f='${Version}' "$package")" = "$want" ] || fail "$package $want is not the installed version"
  fi
  want="$(dpkg-query -W -f='${Version}' "$package")"
  [ -z "$($sudo dpkg --verify "$package")" ] || problem "installed files differ from the package"
  for name in "${programs[@]}" "${tools[@]}"; do
    [ "$(command -v "$name")" = "/usr/bin/$name" ] || problem "$name is not /usr/bin/$name on PATH"
    [ -z "$(find "/usr/bin/$name" -perm /6000)" ] || problem "$name is setuid or setgid"
    if out="$(timeout 30 "$name" --version </dev/null)"; then
      grep -qF "$want" <<<"$out" || problem "$name --version does not name $want: $out"
    else
      problem "$name --version fails"
    fi
    if out="$(timeout 30 "$name" --help </dev/null)"; then
      grep -qF "$name" <<<"$out" || problem "$name --help does not say how to use $name"
    else
      problem "$name --help fails"
    fi
    [ "$(man -w "$name")" = "/usr/share/man/man1/$name.1.gz" ] || problem "no manual page for $name"
  done
  for name in "${programs[@]}"; do
    local entry="/usr/share/applications/$name.desktop"
    remarks="$(entry_remarks "$entry")" || problem "desktop-file-validate $entry: $remarks"
    grep -qx "Exec=\"/usr/bin/$name\"" "$entry" || problem "$entry does not start /usr/bin/$name"
    grep -qx "Icon=$name" "$entry" || problem "$entry names another icon"
    [ -f "/usr/share/icons/hicolor/scalable/apps/$name.svg" ] || problem "no icon for $name"
  done
  for name in copyright changelog.gz README.md.gz; do
    [ -f "/usr/share/doc/$package/$name" ] || problem "no /usr/share/doc/$package/$name"
  done
  # Access to the drives comes from the system's udev rules: no maintainer
  # scripts, so nothing sets file capabilities or changes groups.
  for name in preinst postinst prerm postrm; do
    [ ! -e "/var/lib/dpkg/info/$package.$name" ] || problem "the package has a $name script"
  done
  [ "$problems" -eq 0 ] || fail "$problems checks of the installed $package $want failed"
  echo "package: the installed $package $want passes its checks"
}

# The entries of every folder the package puts files into, without the caches
# that other packages' triggers rebuild.
snapshot() {
  dpkg-deb -c "$deb" | awk '{print $6}' | sed -n 's|^\./\(.*\)/$|/\1|p' | sort -u |
    while read -r dir; do
      [ -d "$dir" ] && find "$dir" -mindepth 1 -maxdepth 1
    done | grep -v -e '/mimeinfo\.cache$' -e '/icon-theme\.cache$' | sort -u
}

case "$mode" in
  build) make_package ;;
  installed) check_installed ;;
  check)
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
      fail "$package is installed already: remove it first (sudo apt remove $package)"
    fi
    DVDUTIL_PACKAGES+=(man-db)
    make_package
    before="$(snapshot)"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      -o DPkg::Lock::Timeout=600 "$deb"
    status=0
    (check_installed "$version") || status=$?
    $sudo dpkg --purge "$package" >/dev/null
    [ "$status" -eq 0 ] || exit "$status"
    after="$(snapshot)"
    if [ "$before" != "$after" ]; then
      diff <(echo "$before") <(echo "$after") >&2 || true
      fail "removing $package left the system changed"
    fi
    ! ls /var/lib/dpkg/info/"$package".* >/dev/null 2>&1 || fail "dpkg still keeps $package's files"
    echo "package: installed, checked and removed $package $version without leftovers"
    ;;
esac
