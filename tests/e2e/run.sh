#!/usr/bin/env bash
# Runs one end-to-end scenario: run.sh AMPWATCH_EXE AMPCTL_EXE SCENARIO_SCRIPT
# The scenario gets a private mount namespace, so its simulated battery and
# its Wine prefix overlay are invisible to everything else on the machine.
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 AMPWATCH_EXE AMPCTL_EXE SCENARIO_SCRIPT" >&2
    exit 2
fi
if [ -z "${AMPWATCH_E2E_PRIVATE:-}" ]; then
    AMPWATCH_E2E_PRIVATE=1 exec unshare -m --propagation private bash "$0" "$@"
fi
export E2E_EXE=$(realpath "$1") E2E_CTL=$(realpath "$2")
export E2E_SCRIPT=$(realpath "$3")
exec bash "$E2E_SCRIPT"
