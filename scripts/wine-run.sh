#!/usr/bin/env bash
# Runs a Windows program under Wine the way our users' systems look:
# code page 936, a "宋体" font, a project-local prefix, and an X display
# (a private Xvfb when none is set). Used by CTest for every Windows test.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

export WINEPREFIX=${KODARO_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# zh_CN makes Wine pick code page 936; set per command so bash itself need not know the locale.
# No Mono or Gecko can be fetched here; never ask for them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=}

source "$here/virtual-display.sh"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
start_virtual_display || { echo "wine-run.sh: Xvfb did not start" >&2; exit 1; }

prepare_prefix() {
  if [ -f "$WINEPREFIX/.kodaro-ready" ]; then return; fi
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  # Wine has no SimSun; point the face names our windows ask for at an installed CJK font.
  local key='HKCU\Software\Wine\Fonts\Replacements'
  for face in "宋体" "SimSun" "新宋体" "NSimSun" "微软雅黑" "Microsoft YaHei"; do
    wine reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
  done
  wineserver -w || true
  touch "$WINEPREFIX/.kodaro-ready"
}

# On a display without a window manager (a virtual one) windows are best left
# unmanaged: Wine otherwise waits up to 2 s for a manager whenever a window
# hides or closes. With a manager, Wine hands windows to it as usual.
match_window_manager() {
  local want=Y
  if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then want=N; fi
  if [ "$(cat "$WINEPREFIX/.kodaro-managed" 2>/dev/null)" = "$want" ]; then return; fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$want" /f >/dev/null 2>&1 || true
  echo "$want" >"$WINEPREFIX/.kodaro-managed"
}

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  prepare_prefix
  match_window_manager
) 9>"$WINEPREFIX.lock"

if [ $# -eq 0 ]; then exit 0; fi
# Not exec: the trap must stop our private Xvfb when the program ends.
set +e
LC_ALL=zh_CN.UTF-8 wine "$@" 2> >(grep --line-buffered -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' -e '^it looks like wine32' >&2)
rc=$?
exit $rc
