# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the shell tests, which define fail MESSAGE.
#
#   wait_for SECONDS COMMAND [ARGS...]
#
# Runs COMMAND every 0.05 s, quietly, until it succeeds. At the deadline it runs COMMAND once
# more with its output shown, so that it can say what it found, and fails the test.
wait_for() {
    local seconds=$1 end
    shift
    end=$((${EPOCHREALTIME//[^0-9]/} + seconds * 1000000))
    until "$@" >/dev/null 2>&1; do
        if [ "${EPOCHREALTIME//[^0-9]/}" -ge "$end" ]; then
            "$@" && return 0
            fail "waited $seconds s in vain for: $*"
        fi
        sleep 0.05
    done
}
