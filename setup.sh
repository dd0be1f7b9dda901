#!/bin/sh
# Installs the Debian packages that building, testing and benchmarking need,
# when any is missing. The README's commands and .ci/run call it first;
# "setup.sh compare" also installs what the read-rate comparison draws and
# reads its images with (zint, ImageMagick, zbarimg).
set -eu

packages="cmake ninja-build g++ clang-14 libclang-rt-14-dev pkg-config valgrind
  time libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev libjpeg62-turbo-dev libtiff-dev libwebp-dev libpoppler-cpp-dev
  libzxing-dev libzbar-dev
  pybind11-dev python3-dev python3-venv python3-pip python3-setuptools
  python3-pytest python3-numpy python3-pil python3-dask python3-distributed
  python3-zxing-cpp python3-pyzbar"
[ "${1:-}" = compare ] && packages="$packages zint imagemagick zbar-tools"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "setup.sh: installing$missing"
[ "$(id -u)" = 0 ] && sudo="" || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
