#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Does nothing when all of them are present.
set -euo pipefail

packages=(
  cmake make g++ ccache
  qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n
  libgl-dev
  fonts-wqy-zenhei
  sqlite3
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
