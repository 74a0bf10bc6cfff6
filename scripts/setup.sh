#!/usr/bin/env bash
# Prepares a Debian machine to cross-build the Windows programs and run them under Wine.
# Idempotent: every step checks what is already there.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

PACKAGES=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth x11-apps x11-utils libz-mingw-w64-dev libstb-dev googletest
          zip imagemagick fonts-wqy-microhei dpkg-dev python3 python3-pil)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

# Debian's zlib source carries minizip; apt-get source needs deb-src entries. When the
# system has none, setup adds a file of its own beside the system's sources, with the
# deb-src twins of the Debian entries, and says so; no other source entry is touched.
OWN_SOURCES=/etc/apt/sources.list.d/skinlib-deb-src
add_deb_src() {
  if grep -qsE '^Types:.*[[:space:]]deb-src([[:space:]]|$)' /etc/apt/sources.list.d/*.sources ||
     grep -qsE '^deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
    return 0
  fi
  local from
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    from=/etc/apt/sources.list.d/debian.sources
    sed 's/^Types:.*/Types: deb-src/' "$from" | $SUDO tee "$OWN_SOURCES.sources" >/dev/null
    echo "setup: added $OWN_SOURCES.sources, the deb-src entries of $from, for apt-get source"
  elif grep -qs '^deb[[:space:]]' /etc/apt/sources.list; then
    from=/etc/apt/sources.list
    sed -n 's/^deb[[:space:]]/deb-src /p' "$from" | $SUDO tee "$OWN_SOURCES.list" >/dev/null
    echo "setup: added $OWN_SOURCES.list, the deb-src entries of $from, for apt-get source"
  else
    echo "setup: no apt source offers source packages, and no Debian entry to make one from:" \
         "add deb-src entries for zlib's source" >&2
    exit 1
  fi
}

need_src=0
[ -d "$ROOT/.deps/zlib" ] || need_src=1
[ "$need_src" -eq 0 ] || add_deb_src

if [ "${#missing[@]}" -gt 0 ] || [ "$need_src" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

if [ "$need_src" -eq 1 ]; then
  bash "$ROOT/scripts/fetch-source.sh" zlib "$ROOT/.deps/zlib" contrib/minizip/unzip.c ||
    { echo "setup: without zlib's source there is no minizip to build" >&2; exit 1; }
fi
echo "setup: ready"
