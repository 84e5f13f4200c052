#!/usr/bin/env bash
# Installs the Debian packages a task needs, when missing. As root it
# installs them; otherwise it prints the one line to run as root.
#
#   tools/install-deps.sh [run|test|package|web|fuzz]...   (default: run)
#
# run      building and running the three programs
# test     run + the test suite (GoogleTest, Google Benchmark, desktop file,
#          metainfo and manual page checks, the PDF export check, the package
#          install test, the browser edition and its tests)
# package  run + what `make package` needs
# web      the browser edition: Emscripten (its optimiser runs under Node),
#          headless Chromium and Python for the page's tests
# fuzz     run + clang for the libFuzzer targets
set -euo pipefail

run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev
  fonts-dejavu-core
  libudev-dev
)
package=(file emscripten nodejs) # file: dpkg-shlibdeps finds the programs' libraries with it; the rest builds the page
web=(emscripten nodejs chromium-headless-shell python3)
test=(libgtest-dev libgmock-dev libbenchmark-dev desktop-file-utils appstream man-db poppler-utils "${package[@]}"
      "${web[@]}")
fuzz=(clang libclang-rt-dev)

packages=("${run[@]}")
for profile in "${@:-run}"; do
  case "$profile" in
    run) ;;
    test) packages+=("${test[@]}") ;;
    package) packages+=("${package[@]}") ;;
    web) packages+=("${web[@]}") ;;
    fuzz) packages+=("${fuzz[@]}") ;;
    *) echo "install-deps.sh: unknown profile '$profile' (run, test, package, web, fuzz)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. As root, run:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  echo "(with sudo: sudo apt-get update && sudo apt-get install -y ${missing[*]})" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
