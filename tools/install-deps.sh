#!/bin/sh
# Installs the packages of the list that are missing; does nothing when all are present.
set -eu
list="${1:-debian-packages.txt}"
missing=""
for pkg in $(grep -v '^#' "$list" | grep -v '^[[:space:]]*$'); do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    # A tool that came with another package (npm inside a newer nodejs) is there already.
    *) command -v "$pkg" >/dev/null 2>&1 && [ "$pkg" = npm ] || missing="$missing $pkg" ;;
  esac
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
