#!/usr/bin/env bash
# Fetches a Debian source package with apt-get source and puts its unpacked tree at DEST.
#   scripts/fetch-source.sh PACKAGE DEST [FILE]   (DEST relative to the current folder or absolute)
# FILE, a path inside the tree, must be there. The newest version can be missing from a
# mirror (the security pool): each listed version is tried, newest first. Without a
# source it ends with 1 and apt's last complaint.
set -euo pipefail
package=$1 dest=$2 need=${3:-}
mkdir -p "$(dirname "$dest")"
# apt-get source runs from inside the scratch folder: every path must hold from there.
dest=$(cd "$(dirname "$dest")" && pwd)/$(basename "$dest")
scratch=$(mktemp -d "$(dirname "$dest")/.fetch-$package.XXXXXX")
trap 'rm -rf "$scratch" "$scratch.err"' EXIT
fetch() { (cd "$scratch" && apt-get source -qq "$1" >/dev/null 2>"$scratch.err"); }
if ! fetch "$package"; then
  for version in $(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -u -r -V); do
    fetch "$package=$version" && break
  done
fi
tree=$(find "$scratch" -maxdepth 1 -mindepth 1 -type d | head -n1)
if [ -z "$tree" ]; then
  echo "fetch-source: apt-get source could not fetch $package (are deb-src entries configured?):" >&2
  sed 's/^/  /' "$scratch.err" >&2 2>/dev/null || true
  exit 1
fi
if [ -n "$need" ] && [ ! -f "$tree/$need" ]; then
  echo "fetch-source: the source of $package fetched holds no $need" >&2
  exit 1
fi
rm -rf "$dest"
mv "$tree" "$dest"
