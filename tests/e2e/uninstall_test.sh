#!/usr/bin/env bash
# The uninstaller through both stages on a fake installation in the Wine
# prefix: a missing manifest is reported and nothing starts; "取消" removes
# nothing; a second second stage ends at once; "卸载" removes what the
# manifest lists (progress 25/50/75/100 for three files and a folder), never
# what lies outside the folder or behind a link, nor the user's own file; the
# registry entries and shortcuts go; every close is refused while removing;
# the temporary copy is registered for deletion.
#   uninstall_test.sh BIN_DIR PROBE_EXE
source "$(dirname "$0")/lib.sh" "$1" ""
probe_exe=$2
start_display

wine_run() { "$root/scripts/wine-run.sh" "$@"; }
wine_run # prepares the prefix
# Wine acts out pending renames whenever its server starts afresh, so one
# session is held open (a "pause" fed by a pipe that stays open) for the
# registered deletion to be read back.
# Only the sleep holds the pipe, so ending it ends the session.
(
  sleep 600 &
  echo $! >"$work/hold.pid"
  wait
) | wine_run cmd /c pause >/dev/null 2>&1 &
prefix=${KODARO_WINEPREFIX:-$root/build/wineprefix}
user=$(id -un)
temp_dir="$prefix/drive_c/users/$user/Temp"
mkdir -p "$temp_dir"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kodaro'
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
session_key='HKLM\System\CurrentControlSet\Control\Session Manager'
start_menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kodaro"
desktop="$prefix/drive_c/users/$user/Desktop"
base_name="kodaro-e2e-$$"
base="$prefix/drive_c/$base_name"
inst="$base/Kodaro Test"
inst_win="C:\\$base_name\\Kodaro Test"
log="$base/probe.log"
export KODARO_UNINSTALL_LOG="C:\\$base_name\\probe.log"
copy_pid=""

uninstall_cleanup() {
  if [ -n "$copy_pid" ]; then kill "$copy_pid" 2>/dev/null || true; fi
  kill "$(cat "$work/hold.pid" 2>/dev/null)" 2>/dev/null || true
  rm -rf "$base" "$start_menu" "$desktop/Kodaro.lnk"
  wine_run reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
  wine_run reg delete "$run_key" /v Kodaro /f >/dev/null 2>&1 || true
  wine_run reg delete "$session_key" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
  e2e_cleanup
}
trap uninstall_cleanup EXIT

# An installation: the program, its pictures (with a link inside pointing
# outside), a Chinese file name, the user's own file, and the registry and
# shortcut entries an installer leaves.
install() {
  mkdir -p "$inst/Resource/sub" "$base/elsewhere" "$start_menu"
  cp "$probe_exe" "$inst/uninstall.exe"
  printf 'MZ' >"$inst/Kodaro.exe"
  echo readme >"$inst/说明.txt"
  echo png >"$inst/Resource/a.png"
  echo png >"$inst/Resource/sub/b.png"
  echo mine >"$inst/mine.txt"
  echo keep >"$base/elsewhere/keep.txt"
  echo outside >"$base/outside.txt"
  echo absolute >"$base/absolute.txt"
  ln -sfn "$base/elsewhere" "$inst/Resource/link"
  echo lnk >"$start_menu/Kodaro.lnk"
  echo lnk >"$desktop/Kodaro.lnk"
  wine_run reg add "$uninstall_key" /v InstallLocation /t REG_SZ /d "$inst_win" /f >/dev/null
  wine_run reg add "$run_key" /v Kodaro /t REG_SZ /d "$inst_win\\Kodaro.exe" /f >/dev/null
}

# write_manifest LINE...: uninstall.dat in code page 936 with CR LF.
write_manifest() {
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t GBK >"$inst/uninstall.dat"
}

# Starts the first stage, then finds the second stage's process and window.
start_uninstaller() {
  : >"$log"
  wine_run "$inst/uninstall.exe" || fail "first stage ended with $?"
  copy_pid=""
  for _ in $(seq 100); do
    copy_pid=$(pgrep -f '_unistall.tmp' | head -n1 || true)
    [ -n "$copy_pid" ] && break
    sleep 0.1
  done
  [ -n "$copy_pid" ] || fail "the temporary copy did not start"
  window=""
  for _ in $(seq 300); do
    window=$(find_window)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no uninstaller window"
  # The window is layered only while its show animation runs, and Wine gives
  # it a new X window when that ends: wait until the same one is seen twice.
  local previous=""
  for _ in $(seq 40); do
    sleep 0.5
    window=$(find_window)
    [ -n "$window" ] && [ "$window" = "$previous" ] && break
    previous=$window
  done
  read_geometry "$window"
}

find_window() { xdotool search --onlyvisible --name '^Kodaro' 2>/dev/null | head -n1 || true; }

wait_copy_exit() {
  for _ in $(seq 200); do
    kill -0 "$copy_pid" 2>/dev/null || { copy_pid=""; return 0; }
    sleep 0.1
  done
  fail "the uninstaller did not end"
}

wait_log() {
  for _ in $(seq 300); do
    grep -q "^$1" "$log" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no '$1' in the probe log: $(cat "$log")"
}

window_open() { xdotool search --onlyvisible --name '^Kodaro' >/dev/null 2>&1; }

mkdir -p "$work/shots"
wine_run reg delete "$session_key" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
install

# --- no manifest: the first stage says so and changes nothing ---------------
wine_run "$inst/uninstall.exe" &
first_pid=$!
box=""
for _ in $(seq 300); do
  box=$(xdotool search --onlyvisible --name '卸载失败' 2>/dev/null | head -n1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message box for the missing manifest"
sleep 1
screenshot "$work/shots/uninstall-no-manifest.png"
if pgrep -f '_unistall.tmp' >/dev/null; then fail "a second stage started without a manifest"; fi
box=$(xdotool search --onlyvisible --name '卸载失败' | head -n1)
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 200); do
  kill -0 "$first_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$first_pid" 2>/dev/null; then fail "the message box did not end the first stage"; fi

write_manifest '[File]' '1=Kodaro.exe' '2=说明.txt' '3=..\outside.txt' '' '[Directory]' '1=Resource'

# --- an unknown argument: a second stage in the installation folder, which
# shows nothing and must not register the installed program for deletion ---
wine_run "$inst/uninstall.exe" /S || fail "uninstall.exe /S ended with $?"
if wine_run reg query "$session_key" /v PendingFileRenameOperations 2>/dev/null |
  grep -q 'uninstall.exe'; then
  fail "the installed uninstaller was registered for deletion"
fi

# --- ready: a second second stage ends at once; "取消" removes nothing ------
start_uninstaller
[ "$WW" = 600 ] && [ "$WH" = 435 ] || fail "window is ${WW}x${WH}"
screenshot "$work/shots/uninstall-ready.png"
timeout 30 "$root/scripts/wine-run.sh" "$temp_dir/_unistall.tmp" -uninst ||
  fail "a second second stage did not end by itself"
[ "$(xdotool search --onlyvisible --name '^Kodaro' | wc -l)" = 1 ] || fail "a second window opened"
click_at "$window" 355 394
wait_copy_exit
for f in Kodaro.exe 说明.txt Resource/a.png mine.txt uninstall.dat; do
  [ -e "$inst/$f" ] || fail "取消 removed $f"
done
wine_run reg query "$uninstall_key" >/dev/null 2>&1 || fail "取消 removed the registry key"
wine_run reg query "$session_key" /v PendingFileRenameOperations 2>/dev/null | grep -q '_unistall.tmp' ||
  fail "the temporary copy was not registered for deletion"

# --- removing: progress, every close refused ---------------------------------
export KODARO_UNINSTALL_ITEM_DELAY=1200
start_uninstaller
click_at "$window" 255 394
screenshot "$work/shots/uninstall-removing.png"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key alt+F4
sleep 0.8
window_open || fail "Alt+F4 closed the window while removing"
click_at "$window" $((600 - 11 - 14)) 17
click_at "$window" 305 394
window_open || fail "a button closed the window while removing"
wait_log done
screenshot "$work/shots/uninstall-done.png"
[ "$(grep '^progress' "$log" | cut -d' ' -f2 | tr '\n' ' ')" = "25 50 75 100 " ] ||
  fail "progress was: $(cat "$log")"
# Alt+F4 reached the window and was refused; the disabled caption button
# never sends a close.
grep -q '^close-refused' "$log" || fail "Alt+F4 was not refused: $(cat "$log")"
click_at "$window" 305 394 # "完成"
wait_copy_exit

for f in Kodaro.exe 说明.txt Resource/a.png Resource/sub; do
  [ ! -e "$inst/$f" ] || fail "$f was not removed"
done
for f in "$inst/mine.txt" "$inst/uninstall.exe" "$base/outside.txt" "$base/elsewhere/keep.txt"; do
  [ -e "$f" ] || fail "$f was removed"
done
[ -d "$inst" ] || fail "the folder went although the user's file is in it"
if wine_run reg query "$uninstall_key" >/dev/null 2>&1; then fail "the Uninstall key is left"; fi
if wine_run reg query "$run_key" /v Kodaro >/dev/null 2>&1; then fail "the Run value is left"; fi
[ ! -e "$start_menu" ] || fail "the start-menu folder is left"
[ ! -e "$desktop/Kodaro.lnk" ] || fail "the desktop shortcut is left"

# --- absolute entries, and Alt+F4 closing once done ---------------------------
export KODARO_UNINSTALL_ITEM_DELAY=0
wine_run reg add "$uninstall_key" /v InstallLocation /t REG_SZ /d "$inst_win" /f >/dev/null
mkdir -p "$base/absolute-dir" && echo x >"$base/absolute-dir/x.txt"
write_manifest '[File]' "1=C:\\$base_name\\absolute.txt" '[Directory]' "1=C:\\$base_name\\absolute-dir"
start_uninstaller
click_at "$window" 255 394
wait_log done
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key alt+F4
wait_copy_exit
[ -e "$base/absolute.txt" ] && [ -e "$base/absolute-dir/x.txt" ] || fail "an absolute entry was removed"

# E2E_KEEP keeps the three screenshots (ready, removing, done).
echo "PASS"
