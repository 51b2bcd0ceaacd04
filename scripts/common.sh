# Shared by scripts/run and scripts/test: package installation and the build.
set -euo pipefail

CORVEX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CORVEX_BUILD="${CORVEX_BUILD:-$CORVEX_ROOT/build}"

corvex_missing_packages() {
    local missing=()
    while read -r pkg; do
        [ -z "$pkg" ] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done <"$CORVEX_ROOT/scripts/packages.txt"
    echo "${missing[@]:-}"
}

corvex_install_packages() {
    local missing
    missing="$(corvex_missing_packages)"
    [ -z "$missing" ] && return 0
    echo "Installing build packages: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing </dev/null
}

corvex_build() {
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    [ -n "${CORVEX_WERROR:-}" ] && werror="$CORVEX_WERROR"
    cmake -S "$CORVEX_ROOT" -B "$CORVEX_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVEX_WERROR="$werror" >/dev/null
    cmake --build "$CORVEX_BUILD" -j "$(nproc)"
}
