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

# Debian's zlib source carries minizip; its package needs deb-src lines.
need_src=0
[ -d "$ROOT/.deps/zlib" ] || need_src=1
if [ "$need_src" -eq 1 ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ] && ! grep -q 'deb-src' /etc/apt/sources.list.d/debian.sources; then
    $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
    missing+=(__update__)
  elif [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee -a /etc/apt/sources.list >/dev/null
    missing+=(__update__)
  fi
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_src" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  real=()
  for p in "${missing[@]}"; do [ "$p" = __update__ ] || real+=("$p"); done
  if [ "${#real[@]}" -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${real[@]}" >/dev/null
  fi
fi

if [ "$need_src" -eq 1 ]; then
  mkdir -p "$ROOT/.deps/src"
  # The newest source version can be missing from a mirror (security pool); try each listed one.
  (cd "$ROOT/.deps/src" && { apt-get source -qq zlib >/dev/null 2>&1 || {
     for v in $(apt-cache showsrc zlib | sed -n 's/^Version: //p' | sort -u -r); do
       apt-get source -qq "zlib=$v" >/dev/null 2>&1 && break
     done; }; })
  src=$(find "$ROOT/.deps/src" -maxdepth 1 -mindepth 1 -type d -name 'zlib-*' | head -n1)
  [ -f "$src/contrib/minizip/unzip.c" ] || { echo "setup: zlib source without contrib/minizip" >&2; exit 1; }
  mv "$src" "$ROOT/.deps/zlib"
  rm -rf "$ROOT/.deps/src"
fi
echo "setup: ready"
