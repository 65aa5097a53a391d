#!/usr/bin/env bash
# Installs the Debian packages the build, tests and benchmarks need. Idempotent: when every
# package is already present it returns at once without touching apt.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang
  libsqlite3-dev sqlite3 libxml2-dev zlib1g-dev libminizip-dev libssl-dev openssl
  libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev libcli11-dev uuid-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  chromium nodejs fonts-noto-cjk
  zip python3
  nginx-light
)
# The browser test drives Chromium from Node; fonts-noto-cjk gives its screenshots Chinese
# characters instead of empty boxes. A Node.js that brings its own npm (as some
# distributions of it do) must not be given Debian's npm on top.
if ! command -v npm >/dev/null 2>&1; then packages+=(npm); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
