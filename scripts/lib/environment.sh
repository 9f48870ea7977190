# Shared by scripts/test, scripts/run and scripts/bench: build, a display, and a Wine prefix.
# Sourcing scripts call kww_build, kww_start_display and kww_start_wine; kww_stop_all (run on
# exit) stops every process they started, by its id.

KWW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
KWW_BUILD="${BUILD_DIR:-$KWW_ROOT/build}"
case "$KWW_BUILD" in /*) ;; *) KWW_BUILD="$KWW_ROOT/$KWW_BUILD" ;; esac
export WINEPREFIX="$KWW_BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine writes Windows names to the disk in the locale's character set. Under the bare C locale of
# a machine without LANG a name outside ASCII cannot be made at all, so a UTF-8 one is chosen.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
    *.UTF-8 | *.utf8 | *.UTF8 | *.utf-8) ;;
    *) export LC_ALL=C.UTF-8 ;;
esac

kww_pids=()

kww_wineserver_pid=""

kww_stop_all() {
    local pid
    # The prefix's own processes (services, devices, explorer) belong to our wineserver: ask it
    # to end them and itself, then make sure every process we started is gone.
    if [ -n "$kww_wineserver_pid" ] && kill -0 "$kww_wineserver_pid" 2>/dev/null; then
        wineserver -k 2>/dev/null || true
    fi
    for ((i = ${#kww_pids[@]} - 1; i >= 0; i--)); do
        pid="${kww_pids[i]}"
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    kww_pids=()
}

kww_build() {
    "$KWW_ROOT/scripts/setup"
    local generator=()
    [ -f "$KWW_BUILD/CMakeCache.txt" ] || generator=(-G Ninja)
    cmake -S "$KWW_ROOT" -B "$KWW_BUILD" "${generator[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$KWW_ROOT/cmake/mingw-w64-i686.cmake" >/dev/null
    # BUILD_TARGETS="a b" builds only those targets (and what they need).
    local targets=()
    for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
    cmake --build "$KWW_BUILD" --parallel "${targets[@]}" "$@"
}

# Runs the command in place of this shell without root's rights to bypass file permissions and
# to change what it does not own, so that read-only files and folders and other users' files stop
# it as they stop a user. Root keeps its other rights (mounting, for the tests that mount small
# file systems). A user runs it as is.
kww_exec_as_user() {
    if [ "$(id -u)" != 0 ]; then
        exec "$@"
    fi
    # A Wine server started with full rights would open files for its clients with them.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    exec capsh --drop=cap_dac_override,cap_dac_read_search,cap_fowner -- -c 'exec "$0" "$@"' "$@"
}

# Starts Xvfb on a free display unless one is set already; KWW_SCREEN gives its size (1280x1024x24).
kww_start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local number_file
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${KWW_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    kww_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        sleep 0.1
    done
    [ -s "$number_file" ] || { echo "Xvfb did not start" >&2; rm -f "$number_file"; return 1; }
    export DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
}

# Keeps one wineserver alive for the whole run and makes the 32-bit prefix on first use.
kww_start_wine() {
    mkdir -p "$WINEPREFIX"
    wineserver -f -p >/dev/null 2>&1 &
    kww_wineserver_pid=$!
    kww_pids+=($!)
    if [ ! -f "$WINEPREFIX/.kww-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        touch "$WINEPREFIX/.kww-ready"
    else
        # Start the prefix's services here, away from ctest: a service started by a test would
        # inherit the test's output pipe and keep ctest waiting for it to close.
        wineboot >/dev/null 2>&1
    fi
    # With no window manager on Xvfb, Wine waits about 2 s for one whenever a visible top-level
    # window is hidden or destroyed; unmanaged windows need no answer.
    if [ ! -f "$WINEPREFIX/.kww-unmanaged" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        touch "$WINEPREFIX/.kww-unmanaged"
    fi
    # Debian's Wine 8 looks for its own fonts (fonts-wine) under a name it cannot open
    # ("Z:\usr\share\wine\../fonts") and never finds them: the title bar's buttons (Marlett) are
    # then drawn as letters and the caption and message font (Tahoma) is a stand-in. It does read
    # the prefix's Fonts folder, so they are linked there: the TrueType ones only. The bitmap MS
    # Sans Serif has no size for 200 %, where the dialog would then grow by half while the list's
    # text doubles.
    if [ ! -f "$WINEPREFIX/.kww-fonts" ] && [ -d /usr/share/wine/fonts ]; then
        ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        touch "$WINEPREFIX/.kww-fonts"
    fi
}
