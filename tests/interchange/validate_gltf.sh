#!/usr/bin/env bash
# The exported glTF files, checked by the reference glTF validator (an npm package, installed
# once at a fixed version under the build folder). Skipped, saying why, without Node.js.
set -u
cli="$1"
tools="$2/gltf-validator"
here=$(cd "$(dirname "$0")" && pwd)
version=2.0.0-dev.3.10
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "skipped: Node.js and npm are not installed, so the glTF validator cannot run"
  exit 77
fi
if [ ! -f "$tools/node_modules/gltf-validator/package.json" ]; then
  mkdir -p "$tools"
  if ! npm install --prefix "$tools" --no-audit --no-fund --silent "gltf-validator@$version" >/dev/null 2>&1; then
    echo "skipped: npm could not install gltf-validator@$version"
    exit 77
  fi
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" sample "$work/craft" >/dev/null || exit 1
"$cli" export "$work/craft/craft.opz" "$work/craft.gltf" >/dev/null || exit 1
"$cli" export "$work/craft/craft.opz" "$work/craft.glb" >/dev/null || exit 1
node "$here/validate.js" "$tools" "$work/craft.gltf" "$work/craft.glb"
