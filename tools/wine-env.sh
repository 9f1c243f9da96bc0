#!/usr/bin/env bash
# The environment the Windows tests run in, kept inside one build folder: a Wine prefix, a virtual
# display (Xvfb) and a private PulseAudio with a null sink, so waveOut has devices on a machine with
# no screen and no sound card.
#
#   tools/wine-env.sh start  BUILD_DIR          prepares the prefix once, starts the servers (idempotent)
#   tools/wine-env.sh run    BUILD_DIR CMD...   runs CMD inside it (ctest's emulator: run BUILD_DIR wine EXE)
#   tools/wine-env.sh status BUILD_DIR          says whether it is up
#   tools/wine-env.sh stop   BUILD_DIR          stops what start started, and only that
#
# start writes BUILD_DIR/wine-env.sh, which can be sourced by hand (DISPLAY, WINEPREFIX, PULSE_SERVER, ...).
# Processes are recorded by pid and checked by name before any signal, so a recycled pid is never hit.
set -euo pipefail

readonly SINK=tintal_null
readonly DLL_OVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"  # no Mono or Gecko prompt, no desktop menus

say() { echo "wine-env: $*" >&2; }
die() {
    say "$*"
    exit 2
}

usage() {
    sed -n '6,9s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

# Sets the paths of the environment of build folder $1 (created when $2 is "create").
locate() {
    local dir=$1
    if [[ ${2:-} == create ]]; then
        mkdir -p "$dir"
    elif [[ ! -d $dir ]]; then
        die "no build folder $dir"
    fi
    BUILD=$(cd "$dir" && pwd -P)
    STATE=$BUILD/wine-env.d
    ENV_FILE=$BUILD/wine-env.sh
    PREFIX=$BUILD/wineprefix
}

# True when pid $1 is a live (not zombie) process whose command name starts with $2.
alive() {
    local pid=$1 name=$2 comm state
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    comm=$(cat "/proc/$pid/comm" 2>/dev/null) || return 1
    [[ $comm == "$name"* ]] || return 1
    state=$(sed -E 's/^.*\) (.).*$/\1/' "/proc/$pid/stat" 2>/dev/null) || return 1
    [[ $state != Z ]]
}

# Starts "$@" detached from this shell and its terminal; prints its pid. The pid is written by the
# process itself before it execs, so it is right whether setsid forks or not.
spawn() {
    local log=$1 pidfile
    shift
    pidfile=$(mktemp "$STATE/pid.XXXXXX")
    # shellcheck disable=SC2016  # $$ and $@ belong to the inner shell
    setsid sh -c 'echo $$ >"$0"; exec "$@"' "$pidfile" "$@" </dev/null >>"$log" 2>&1 &
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -s $pidfile ]] && break
        sleep 0.05
    done
    cat "$pidfile"
    rm -f "$pidfile"
}

# Sends TERM to pid $1 if it is still $2, then KILL after 5 s.
terminate() {
    local pid=$1 name=$2 i
    alive "$pid" "$name" || return 0
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        alive "$pid" "$name" || return 0
        sleep 0.1
    done
    say "$name ($pid) ignored TERM; killing it"
    kill -KILL "$pid" 2>/dev/null || true
}

wine_env() { env WINEPREFIX="$PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="$DLL_OVERRIDES" "$@"; }

pulse_env() {
    env XDG_RUNTIME_DIR="$PULSE_RUNTIME" PULSE_SERVER="unix:$PULSE_RUNTIME/pulse/native" \
        PULSE_CLIENTCONFIG="$STATE/pulse-client.conf" PULSE_COOKIE="$STATE/pulse-cookie" "$@"
}

start_xvfb() {
    local n pid i
    mkdir -p /tmp/.X11-unix 2>/dev/null || true
    for ((n = 90; n < 300; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        pid=$(spawn "$STATE/xvfb.log" Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset)
        # Another server may take the same number between the probe and the start: then try the next.
        for ((i = 0; i < 100; i++)); do
            alive "$pid" Xvfb || break
            if [[ -S /tmp/.X11-unix/X$n ]]; then
                XVFB_PID=$pid
                DISPLAY_NUMBER=$n
                return 0
            fi
            sleep 0.1
        done
        terminate "$pid" Xvfb
    done
    die "Xvfb did not start (see $STATE/xvfb.log)"
}

start_pulse() {
    # A unix socket path must stay under 108 bytes: a deep build folder gets a short private folder in /tmp.
    PULSE_RUNTIME=$STATE/run
    if ((${#PULSE_RUNTIME} > 80)); then
        PULSE_RUNTIME=$(mktemp -d /tmp/tintal-pulse.XXXXXX)
    fi
    mkdir -p "$PULSE_RUNTIME/pulse" "$STATE/pulse-state" "$STATE/pulse-config"
    chmod 700 "$PULSE_RUNTIME" "$PULSE_RUNTIME/pulse"
    # No autospawn: a client must never start a second, unrecorded server when this one is gone.
    printf 'autospawn = no\n' >"$STATE/pulse-client.conf"

    PULSE_PID=$(spawn "$STATE/pulse.log" env XDG_RUNTIME_DIR="$PULSE_RUNTIME" PULSE_STATE_PATH="$STATE/pulse-state" \
        XDG_CONFIG_HOME="$STATE/pulse-config" \
        pulseaudio --daemonize=no --use-pid-file=no --exit-idle-time=-1 --realtime=no --high-priority=no -n \
        --load="module-native-protocol-unix socket=$PULSE_RUNTIME/pulse/native auth-anonymous=1 auth-cookie-enabled=0" \
        --load="module-null-sink sink_name=$SINK")
    local i
    for ((i = 0; i < 100; i++)); do
        alive "$PULSE_PID" pulseaudio || break
        if pulse_env pactl info >/dev/null 2>&1; then
            pulse_env pactl set-default-sink "$SINK" || die "cannot make $SINK the default sink"
            return 0
        fi
        sleep 0.1
    done
    die "PulseAudio did not answer (see $STATE/pulse.log)"
}

# Creates the prefix once; an interrupted creation (no marker) is started over.
prepare_prefix() {
    if [[ -f $PREFIX/.tintal-ready ]]; then
        PREFIX_STATE=reused
        return 0
    fi
    [[ $PREFIX == "$BUILD/wineprefix" ]] || die "unexpected prefix path $PREFIX"
    rm -rf "$PREFIX"
    wine_env wine wineboot -i >>"$STATE/wineboot.log" 2>&1 || die "wineboot failed (see $STATE/wineboot.log)"
    # The transient server writes the registry when it exits.
    wine_env wineserver -w
    touch "$PREFIX/.tintal-ready"
    PREFIX_STATE=created
}

# A persistent server for the prefix, so each test program does not pay for a Wine start-up.
start_wineserver() {
    # A server left by someone else on this prefix ends by itself once its programs are done.
    if ! timeout 60 env WINEPREFIX="$PREFIX" wineserver -w; then
        die "another wineserver keeps running on $PREFIX"
    fi
    WINESERVER_PID=$(spawn "$STATE/wineserver.log" env WINEPREFIX="$PREFIX" wineserver -f -p)
    # Starting the system processes (services, devices, desktop) now keeps that cost out of the first test.
    wine_env wine wineboot >>"$STATE/wineboot.log" 2>&1 || die "wine does not start (see $STATE/wineboot.log)"
    alive "$WINESERVER_PID" wineserver || die "wineserver did not stay up (see $STATE/wineserver.log)"
}

write_env_file() {
    local tmp
    tmp=$(mktemp "$BUILD/.wine-env.XXXXXX")
    cat >"$tmp" <<EOF
# Written by tools/wine-env.sh start; removed by stop. Source it to run Windows programs of this build.
export WINEPREFIX='$PREFIX'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='$DLL_OVERRIDES'
export DISPLAY=':$DISPLAY_NUMBER'
export XDG_RUNTIME_DIR='$PULSE_RUNTIME'
export PULSE_SERVER='unix:$PULSE_RUNTIME/pulse/native'
export PULSE_CLIENTCONFIG='$STATE/pulse-client.conf'
export PULSE_COOKIE='$STATE/pulse-cookie'
export TINTAL_PULSE_SINK='$SINK'
TINTAL_XVFB_PID=$XVFB_PID
TINTAL_PULSE_PID=$PULSE_PID
TINTAL_WINESERVER_PID=$WINESERVER_PID
TINTAL_PULSE_RUNTIME='$PULSE_RUNTIME'
EOF
    chmod 644 "$tmp"
    mv "$tmp" "$ENV_FILE"
}

# Loads the env file; fails when there is none or when one of its servers is gone.
load_env() {
    [[ -f $ENV_FILE ]] || return 1
    # shellcheck disable=SC1090
    source "$ENV_FILE"
    alive "$TINTAL_XVFB_PID" Xvfb && alive "$TINTAL_PULSE_PID" pulseaudio &&
        alive "$TINTAL_WINESERVER_PID" wineserver
}

# Wine programs outlive a server that was killed hard, and wineserver -k no longer reaches them. The
# prefix belongs to this build folder, so a Wine process running on it was started through this
# environment: end those, and only those.
sweep_prefix() {
    local dir pid exe
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        exe=$(readlink "$dir/exe" 2>/dev/null) || continue
        [[ ${exe##*/} == wine* ]] || continue
        tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$PREFIX" || continue
        say "ending $(cat "$dir/comm" 2>/dev/null) ($pid), left on $PREFIX"
        kill -KILL "$pid" 2>/dev/null || true
    done
}

# Stops the recorded processes that are still there and forgets them.
stop_recorded() {
    [[ -f $ENV_FILE ]] || return 0
    local TINTAL_XVFB_PID="" TINTAL_PULSE_PID="" TINTAL_WINESERVER_PID="" TINTAL_PULSE_RUNTIME=""
    # shellcheck disable=SC1090
    source "$ENV_FILE"
    # Ends the Wine programs still running on this prefix (test leftovers, system processes), then the server.
    env WINEPREFIX="$PREFIX" wineserver -k >/dev/null 2>&1 || true
    terminate "$TINTAL_WINESERVER_PID" wineserver
    sweep_prefix
    terminate "$TINTAL_PULSE_PID" pulseaudio
    terminate "$TINTAL_XVFB_PID" Xvfb
    if [[ $TINTAL_PULSE_RUNTIME == /tmp/tintal-pulse.* ]]; then
        rm -rf "$TINTAL_PULSE_RUNTIME"
    fi
    rm -rf "$STATE/run"
    rm -f "$ENV_FILE"
}

# Runs this command again under the build folder's lock, so two starts or a start and a stop cannot
# interleave. flock -o holds it in its own process: the servers started under it must not inherit
# the lock, or it would stay taken as long as they live.
locked() {
    if [[ ${TINTAL_WINE_ENV_LOCKED:-} == "$BUILD" ]]; then
        unset TINTAL_WINE_ENV_LOCKED  # not for the programs started from here
        return 0
    fi
    TINTAL_WINE_ENV_LOCKED=$BUILD exec flock -o "$STATE/lock" "$0" "$1" "$BUILD"
}

cmd_start() {
    locate "$1" create
    mkdir -p "$STATE"
    locked start
    if load_env; then
        say "already running for $BUILD (display $DISPLAY)"
        return 0
    fi
    stop_recorded  # whatever is left of an earlier environment that half died
    for tool in wine wineserver Xvfb pulseaudio pactl setsid flock; do
        command -v "$tool" >/dev/null || die "$tool is missing (tools/install-deps.sh windows)"
    done
    local started=$SECONDS
    XVFB_PID="" PULSE_PID="" WINESERVER_PID=""
    # Stops whatever this attempt started if a later step fails.
    trap 'rollback' EXIT
    : >"$STATE/xvfb.log"
    : >"$STATE/pulse.log"
    : >"$STATE/wineboot.log"
    : >"$STATE/wineserver.log"
    start_xvfb
    start_pulse
    export DISPLAY=":$DISPLAY_NUMBER"
    pulse_exports
    prepare_prefix
    start_wineserver
    write_env_file
    trap - EXIT
    say "ready in $((SECONDS - started)) s for $BUILD (display :$DISPLAY_NUMBER, sink $SINK, prefix $PREFIX_STATE)"
}

# Wine's sound driver finds the private server through these.
pulse_exports() {
    export XDG_RUNTIME_DIR="$PULSE_RUNTIME" PULSE_SERVER="unix:$PULSE_RUNTIME/pulse/native"
    export PULSE_CLIENTCONFIG="$STATE/pulse-client.conf" PULSE_COOKIE="$STATE/pulse-cookie"
}

rollback() {
    local status=$?
    say "start failed; stopping what it started"
    if alive "${WINESERVER_PID:-}" wineserver; then
        env WINEPREFIX="$PREFIX" wineserver -k >/dev/null 2>&1 || true
        terminate "$WINESERVER_PID" wineserver
    fi
    sweep_prefix
    terminate "${PULSE_PID:-}" pulseaudio
    terminate "${XVFB_PID:-}" Xvfb
    [[ ${PULSE_RUNTIME:-} == /tmp/tintal-pulse.* ]] && rm -rf "$PULSE_RUNTIME"
    exit "$status"
}

cmd_stop() {
    locate "$1"
    [[ -d $STATE ]] || return 0
    locked stop
    if [[ ! -f $ENV_FILE ]]; then
        say "not running for $BUILD"
        return 0
    fi
    stop_recorded
    say "stopped for $BUILD"
}

cmd_status() {
    locate "$1"
    if load_env; then
        say "running for $BUILD (display $DISPLAY, Xvfb $TINTAL_XVFB_PID, pulseaudio $TINTAL_PULSE_PID, wineserver $TINTAL_WINESERVER_PID)"
    else
        say "not running for $BUILD"
        return 1
    fi
}

cmd_run() {
    locate "$1"
    shift
    (($# > 0)) || usage
    if ! load_env; then
        if [[ -f $ENV_FILE ]]; then
            die "the Windows test environment of $BUILD has stopped; restart it: tools/wine-env.sh stop $BUILD && tools/wine-env.sh start $BUILD"
        fi
        die "the Windows test environment of $BUILD is not started; first run: tools/wine-env.sh start $BUILD"
    fi
    exec "$@"
}

(($# >= 2)) || usage
command=$1
shift
case $command in
    start) cmd_start "$1" ;;
    stop) cmd_stop "$1" ;;
    status) cmd_status "$1" ;;
    run) cmd_run "$@" ;;
    *) usage ;;
esac
