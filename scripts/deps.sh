#!/usr/bin/env bash
# Makes sure the build tools and libraries are present. Usage: deps.sh [test] [bench]
# As root on Debian the missing packages are installed with apt-get; otherwise the
# command that installs them is printed and the script fails.
set -euo pipefail

want=(cmake ninja-build g++ zlib1g-dev)
for extra in "$@"; do
  case "$extra" in
    test) want+=(libgtest-dev) ;;
    bench) want+=(libbenchmark-dev) ;;
  esac
done

have_pkg() {
  case "$1" in
    cmake) command -v cmake >/dev/null 2>&1 ;;
    ninja-build) command -v ninja >/dev/null 2>&1 ;;
    g++) command -v g++ >/dev/null 2>&1 ;;
    zlib1g-dev) [ -f /usr/include/zlib.h ] ;;
    libgtest-dev) [ -f /usr/include/gtest/gtest.h ] && ls /usr/lib/*/libgtest.a /usr/lib/libgtest.a >/dev/null 2>&1 ;;
    libbenchmark-dev) [ -f /usr/include/benchmark/benchmark.h ] ;;
    *) dpkg -s "$1" >/dev/null 2>&1 ;;
  esac
}

missing=()
for p in "${want[@]}"; do
  have_pkg "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >&2
  apt-get install -y -qq "${missing[@]}" >&2
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with:  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
