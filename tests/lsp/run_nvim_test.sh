#!/bin/sh
# Writes the stored scenario's texts into a fresh folder and runs the Neovim client test on them.
# Usage: run_nvim_test.sh RAILSCEN NVIM
set -eu
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$1" sources "$dir" >/dev/null
RAILSCEN="$1" SCENARIO_DIR="$dir" "$2" --headless -u NONE -i NONE -n \
  -c "luafile $here/nvim_lsp_test.lua" </dev/null
