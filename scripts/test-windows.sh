#!/usr/bin/env bash
# Tests the Windows programs under Wine on a virtual display (Xvfb):
#  1. the cross-built core, settings, dialog and Win32-host tests (ctest -L wine);
#     (among them the differential test: every scenario script on the native windows through
#     `uiscenario.exe --host win32` gives the transcript of its headless host);
#  2. the real windows of both tools played by `uiscenario.exe --host win32` through the channel
#     scripts of tests/scenarios with real input (choose a model, open the channel dialog, type
#     a channel, copy the bank, OK, File > Save in the common dialog): the transcript and every
#     file written (the saved header byte for byte) must be the Linux build's for the script;
#  3. the shipped ambrel.exe and ostrel.exe driven through the X server with mouse and keys
#     (scripts/windows-real-session.sh): the headers they save equal the Linux build's, and
#     their start-up time is printed;
#  4. every scenario script on the headless host of uiscenario.exe gives the Linux transcript
#     and files;
#  5. lxcfg.exe prints the same header as the Linux lxcfg.
# Screenshots of both tools' main window, channel dialog, register and planning windows go to docs/windows/
#   scripts/test-windows.sh            (after scripts/build-windows.sh and the Linux build)
# LX_WIN_BUILD and LX_LINUX_BUILD name the build folders (build-win, build).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
win="$root/${LX_WIN_BUILD:-build-win}"
linux="$root/${LX_LINUX_BUILD:-build}"

for tool in xvfb-run wine wineboot wineserver xdotool; do
  command -v "$tool" >/dev/null || { echo "test-windows.sh: $tool missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done
if ! fc-list 2>/dev/null | grep "WenQuanYi Micro Hei" >/dev/null; then
  echo "test-windows.sh: the WenQuanYi Micro Hei font is missing (fonts-wqy-microhei)" >&2
  exit 2
fi
# Wine draws the title bar's buttons with the Marlett font (fonts-wine); the prefix gets a copy.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ ! -f "$marlett" ]; then
  echo "test-windows.sh: Wine's Marlett font is missing (fonts-wine)" >&2
  exit 2
fi
if [ -z "${LX_IN_XVFB:-}" ]; then
  exec env LX_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$0" "$@"
fi

cmake --build "$win" -j"${LX_JOBS:-2}" --target ambrel ostrel lxcfg uiscenario core_tests lx_settings_tests \
  lx_cli_tests lx_settings_ui_tests ui_tests app_tests channel_dialog_tests tx_tests rx_tests win32_host_tests >/dev/null

# A Wine prefix of our own, with the Chinese font substitutes the templates need, Marlett for
# the title bars, and windows that Wine manages and frames itself (there is no window manager
# on the virtual display: a managed window would wait for one at every hide). A prefix is used only once it was made
# whole: one left half-made by an interrupted run, or by an older version of this script, is
# made again.
export WINEPREFIX="$win/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ready="$WINEPREFIX/.lx-ready-3"
# Whatever ends this script, no Wine process of our prefix outlives it.
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "${work:-}"' EXIT
trap 'exit 130' INT TERM
if [ ! -f "$ready" ]; then
  rm -rf "$WINEPREFIX"
  echo "== making a Wine prefix"
  timeout 600 wineboot -i >/dev/null 2>&1 || { echo "FAIL: wineboot could not make $WINEPREFIX" >&2; exit 1; }
  substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for face in 宋体 SimSun System; do
    LC_ALL=C.UTF-8 timeout 120 wine reg add "$substitutes" /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
  timeout 120 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Marlett (TrueType)' \
    /d marlett.ttf /f >/dev/null 2>&1
  timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 120 wineserver -w || true
  # The registry is written when the server ends: check that the settings are in it.
  if ! grep -q '"System"="WenQuanYi Micro Hei"' "$WINEPREFIX/system.reg" ||
     ! grep -q '"SimSun"="WenQuanYi Micro Hei"' "$WINEPREFIX/system.reg" ||
     ! grep -q '"Marlett (TrueType)"="marlett.ttf"' "$WINEPREFIX/system.reg" ||
     ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    echo "FAIL: the fonts or window settings did not reach $WINEPREFIX" >&2
    exit 1
  fi
  touch "$ready"
fi

# One Wine server for the whole run (ended by the exit trap), with Wine's own services started
# here: started by the first test instead, they would inherit its output and keep CTest waiting
# for the end of it until they exit.
timeout 60 wineserver -p || true  # one already running for the prefix (exit status 2) serves as well
timeout 300 wineboot </dev/null >/dev/null 2>&1

echo "== cross-built tests under Wine"
# One program at a time: the native-window test takes most of the time anyway, and Wine programs
# started together have lost their server connection.
ctest --test-dir "$win" -L wine --output-on-failure --timeout 600

work=$(mktemp -d)
shots="$work/shots"
status=0
if [ -x "$linux/bin/uiscenario" ]; then
  # Runs a scenario script through the Linux uiscenario (headless) and through uiscenario.exe
  # on a host (more arguments go before the tool), each in the same working folder inside this
  # run's own $work: the exit statuses, the transcripts and every file left must be the same.
  # Only the spelling of the working folder differs (Z:\tmp\... under Wine), and is mapped back
  # before comparing.
  same_as_linux() {
    local label=$1 host=$2 script=$3
    shift 3
    local name tool folder linux_status=0 win_status=0
    name=$(basename "$script" .txt)
    tool=${name%%-*}
    folder="$work/$host-$name.session"
    rm -rf "$folder" "$work/$host-$name.linux-files"
    "$linux/bin/uiscenario" "$tool" "$folder" "$script" >"$work/$host-$name.linux" 2>/dev/null || linux_status=$?
    mv "$folder" "$work/$host-$name.linux-files"
    timeout 180 wine "$win/bin/uiscenario.exe" --host "$host" "$@" "$tool" "$folder" "$script" 2>/dev/null \
      >"$work/$host-$name.raw" || win_status=$?
    sed "s|\\\\|/|g; s|Z:$folder|$folder|g" "$work/$host-$name.raw" >"$work/$host-$name.win"
    if [ "$linux_status" = "$win_status" ] && cmp -s "$work/$host-$name.linux" "$work/$host-$name.win" &&
       diff -r "$work/$host-$name.linux-files" "$folder" >/dev/null; then
      echo "$label: transcript and files as on Linux"
    else
      echo "FAIL: $label: the status ($win_status, Linux $linux_status), transcript or files differ:" >&2
      diff "$work/$host-$name.linux" "$work/$host-$name.win" | head -n 8 >&2 || true
      diff -r "$work/$host-$name.linux-files" "$folder" | head -n 4 >&2 || true
      status=1
    fi
    rm -rf "$folder"
  }

  echo "== real windows under Wine"
  # The channel scripts on the native windows: choose a model, open the channel dialog, type a
  # channel, copy the bank, OK, File > Save in the common dialog; the register scripts: the page,
  # comparisons, the clipboard, dropped files; with the screenshots.
  for tool in ambrel ostrel; do
    same_as_linux "$tool on the native windows" win32 "$root/tests/scenarios/$tool-channel.txt" --pictures "$shots/$tool"
    same_as_linux "$tool's register window on the native windows" win32 "$root/tests/scenarios/$tool-registers.txt" \
      --pictures "$shots/$tool-registers"
    same_as_linux "$tool's planning window on the native windows" win32 "$root/tests/scenarios/$tool-planning.txt" \
      --pictures "$shots/$tool-planning"
  done

  echo "== the shipped programs under Wine"
  bash scripts/windows-real-session.sh "$win/bin" "$linux/bin" "$work" || status=1

  echo "== every scenario script on the headless host of uiscenario.exe"
  for script in "$root"/tests/scenarios/*.txt; do
    same_as_linux "uiscenario.exe $(basename "$script" .txt)" headless "$script"
  done
else
  echo "no Linux build in $linux: the Windows programs are not compared with it"
fi

if [ -x "$linux/bin/lxcfg" ]; then
  for model in LX7250 LXM7140; do
    if cmp <(wine "$win/bin/lxcfg.exe" new --model "$model" -o - 2>/dev/null) <("$linux/bin/lxcfg" new --model "$model" -o -); then
      echo "lxcfg.exe new --model $model: identical to Linux"
    else
      echo "FAIL: lxcfg.exe new --model $model differs" >&2
      status=1
    fi
  done
fi

# What each window showed before its last action: 102 the main window, 143 the channel dialog,
# 150 the register window, 151 the planning window.
mkdir -p docs/windows
python3 - "$shots" docs/windows <<'PY'
import struct, sys, zlib, pathlib
src, dst = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
names = {"102": "main", "143": "channel", "150": "registers", "151": "planning"}
sessions = {"150": "registers", "151": "planning"}
for bmp in sorted(src.glob("*/*.bmp")):
    tool, _, session = bmp.parent.name.partition("-")
    # The register and planning sessions give their windows; the channel session the others.
    if bmp.stem not in names or sessions.get(bmp.stem, "") != (session if session in sessions.values() else ""):
        continue
    data = bmp.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row = data[offset + (abs(height) - 1 - y if height > 0 else y) * stride:][:width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]  # BGR to RGB
        rows.append(b"\0" + bytes(rgb))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    out = dst / f"{tool}-{names[bmp.stem]}.png"
    out.write_bytes(png)
    print(f"screenshot {out} ({width}x{abs(height)})")
PY
exit $status
