#!/bin/sh
# Builds the sanitized analyzer and the fuzz target with clang.
# Usage: build.sh CHECKOUT BUILD_DIR CLANGXX
set -eu
ROOT=$1
BUILD=$2
CXX=${3:-}
if [ -z "$CXX" ] || ! command -v "$CXX" >/dev/null 2>&1; then
    echo "clang++ is not installed (scripts/install-deps installs clang)" >&2
    exit 1
fi
cmake -S "$ROOT/tests/analyzer/sanitize" -B "$BUILD" -DQUARL_ROOT="$ROOT" \
      -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$BUILD" -j 2
