#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing. With --optional, also
# tries the packages that only widen the tests (an interop peer); those may fail without failing.
set -euo pipefail

packages=(cmake ninja-build gcc g++ libgtest-dev libbenchmark-dev libcli11-dev libyaml-cpp-dev
          python3 python3-pytest python3-setuptools pkgconf dpkg-dev file lintian
          libpugixml-dev xsltproc libavahi-client-dev libedit-dev libcpp-httplib-dev)
optional=(python3-pyvisa-py python3-numpy python3-matplotlib chromium chromium-driver python3-selenium lxi-tools avahi-daemon avahi-utils dbus-daemon)

missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=0
install() {
  [ $updated -eq 1 ] || { "${sudo_cmd[@]}" apt-get update -q && updated=1; }
  "${sudo_cmd[@]}" apt-get install -y -q "$@"
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  install "${missing[@]}"
fi

if [ "${1:-}" = "--optional" ]; then
  mapfile -t missing < <(missing_of "${optional[@]}")
  if [ ${#missing[@]} -gt 0 ]; then
    install "${missing[@]}" || echo "Could not install ${missing[*]}: the tests that need them will say they are skipped."
  fi
fi
