#!/usr/bin/env bash
# Static analysis of our own sources (not the tests, fuzz harnesses or generated code):
# clang-tidy with the checks of .clang-tidy, then cppcheck. Both take the files and their flags
# from the compile commands of the normal build, so configure that first. Any finding fails.
# Usage: scripts/analyse.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
jobs="${LX_JOBS:-2}"
commands="$build/compile_commands.json"
if [ ! -f "$commands" ]; then
  echo "$commands is missing: configure the normal build first" >&2
  exit 2
fi
root="$PWD"
sources='(app|channel|cli|core|rx|settings|tx|ui|resources)'
files=$(python3 - "$commands" "$root" "$sources" <<'PY'
import json, re, sys
commands, root, sources = sys.argv[1:]
pattern = re.compile(re.escape(root) + "/" + sources + r"/.*\.cpp$")
print("\n".join(sorted({e["file"] for e in json.load(open(commands)) if pattern.match(e["file"])})))
PY
)
count=$(printf '%s\n' "$files" | wc -l)

echo "== clang-tidy ($count files)"
log=$(mktemp)
# run-clang-tidy answers 1 when any file had a finding (all are errors in .clang-tidy).
if ! run-clang-tidy-14 -p "$build" -j "$jobs" -quiet "$root/$sources/.*\.cpp$" >"$log" 2>&1; then
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -vE '^clang-tidy-14 |warnings generated' | head -n 200
  rm -f "$log"
  echo "clang-tidy: findings above" >&2
  exit 1
fi
rm -f "$log"

echo "== cppcheck ($count files)"
list=$(mktemp)
printf '%s\n' "$files" >"$list"
# Only our headers: the system's and Qt's would take most of the time and report on code that
# is not ours. Suppressions with their reasons are in scripts/cppcheck-suppressions.txt.
status=0
cppcheck --quiet --std=c++20 --language=c++ -j "$jobs" -I "$root" --file-list="$list" \
  --enable=warning,performance,portability --inline-suppr --error-exitcode=1 \
  --suppressions-list=scripts/cppcheck-suppressions.txt --template='{file}:{line}: {severity}: {message} [{id}]' || status=$?
rm -f "$list"
exit $status
