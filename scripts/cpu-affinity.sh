# shellcheck shell=bash
# Sourced by scripts/test.sh after scripts/common.sh.
#
# Nearly every Wine call is a round trip to the wineserver, and the suite
# makes a great many. With the caller on one CPU and the wineserver free to
# run on another, each trip wakes a CPU that has gone idle, which on a virtual
# machine means leaving the hypervisor's halt: the suite then spends most of
# its time waiting. On one CPU, a trip is a switch from one process to the
# other. On this project's 2-core build machine, with idle CPUs free to halt,
# the keyboard, random-walk, rule and hostile tests took 50 s on both CPUs
# and 13 s on one.

# cpu_pin_one: keeps this shell, and all it starts from now on, on one of the
# CPUs it may use, one that no other run of the suite on this machine holds
# (a lock in /dev/shm, which a run in a Debian root shares), for as long as
# the script runs. When every CPU is held, or only one may be used, nothing
# changes.
cpu_pin_one() {
    command -v taskset >/dev/null && command -v flock >/dev/null || return 0
    local allowed part cpu lockdir=/dev/shm
    [[ -d $lockdir && -w $lockdir ]] || lockdir=${TMPDIR:-/tmp}
    allowed=$(sed -n 's/^Cpus_allowed_list:[[:space:]]*//p' /proc/self/status)
    local -a cpus=()
    for part in ${allowed//,/ }; do
        if [[ $part == *-* ]]; then
            for ((cpu = ${part%-*}; cpu <= ${part#*-}; cpu++)); do cpus+=("$cpu"); done
        else
            cpus+=("$part")
        fi
    done
    ((${#cpus[@]} > 1)) || return 0
    for cpu in "${cpus[@]}"; do
        exec {CPU_LOCK_FD}>"$lockdir/tessary-cpu$cpu.lock" || continue
        if flock -n "$CPU_LOCK_FD"; then
            taskset -cp "$cpu" $$ >/dev/null || return 0
            say "keeping the tests on CPU $cpu of ${allowed} (scripts/cpu-affinity.sh)"
            return 0
        fi
        exec {CPU_LOCK_FD}>&-
    done
    say "every CPU is held by another run of the suite: the tests use them all"
}
