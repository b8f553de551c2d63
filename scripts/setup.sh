# Shared by scripts/run and scripts/test: installs the Debian packages that are missing and
# configures and builds one build folder. Sourced, not run.

TERQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

TERQ_PACKAGES=(
    build-essential g++ cmake ninja-build pkg-config
    libxml2-dev libwxgtk3.2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils fonts-dejavu-core locales tzdata
    desktop-file-utils appstream dpkg-dev file lintian
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: '$*' needs root; run this script as root or install sudo" >&2
        return 1
    fi
}

install_missing_packages() {
    local missing=() p
    for p in "${TERQ_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# Tests check number formatting under a locale whose decimal separator is a comma.
ensure_comma_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
        echo "== generating the ru_RU.UTF-8 locale"
        if [ -f /etc/locale.gen ] && grep -q 'ru_RU.UTF-8' /etc/locale.gen; then
            as_root sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
            as_root locale-gen >/dev/null
        else
            as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
        fi
    fi
}

# configure_and_build BUILD_DIR BUILD_TYPE [cmake options...]
configure_and_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$TERQ_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
