#!/bin/sh
# Installs the TypeScript compiler and Foundry VTT's published type declarations into DIR
# (a cache inside the build tree) for the Foundry scene type check; does nothing when they
# are there. The declarations' own dependencies are left out: some are fetched from outside
# the npm registry, and the scene, wall, light and note data the check reads need none.
# Exit 0 when installed, 1 with a message when node, npm or the registry is missing.
set -u
dir="${1:?usage: install-foundry-types.sh DIR}"
types="@league-of-foundry-developers/foundry-vtt-types@13.345.1"
compiler="typescript@5.9.3"
ready="$dir/ready-13.345.1"
[ -f "$ready" ] && exit 0
for tool in node npm; do
  command -v "$tool" >/dev/null 2>&1 || { echo "install-foundry-types: $tool is not installed (Debian packages nodejs, npm)"; exit 1; }
done
mkdir -p "$dir" || exit 1
cd "$dir" || exit 1
ready="$(pwd)/$(basename "$ready")"
[ -f package.json ] || echo '{"name":"quillmarch-foundry-check","private":true}' > package.json
if ! npm install --no-audit --no-fund --ignore-scripts --silent "$compiler" >npm.log 2>&1; then
  echo "install-foundry-types: npm could not install $compiler (see $dir/npm.log)"; exit 1
fi
rm -f ./*.tgz
if ! npm pack --silent "$types" >>npm.log 2>&1; then
  echo "install-foundry-types: npm could not fetch $types (see $dir/npm.log)"; exit 1
fi
target="node_modules/@league-of-foundry-developers/foundry-vtt-types"
rm -rf "$target" && mkdir -p "$target" && tar xzf ./*.tgz -C "$target" --strip-components=1 || exit 1
rm -f ./*.tgz
touch "$ready"
