# shellcheck shell=bash
# Sourced by scripts/test.sh after scripts/common.sh.
#
# Nearly every Wine call is a round trip to the wineserver, another process,
# and the suite makes a great many. On a virtual machine whose idle CPUs halt,
# each trip waits for a halted CPU to be woken. The kernel's PM QoS request for
# a wake-up latency of zero (/dev/cpu_dma_latency, in force while the file is
# open) keeps idle CPUs polling instead, where the kernel has idle states to
# choose from (a cpuidle driver other than none). Opening it needs root. With
# the tests on one CPU (cpu-affinity.sh) few trips wait at all, and the
# request saves little: 39 s against 41 to 43 s on a 2-core VM.

# cpu_latency_hold: makes the request for as long as this script runs, unless
# TESSARY_CPU_LATENCY=off (to measure the suite as a machine without it runs).
cpu_latency_hold() {
    local owner=$$
    if [[ ${TESSARY_CPU_LATENCY:-} == off ]]; then
        say "idle CPUs may halt (TESSARY_CPU_LATENCY=off)"
        return 0
    fi
    if [[ ! -w /dev/cpu_dma_latency ]]; then
        say "idle CPUs may halt (/dev/cpu_dma_latency is not writable): the tests run slower"
        return 0
    fi
    say "keeping idle CPUs awake while the tests run (/dev/cpu_dma_latency)"
    # A process of its own holds the file, so that the Wine processes do not
    # inherit it; it ends within a second of this script, however that ends.
    (printf 0 >&3 && exec tail --pid="$owner" -f /dev/null) 3>/dev/cpu_dma_latency \
        </dev/null >/dev/null 2>&1 &
}
