#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing the workbench.
# Idempotent: a package already present is not asked for again, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

native_pkgs=(g++ cmake make ccache googletest libpcre2-dev libre2-dev python3 clang libclang-rt-14-dev)
cross_pkgs=(g++-mingw-w64-i686 mingw-w64-tools wine wine32:i386 wine64 fonts-wine xvfb x11-apps imagemagick xdotool fonts-wqy-microhei)
# a real printer for the print and page-setup dialogs: a private CUPS server with a PDF queue;
# 32-bit Wine reaches CUPS through the i386 client library
printer_pkgs=(cups cups-client printer-driver-cups-pdf libcups2:i386)

for p in "${native_pkgs[@]}" "${cross_pkgs[@]}" "${printer_pkgs[@]}"; do
  have "$p" || need+=("$p")
done

[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
echo "installing: ${need[*]}" >&2
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
