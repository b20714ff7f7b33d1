#!/usr/bin/env bash
# wine-session.sh start|stop DIR [i686|x86_64]
# One Wine session for a test run: the project's own prefix under DIR (created
# once; 32-bit for i686 programs, 64-bit for x86_64 ones), a virtual display
# when none is set, and one persistent wineserver, so each test program starts
# in a fraction of a second. Everything started here is stopped by "stop", by
# its own process id. Test runs that overlap in one build folder share the
# session: it is counted, and the last "stop" ends it.
set -euo pipefail

usage="usage: wine-session.sh start|stop DIR [i686|x86_64]"
action=${1:?$usage}
dir=$(mkdir -p "${2:?$usage}" && cd "$2" && pwd)
arch=${3:-i686}
env_file=$dir/session.env

case $arch in
i686)   loader=/usr/lib/wine/wine;   server=/usr/lib/wine/wineserver32; winearch=win32 ;;
x86_64) loader=/usr/lib/wine/wine64; server=/usr/lib/wine/wineserver64; winearch=win64 ;;
*)      echo "$usage" >&2; exit 2 ;;
esac
export WINEPREFIX=$dir/prefix WINEARCH=$winearch WINEDEBUG=-all WINESERVER=$server

free_display() {
    local n
    for n in $(seq 90 190); do
        if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then echo $n; return 0; fi
    done
    return 1
}

# The lock descriptor (9) is closed for every process started here: a
# long-lived child holding it would block "stop" forever.
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 9>&-; then
        echo "$DISPLAY"; return 0
    fi
    local n; n=$(free_display)
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    echo $! > "$dir/xvfb.pid"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    echo ":$n"
}

quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

create_prefix() {
    [ -f "$WINEPREFIX/.orv-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    # No Mono or Gecko installers: Debian ships neither and they would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" quiet "$loader" wineboot --init || true
    [ -d "$WINEPREFIX/drive_c" ] || { echo "wine prefix could not be created" >&2; exit 1; }
    quiet "$server" -w
    touch "$WINEPREFIX/.orv-ready"
}

# Settings of the project's prefix; raise the number when they change, and
# prefixes made before get them at their next start.
settings_version=2
configure_prefix() {
    [ "$(cat "$WINEPREFIX/.orv-settings" 2>/dev/null)" = "$settings_version" ] && return 0
    # Arial and Times New Roman are drawn with the Liberation faces.
    local key='HKCU\Software\Wine\Fonts\Replacements'
    quiet "$loader" reg add "$key" /v "Arial" /t REG_SZ /d "Liberation Sans" /f
    quiet "$loader" reg add "$key" /v "Times New Roman" /t REG_SZ /d "Liberation Serif" /f
    # Unmanaged windows: Xvfb has no window manager, and Wine would wait two
    # seconds for one each time a visible window is destroyed.
    quiet "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    echo "$settings_version" > "$WINEPREFIX/.orv-settings"
}

case $action in
start)
    exec 9>"$dir/.lock"; flock 9
    [ -x "$loader" ] || { echo "Wine for $arch is not installed ($loader)" >&2; exit 1; }
    if [ -f "$env_file" ] && [ -f "$dir/users" ]; then
        # shellcheck source=/dev/null
        . "$env_file"
        if xdpyinfo >/dev/null 2>&1 9>&-; then
            echo $(( $(cat "$dir/users") + 1 )) > "$dir/users"
            echo "wine session shared: display $DISPLAY"
            exit 0
        fi
    fi
    display=$(start_display)
    export DISPLAY=$display
    create_prefix
    # Persistent wineserver and Wine's own services, with every output
    # detached so nothing holds ctest's pipes open.
    quiet setsid "$server" -p || true
    configure_prefix
    quiet "$loader" cmd /c exit || true
    cat > "$env_file" <<ENV
export WINEPREFIX='$WINEPREFIX'
export WINEARCH=$winearch
export WINEDEBUG=-all
export WINESERVER='$server'
export WINELOADER='$loader'
export DISPLAY='$display'
ENV
    echo 1 > "$dir/users"
    echo "wine session ready: $arch prefix $WINEPREFIX, display $display"
    ;;
stop)
    exec 9>"$dir/.lock"; flock 9
    users=$(cat "$dir/users" 2>/dev/null || echo 1)
    if [ "$users" -gt 1 ]; then
        echo $((users - 1)) > "$dir/users"
        echo "wine session kept for $((users - 1)) other run(s)"
        exit 0
    fi
    rm -f "$dir/users"
    # Services a test left running (see scripts/test-services/service.sh).
    "$(dirname "$0")/../test-services/service.sh" stop-all "$dir/services" || true
    quiet "$server" -k || true
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid"
    fi
    rm -f "$env_file"
    echo "wine session stopped"
    ;;
*)
    echo "$usage" >&2; exit 2 ;;
esac
