#!/usr/bin/env bash
# The Debian package: made by cpack from the build, its dependencies found by
# dpkg-shlibdeps, holding what the desktop needs. Installing and removing it changes the
# machine, so that part runs only where asked (TAMSEL_PACKAGE_INSTALL=1, as root, on a
# scratch machine) and says it was skipped elsewhere.
set -u
build="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1)
package=$(ls "$work"/tamsel_*_amd64.deb 2>/dev/null | head -1)
check "cpack made a package" test -n "$package"
if [ -n "$package" ]; then
  depends=$(dpkg-deb -f "$package" Depends)
  for library in libc6 libqt6widgets6 libqt6gui6 libstdc++6 libgl1-mesa-dri; do
    check "the package depends on $library" grep -q "$library" <<<"$depends"
  done
  contents=$(dpkg-deb -c "$package" | awk '{print $6}')
  for f in ./usr/bin/tamsel ./usr/bin/tamsel-cli ./usr/share/applications/tamsel.desktop \
    ./usr/share/mime/packages/tamsel.xml ./usr/share/thumbnailers/tamsel.thumbnailer \
    ./usr/share/icons/hicolor/scalable/apps/tamsel.svg ./usr/share/man/man1/tamsel-cli.1; do
    check "the package holds $f" grep -qx -- "$f" <<<"$contents"
  done
  if [ "${TAMSEL_PACKAGE_INSTALL:-0}" = 1 ] && [ "$(id -u)" -eq 0 ]; then
    check "the package installs" apt-get install -y -qq "$package"
    check "the menu entry is installed" test -f /usr/share/applications/tamsel.desktop
    check "the system knows .opz files" bash -c \
      "printf '0\n0\n' >'$work/x.opz' && [ \"\$(xdg-mime query filetype '$work/x.opz')\" = application/x-tamsel-project ]"
    check "the package removes cleanly" apt-get remove -y -qq tamsel
    check "its files are gone" test ! -e /usr/bin/tamsel
  else
    echo "skipped: installing the package (set TAMSEL_PACKAGE_INSTALL=1 as root on a scratch machine)"
  fi
fi

summary package
