#!/usr/bin/env bash
# Builds and runs the benchmark programs (all, or those named) under Wine on a
# private Xvfb display.
#   scripts/bench.sh [--build-dir DIR] [--no-setup] [bench_name ...]
# bench_markup measures the skin parser against pugixml, compiled for the target
# from Debian's source package, which this script fetches into .deps/pugixml
# (never part of the repository; without it bench_markup misses its goal), and the
# XML files found under /usr, which tests/bench/xml_corpus.py rewrites into what the
# skin parser takes, into xml_corpus beside the benchmark (made once per build folder).
set -euo pipefail
cd "$(dirname "$0")/.."

setup=1
for a in "$@"; do
  case "$a" in --no-setup) setup=0 ;; --) break ;; esac
done
[ "$setup" -eq 0 ] || bash scripts/setup.sh

[ -f .deps/pugixml/src/pugixml.cpp ] || bash scripts/fetch-source.sh pugixml .deps/pugixml src/pugixml.cpp ||
  echo "bench: pugixml's source could not be fetched; bench_markup runs without its comparison and misses its goal" >&2

source scripts/build.sh --no-setup "$@"
names=("${ARGS[@]}")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/bench/bench_*.cpp; do [ -e "$f" ] && names+=("$(basename "$f" .cpp)"); done
fi
for n in "${names[@]}"; do
  if [ "$n" = bench_markup ] && [ ! -d "$BUILD_DIR/tests/xml_corpus" ]; then
    rm -rf "$BUILD_DIR/tests/xml_corpus.tmp"
    python3 tests/bench/xml_corpus.py "$BUILD_DIR/tests/xml_corpus.tmp" /usr
    mv "$BUILD_DIR/tests/xml_corpus.tmp" "$BUILD_DIR/tests/xml_corpus"
  fi
done
# A benchmark exits non-zero when it misses one of its goals; the others still run.
missed=()
for n in "${names[@]}"; do
  echo "== $n"
  on_display wine "$BUILD_DIR/tests/$n.exe" || missed+=("$n")
done
[ ${#missed[@]} -eq 0 ] || { echo "bench: goals missed by: ${missed[*]}"; exit 1; }
