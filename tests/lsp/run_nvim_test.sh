#!/bin/sh
# Writes the stored scenario's texts into a fresh folder and runs the Neovim client test on them.
# Usage: run_nvim_test.sh RAILSCEN NVIM
set -eu
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
root=$(cd "$here/../.." && pwd)
"$1" sources "$dir" >/dev/null
# The README's filetype set-up, exactly as an author copies it into init.lua.
sed -n '/^    vim.opt.runtimepath:append/,/^$/p' "$root/README.md" | sed 's/^    //' |
  sed "s#/path/to/railscen#$root#" >"$dir/init_snippet.lua"
grep -q runtimepath "$dir/init_snippet.lua"
RAILSCEN="$1" SCENARIO_DIR="$dir" "$2" --headless -u NONE -i NONE -n \
  -c "luafile $dir/init_snippet.lua" -c "luafile $here/nvim_lsp_test.lua" </dev/null
