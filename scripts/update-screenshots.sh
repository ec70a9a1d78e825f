#!/usr/bin/env bash
# Takes the screenshots of every window of both tools (the Qt screenshot test, offscreen) and
# copies them into docs/screenshots/ for the README; the README's gallery lists what is there.
#   scripts/update-screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
cmake --build "$build" -j2 --target qt_tests
rm -rf "$build/screenshots"
"$build/bin/qt_tests" --gtest_filter='*Screenshot*' >/dev/null
mkdir -p docs/screenshots
rm -f docs/screenshots/*.png
cp "$build"/screenshots/*.png docs/screenshots/
# The gallery: one line per picture, between the README's markers; each tool's main window first.
gallery=$(for f in docs/screenshots/*-main.png $(ls docs/screenshots/*.png | grep -v -- '-main.png$'); do
  name=$(basename "$f" .png)
  echo "![${name}](${f})"
done)
awk -v gallery="$gallery" '
  /<!-- screenshots -->/ { print; print gallery; skip = 1; next }
  /<!-- end of screenshots -->/ { skip = 0 }
  !skip' README.md >README.md.new && mv README.md.new README.md
ls docs/screenshots
