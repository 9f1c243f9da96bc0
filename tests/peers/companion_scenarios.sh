#!/usr/bin/env bash
# The clock with a companion program of another author, in two processes: the real clock program
# (tintal.exe under Wine, or the Linux tintal) and companion_protocol_peer, written from the protocol
# alone. Each scenario runs REPEATS times in a row (default 20; COMPANION_REPEATS in the environment
# overrides it) and must pass every time.
#
#   companion_scenarios.sh wine  BUILD_DIR TINTAL_EXE PEER_EXE PRESS_EXE [REPEATS]
#   companion_scenarios.sh linux BUILD_DIR TINTAL      PEER       -         [REPEATS]
#
# Two clocks are used: one whose announcements say nothing (they end at once), and one whose
# announcements only wait a few seconds (the pause before the cuckoo), so that a companion can speak
# during them. On Linux the clock cannot be pressed from outside: the scenarios that need an
# announcement the clock starts by itself run on Windows only.
set -euo pipefail
system=$1 build=$2 clock_exe=$3 peer_exe=$4 press_exe=$5 repeats=${COMPANION_REPEATS:-${6:-20}}
readonly PAUSE_S=${COMPANION_SCENARIO_PAUSE_S:-3}

if [[ $system == wine ]]; then
    # shellcheck disable=SC1090
    source "$build/wine-env.sh"
    run() { wine "$@"; }
else
    run() { "$@"; }
fi

work=$(mktemp -d "$build/companion-scenarios.XXXXXX")
clock_pid=
# Only what this script started is stopped.
stop_clock() {
    [[ -n $clock_pid ]] || return 0
    if [[ $system == wine ]]; then
        wine taskkill /IM "$(basename "$clock_exe")" >/dev/null 2>&1 || true
    else
        kill -TERM "$clock_pid" 2>/dev/null || true
    fi
    for ((i = 0; i < 100; i++)); do
        kill -0 "$clock_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$clock_pid" 2>/dev/null || true
    wait "$clock_pid" 2>/dev/null || true
    clock_pid=
}
trap 'stop_clock; rm -rf "$work"' EXIT

# The objects: under Wine the real names, in this build's own prefix; on Linux a private set of
# names (the real ones followed by a suffix), so a companion running on the machine is not disturbed.
suffix_args=()
if [[ $system == linux ]]; then
    export TINTAL_COMPANION_SUFFIX=_scenarios_$$
    suffix_args=(--suffix "$TINTAL_COMPANION_SUFFIX")
    trap 'stop_clock; rm -rf "$work"; rm -f /dev/shm/QUILVEN*"$TINTAL_COMPANION_SUFFIX"' EXIT
fi
peer() {
    local log=$1
    shift
    run "$peer_exe" "${suffix_args[@]}" "$@" >"$log" 2>&1
}

# Starts a clock in folder $1 whose tintal.ini holds the lines $2..., while a peer already waits for
# its "TINTAL connecté" (the start scenario).
start_clock() {
    local folder=$work/$1
    shift
    mkdir -p "$folder"
    {
        printf '[TINTAL V2.4.0]\r\n'
        printf '%s\r\n' VERSTART=0 COM=0 TINTAL=N DATE=N ILEST=N HEURE=N "$@"
    } >"$folder/tintal.ini"
    local log=$folder/start.log
    peer "$log" "expect:TINTAL connecté@60000" &
    local peer_pid=$!
    for ((i = 0; i < 200; i++)); do
        grep -q ' = ready' "$log" 2>/dev/null && break
        sleep 0.05
    done
    if [[ $system == wine ]]; then
        cp "$clock_exe" "$folder/tintal.exe"
        (cd "$folder" && exec wine tintal.exe >/dev/null 2>&1) &
    else
        "$clock_exe" --dir "$folder" --silent >/dev/null 2>&1 &
    fi
    clock_pid=$!
    if ! wait "$peer_pid"; then
        echo "start: the peer did not see \"TINTAL connecté\""
        cat "$log"
        return 1
    fi
    # The exact bytes: length 15, then "TINTAL connect" and 0xE9, as the peer compared them.
    grep -q '< TINTAL connecté.\?$' "$log"
    # READY once the clock has loaded its settings and can announce.
    peer "$folder/ready.log" send:TINTAL_HELLO expect:TINTAL_READY@10000
}

press() {
    run "$press_exe"
}

declare -A passed
fail_scenario() {
    echo "scenario $1, run $2 failed:"
    cat "$3"
    exit 1
}

# Runs scenario function $1 REPEATS times in a row.
repeat() {
    local name=$1 n
    for ((n = 1; n <= repeats; n++)); do
        local log=$work/$name.$n.log
        "$name" "$log" || fail_scenario "$name" "$n" "$log"
    done
    passed[$name]=$repeats
    echo "$name: $repeats/$repeats in a row"
}

# HELLO, READY, then PLAY the instant READY was read, and DONE: 20 rounds without a pause.
rounds() {
    local steps=() i
    for ((i = 0; i < 20; i++)); do
        steps+=(send:TINTAL_HELLO expect:TINTAL_READY@5000 send:TINTAL_PLAY expect:TINTAL_DONE@5000)
    done
    peer "$1" "${steps[@]}"
}

# On an idle clock: HELLO then PLAY 30 ms later; whatever came of it, a HELLO two seconds later is
# answered.
hello_then_play_idle() {
    peer "$1" send:TINTAL_HELLO sleep:30 send:TINTAL_PLAY sleep:2000 send:TINTAL_HELLO expect:TINTAL_READY@5000
}

# The same while the announcement it starts still runs: the HELLO finds it busy, the listener ends,
# and the announcement's end brings it back: DONE, then a HELLO is answered.
hello_then_play_busy() {
    peer "$1" send:TINTAL_HELLO sleep:30 send:TINTAL_PLAY expect:TINTAL_OCCUPIED@5000 \
        "expect:TINTAL_DONE@$((PAUSE_S * 1000 + 5000))" sleep:2000 send:TINTAL_HELLO expect:TINTAL_READY@5000
}

# A self-started announcement: HELLO is OCCUPIED, then the reconnect, then HELLO is READY.
occupied_then_reconnect() {
    press
    peer "$1" send:TINTAL_HELLO expect:TINTAL_OCCUPIED@5000 "expect:TINTAL déconnecté@$((PAUSE_S * 1000 + 5000))" \
        "expect:TINTAL connecté@5000" send:TINTAL_HELLO expect:TINTAL_READY@5000
}

# One message holding HELLO and PLAY during a self-started announcement: OCCUPIED, and the PLAY is
# not acted on (the end reconnects rather than answering DONE).
hello_and_play_together_busy() {
    press
    peer "$1" "send:TINTAL_HELLO TINTAL_PLAY" expect:TINTAL_OCCUPIED@5000 \
        "expect:TINTAL déconnecté@$((PAUSE_S * 1000 + 5000))" "expect:TINTAL connecté@5000" sleep:2000 \
        send:TINTAL_HELLO expect:TINTAL_READY@5000
}

# The peer holds the mutex 10 s while a self-started announcement ends: the clock's sends go ahead
# after 3 s each, and a HELLO once the mutex is free is answered.
mutex_held_at_the_end() {
    press
    peer "$1" sleep:500 hold:10000 send:TINTAL_HELLO expect:TINTAL_READY@8000
}

# The companion's reaction times: READY read to PLAY written, from the peer's own log.
reaction_report() {
    awk '{ sub(/\r$/, "") } $2 == "<" && $3 == "TINTAL_READY" { t = $1 } $2 == ">" && $3 == "TINTAL_PLAY" && t != "" {
             d = $1 - t; if (d > max) max = d; n++; t = "" }
         END { printf "PLAY after READY: %d rounds, at most %.1f ms\n", n, max }' "$work"/rounds.*.log
}

start_repeat() {
    local n
    for ((n = 1; n <= repeats; n++)); do
        stop_clock
        start_clock "start$n" PAUSE=0 || exit 1
    done
    passed[start]=$repeats
    echo "start: $repeats/$repeats in a row"
}

start_repeat
# The clock of the last start says nothing: its announcements end at once.
repeat rounds
reaction_report
repeat hello_then_play_idle
stop_clock

start_clock busy "PAUSE=$PAUSE_S"
repeat hello_then_play_busy
if [[ $system == wine ]]; then
    repeat occupied_then_reconnect
    repeat hello_and_play_together_busy
    repeat mutex_held_at_the_end
fi
# The clock still listens after every scenario.
peer "$work/last.log" send:TINTAL_HELLO expect:TINTAL_READY@5000 || fail_scenario last 1 "$work/last.log"
stop_clock
echo "all scenarios passed"
