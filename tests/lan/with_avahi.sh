#!/usr/bin/env bash
# Runs COMMAND beside a D-Bus system bus and an Avahi daemon of its own, for the mDNS tests on the
# virtual LAN: in a private mount and host-name namespace, with fresh tmpfs over /run/dbus and
# /run/avahi-daemon, so neither the machine's bus nor its daemon is seen or touched. Run it
# inside a namespace of tests/lan/virtual_lan.sh; the LAN's cleanup ends the daemons with it.
#
# Usage: with_avahi.sh [--optional] HOSTNAME COMMAND [ARGS...]
# Exits 77 (a skip), saying why, where avahi-daemon or dbus-daemon is missing or cannot start;
# with --optional runs COMMAND anyway, with the reason in ZPV4870_TEST_NO_AVAHI.
set -euo pipefail

optional=0
[ "${1:-}" = "--optional" ] && { optional=1; shift; }
name=${1:?usage: with_avahi.sh [--optional] HOSTNAME COMMAND [ARGS...]}
shift
for program in avahi-daemon dbus-daemon unshare; do
  if ! command -v "$program" >/dev/null && [ ! -x "/usr/sbin/$program" ]; then
    reason="$program is not installed (scripts/ensure-deps.sh --optional installs it)"
    [ $optional -eq 1 ] && ZPV4870_TEST_NO_AVAHI=$reason exec "$@"
    echo "SKIP: $reason"
    exit 77
  fi
done

export optional
exec unshare -m -u bash -c '
  set -eu
  name=$1; shift
  mkdir -p /run/dbus /run/avahi-daemon
  mount --make-rprivate /
  mount -t tmpfs tmpfs /run/dbus
  mount -t tmpfs tmpfs /run/avahi-daemon
  hostname "$name"
  dbus-daemon --system --fork || true
  PATH=$PATH:/usr/sbin avahi-daemon --no-drop-root --no-chroot --daemonize --no-rlimits || true
  for _ in $(seq 50); do
    [ -S /run/avahi-daemon/socket ] && break
    sleep 0.1
  done
  if [ ! -S /run/avahi-daemon/socket ]; then
    [ "$optional" = 1 ] && ZPV4870_TEST_NO_AVAHI="avahi-daemon did not start here" exec "$@"
    echo "SKIP: avahi-daemon did not start here"
    exit 77
  fi
  export ZPV4870_TEST_AVAHI=1
  exec "$@"
' with_avahi "$name" "$@"
