# Sourced by the scripts: where the repository is, the package check, and
# configuring and building one build directory.

SOLBRIM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Two cores are shared by everything on the machine.
SOLBRIM_JOBS=${SOLBRIM_JOBS:-2}

# shellcheck source=scripts/deps
source "$SOLBRIM_ROOT/scripts/deps"

step() { printf '\n==> %s\n' "$*"; }

die() {
    printf '%s\n' "$*" >&2
    exit 1
}

# "1m 05s" for a number of seconds.
format_duration() {
    local s=$1
    if ((s >= 60)); then
        printf '%dm %02ds' $((s / 60)) $((s % 60))
    else
        printf '%ds' "$s"
    fi
}

# configure DIR BUILD_TYPE [cmake options...]
configure() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$SOLBRIM_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
}

# The build tool's keep-going flag, for the generator the directory uses.
keep_going_flag() {
    if grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja' "$1/CMakeCache.txt" 2>/dev/null; then
        echo "-k0"
    else
        echo "-k"
    fi
}

# build DIR [targets...]: goes on past a failing target, so one broken file
# does not hide every other result; the status still tells the failure.
build() {
    local dir=$1
    shift
    local -a targets=()
    local t
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j "$SOLBRIM_JOBS" "${targets[@]}" -- "$(keep_going_flag "$dir")"
}
