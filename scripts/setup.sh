#!/usr/bin/env bash
# Installs every Debian package the project needs; skips what is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev libx11-dev
  libcrypt-dev
  libmicrohttpd-dev libgnutls28-dev libcurl4-openssl-dev curl
  libavahi-client-dev avahi-daemon dbus-daemon iproute2 util-linux
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-vobject python3-ldap python3-jsonschema
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-crosextra-carlito fonts-liberation2
  xvfb xdotool imagemagick icewm x11-utils
  appstream desktop-file-utils shared-mime-info libglib2.0-bin man-db groff dpkg-dev lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
