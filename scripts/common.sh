# Shared by scripts/run and scripts/test: installs the missing Debian packages, then configures
# and builds one preset (all its targets, or the ones named). Sourced, not run.
set -euo pipefail

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Servono i permessi di root (o sudo) per installare: $*" >&2
        exit 1
    fi
}

install_packages() {
    local wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$root_dir/scripts/packages.txt")
    for p in $wanted; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

#   build_preset PRESET [clean] [TARGET...]
build_preset() {
    local preset=$1 clean=${2:-}
    shift $(($# < 2 ? $# : 2))
    cd "$root_dir"
    if [ "$clean" = clean ]; then
        rm -rf "build/$preset"
    fi
    cmake --preset "$preset" >/dev/null
    if [ $# -gt 0 ]; then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}
