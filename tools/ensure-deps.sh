#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the demo need and this machine lacks.
# Sourced by ./run and ./test; prints nothing when everything is there.
vortana_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev                # Qt 6 Core and Widgets, Test, the offscreen platform
    libgtest-dev libgmock-dev   # GoogleTest under CTest
    fonts-arphic-uming          # AR PL UMing CN: stands in for the windows' Chinese Song face
    fonts-noto-cjk              # the fixed-pitch face of the hex views
    qt6-translations-l10n       # Qt's own texts (box buttons, file dialog, menus) in Chinese
    desktop-file-utils          # desktop-file-validate: the install test checks the desktop entry
    xvfb xauth                  # screenshots of the main window
    srecord                     # srec_cat: reference S-record files for loader tests and benchmarks
    clang libclang-rt-14-dev    # libFuzzer and the sanitizer runtimes
    clang-format-14             # the sources' format, checked by ./test
    help2man                    # the manual pages of vortana-cli and vortana-sim, from their --help
    libpq-dev                   # PostgreSQL's client library: the serial database (--serial-db)
    postgresql-15               # the private server the database tests and benchmark start
)
# The Windows build and its tests (./test --windows): a cross compiler with std::thread, Wine to
# run the programs, socat to join two pseudo-terminals into a null-modem pair. A machine where
# they cannot be installed still builds and tests everything else.
vortana_windows_packages=(
    g++-mingw-w64-x86-64-posix
    wine64
    socat
)
# The window for Windows, built where Qt for Windows is (tools/build-qt-windows): ImageMagick
# makes its icon, xdotool and xwininfo drive it on Xvfb, unzip opens the release.
vortana_windows_window_packages=(
    imagemagick
    xdotool x11-utils
    unzip
)

# Installs what is missing of the packages named as arguments; prints nothing when none is.
vortana_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

vortana_ensure_deps() {
    vortana_install_missing "${vortana_packages[@]}"
}

# True when the Windows build's tools are there, after trying to install them.
vortana_ensure_windows_deps() {
    vortana_install_missing "${vortana_windows_packages[@]}" >&2 || true
    command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ] &&
        command -v socat >/dev/null
}
