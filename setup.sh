#!/usr/bin/env bash
# Sets a Debian 12 machine up for Tessaly, builds it, then starts it (run) or tests it (test).
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ ninja-build pkg-config qt6-base-dev libsqlcipher-dev sqlcipher libjpeg-dev
          libgtest-dev xvfb xauth fonts-wqy-microhei libreoffice-calc-nogui libreoffice-writer-nogui
          ca-certificates python3-aiosmtpd openssl
          unixodbc-dev tdsodbc odbc-postgresql postgresql-15)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"

case "${1:-run}" in
  run)  cd build/bin && exec ./tessaly ;;
  test) exec ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600 ;;
  *)    echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
