#!/bin/sh
# Installs what a fresh Debian machine lacks to build and test Torvek:
# a C++ compiler, CMake, GoogleTest and Python 3 (for the protocol tests).
# With TORVEK_FUZZ_DEPS=1 also clang and its libFuzzer runtime (make fuzz).
set -e
missing=""
command -v g++ >/dev/null 2>&1 || missing="$missing g++"
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v make >/dev/null 2>&1 || missing="$missing make"
command -v python3 >/dev/null 2>&1 || missing="$missing python3"
[ -f /usr/include/gtest/gtest.h ] || missing="$missing libgtest-dev"
if [ "${TORVEK_FUZZ_DEPS:-0}" = 1 ]; then
  command -v clang++ >/dev/null 2>&1 || missing="$missing clang"
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a >/dev/null 2>&1 ||
    missing="$missing libclang-rt-14-dev"
fi
if [ -n "$missing" ]; then
  echo "installing:$missing"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
fi
