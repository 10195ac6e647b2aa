#!/usr/bin/env bash
# Makes sure the build tools and libraries are present. Usage: deps.sh [test] [bench] [plot]
# [sanitize] (plot: gnuplot, which tervan-plot draws with).
# As root on Debian the missing packages are installed with apt-get; otherwise the
# command that installs them is printed and the script fails.
set -euo pipefail

want=(cmake ninja-build g++ zlib1g-dev)
for extra in "$@"; do
  case "$extra" in
    test) want+=(libgtest-dev) ;;
    bench) want+=(libbenchmark-dev) ;;
    plot) want+=(gnuplot-nox) ;;
    sanitize) want+=(clang libclang-rt-dev) ;;
  esac
done

# True when dpkg knows the package as installed (Debian 12 and 13 alike).
dpkg_installed() {
  command -v dpkg-query >/dev/null 2>&1 &&
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

# True when the compiler finds the header and the library (a library built and installed
# by hand, or a system without dpkg).
compiler_finds() {
  local header=$1 library=$2 path
  command -v g++ >/dev/null 2>&1 || return 1
  echo "#include <$header>" | g++ -std=c++17 -fsyntax-only -x c++ - >/dev/null 2>&1 || return 1
  path=$(g++ -print-file-name="$library" 2>/dev/null) || return 1
  [ "$path" != "$library" ] && [ -e "$path" ]
}

# True when clang links a program with libFuzzer and both sanitizers.
clang_sanitizes() {
  local dir
  command -v clang++ >/dev/null 2>&1 || return 1
  dir=$(mktemp -d)
  printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
    'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' > "$dir/t.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$dir/t.cpp" -o "$dir/t" >/dev/null 2>&1
  local ok=$?
  rm -rf "$dir"
  return $ok
}

have_pkg() {
  case "$1" in
    cmake) command -v cmake >/dev/null 2>&1 ;;
    ninja-build) command -v ninja >/dev/null 2>&1 ;;
    g++) command -v g++ >/dev/null 2>&1 ;;
    gnuplot-nox) command -v gnuplot >/dev/null 2>&1 ;;
    zlib1g-dev) dpkg_installed "$1" || compiler_finds zlib.h libz.so ;;
    libgtest-dev) dpkg_installed "$1" || compiler_finds gtest/gtest.h libgtest.a ;;
    libbenchmark-dev) dpkg_installed "$1" || compiler_finds benchmark/benchmark.h libbenchmark.so ;;
    clang) command -v clang++ >/dev/null 2>&1 ;;
    libclang-rt-dev) dpkg_installed "$1" || clang_sanitizes ;;
    *) dpkg_installed "$1" ;;
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
