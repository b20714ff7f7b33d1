#!/usr/bin/env bash
# install-test.sh SETUP.exe STAGE i686|x86_64 WORKDIR SESSION_DIR STAND_IN.exe WAIT_WINDOW.exe
# Installs OrvaneSetup.exe silently into a fresh Wine prefix of its own under
# WORKDIR, checks the installed files against the staged program folder STAGE, the
# settings store's values, the Add/Remove Programs entry and the Start-menu
# entries; then uninstalls silently and checks that all of it is gone. The
# prefix's own wineserver (and with it every process of the prefix) is ended
# at the end.
set -euo pipefail
usage="usage: install-test.sh SETUP.exe STAGE i686|x86_64 WORKDIR SESSION_DIR STAND_IN.exe WAIT_WINDOW.exe"
setup=${1:?$usage}
stage=${2:?$usage}
arch=${3:?$usage}
work=${4:?$usage}
session=${5:?$usage}
stand_in=${6:?$usage}
wait_window=${7:?$usage}

case $arch in
i686)   loader=/usr/lib/wine/wine;   server=/usr/lib/wine/wineserver32; winearch=win32 ;;
x86_64) loader=/usr/lib/wine/wine64; server=/usr/lib/wine/wineserver64; winearch=win64 ;;
*) echo "unknown arch $arch" >&2; exit 2 ;;
esac
export WINEPREFIX=$work/prefix WINEARCH=$winearch WINEDEBUG=-all WINESERVER=$server
# The test run's virtual display, when there is one.
if [ -n "$session" ] && [ -f "$session/session.env" ]; then
    DISPLAY=$(. "$session/session.env"; echo "${DISPLAY:-}")
    export DISPLAY
fi

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
quiet() { "$@" </dev/null >/dev/null 2>&1; }
stop_prefix() { "$server" -k >/dev/null 2>&1 || true; }
trap stop_prefix EXIT

[ -f "$setup" ] || { echo "no installer: $setup" >&2; exit 1; }
[ -d "$stage" ] || { echo "no staged program folder: $stage" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
WINEDLLOVERRIDES="mscoree,mshtml=" quiet "$loader" wineboot --init || true
[ -d "$WINEPREFIX/drive_c" ] || { echo "the prefix could not be made" >&2; exit 1; }
quiet "$server" -w

reg_value() {  # KEY NAME -> the value's data, or nothing
    "$loader" reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { "$loader" reg query "$1" </dev/null >/dev/null 2>&1; }

url="http://127.0.0.1:4711/install-test/a-b"
product='HKLM\SOFTWARE\Orvane'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane'
instdir="$WINEPREFIX/drive_c/Program Files/Orvane"

# Install, and wait for every process of the prefix to end.
set +e
"$loader" "$setup" /S "/URL=$url" </dev/null >"$work/install.log" 2>&1
rc=$?
set -e
quiet "$server" -w
[ $rc -eq 0 ] || fail "the installer ended with $rc"

# Every staged file, byte for byte, and nothing of the tests.
while IFS= read -r -d '' f; do
    rel=${f#"$stage"/}
    cmp -s "$f" "$instdir/$rel" || fail "not installed as staged: $rel"
done < <(find "$stage" -type f -print0)
[ -f "$instdir/Uninstall.exe" ] || fail "no uninstaller"
for required in OrvUpdate.exe ORVKILLER.dll libstdc++-6.dll libwinpthread-1.dll Locale/EN.txt; do
    [ -f "$instdir/$required" ] || fail "missing $required"
done
ls "$instdir"/Skins/*/Skin.Ini >/dev/null 2>&1 || fail "no skin installed"
ls "$instdir"/Sounds/*/Theme.txt >/dev/null 2>&1 || fail "no sound theme installed"
if ls "$instdir" | grep -qi 'test'; then fail "test files installed: $(ls "$instdir" | grep -i test | tr '\n' ' ')"; fi

[ "$(reg_value "$product" url)" = "$url" ] || fail "url is '$(reg_value "$product" url)'"
[ -n "$(reg_value "$product" version)" ] || fail "no version written"
[ "$(reg_value "$uninstall" DisplayName)" = "Orvane" ] || fail "no Add/Remove Programs entry"
case "$(reg_value "$uninstall" UninstallString)" in
*'\Orvane\Uninstall.exe"') ;;
*) fail "UninstallString is '$(reg_value "$uninstall" UninstallString)'" ;;
esac
menu=$(find "$WINEPREFIX/drive_c" -type d -path '*Start Menu/Programs/Orvane' -print -quit)
[ -n "$menu" ] && [ -f "$menu/Uninstall Orvane.lnk" ] || fail "no Start-menu entry"
if [ -f "$stage/Orvane.exe" ]; then
    [ -f "$menu/Orvane.lnk" ] || fail "no Start-menu entry for the program"
fi

# Install again over a running main program (a stand-in with the main
# window's class, which ends with 7 when it gets WM_CLOSE): the installer
# closes it before it replaces files, and writes the new address.
"$loader" "$stand_in" --main </dev/null >/dev/null 2>&1 &
stand_in_pid=$!
if "$loader" "$wait_window" OrvaneMainWindowClass 120000 </dev/null >/dev/null 2>&1; then
    url2="http://127.0.0.1:4712/second"
    set +e
    "$loader" "$setup" /S "/URL=$url2" </dev/null >"$work/install2.log" 2>&1
    rc=$?
    if "$loader" "$wait_window" OrvaneMainWindowClass 60000 gone </dev/null >/dev/null 2>&1; then
        wait $stand_in_pid
        closed=$?
    else
        closed=running
        kill "$stand_in_pid" 2>/dev/null
        wait $stand_in_pid
    fi
    set -e
    [ $rc -eq 0 ] || fail "the second install ended with $rc"
    [ $closed -eq 7 ] || fail "the running program was not closed by the installer (exit $closed)"
    quiet "$server" -w
    [ "$(reg_value "$product" url)" = "$url2" ] || fail "second install: url is '$(reg_value "$product" url)'"
else
    fail "the stand-in's main window never appeared"
    kill "$stand_in_pid" 2>/dev/null || true
fi

# Uninstall (the uninstaller runs from a copy of itself; wait for all of it).
set +e
"$loader" "C:\\Program Files\\Orvane\\Uninstall.exe" /S </dev/null >"$work/uninstall.log" 2>&1
rc=$?
set -e
quiet "$server" -w
[ $rc -eq 0 ] || fail "the uninstaller ended with $rc"
[ ! -e "$instdir" ] || fail "left behind: $(find "$instdir" | head -5 | tr '\n' ' ')"
! reg_key_exists "$product" || fail "the settings key is still there"
! reg_key_exists "$uninstall" || fail "the Add/Remove Programs entry is still there"
[ -z "$menu" ] || [ ! -e "$menu" ] || fail "the Start-menu folder is still there"

if [ $failures -ne 0 ]; then
    echo "install-test: $failures failure(s); logs in $work" >&2
    exit 1
fi
echo "install-test: installed, checked and uninstalled ($(find "$stage" -type f | wc -l) files)"
# The prefix goes only once its wineserver (which writes the registry files
# as it ends) is gone.
stop_prefix
quiet "$server" -w || true
rm -rf "$work" || echo "install-test: could not remove $work" >&2
