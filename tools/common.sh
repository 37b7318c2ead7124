# Shared by the README's commands: installs what is missing, builds the trees, makes Wine prefixes,
# starts a display.
# Sourced, not run.

ZZ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZZ_BUILD=${ZZ_BUILD_DIR:-$ZZ_ROOT/build}

ZZ_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest python3
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64 xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
    locales zip unzip sox python3-pil librsvg2-bin)
# tools/make_media's npm client: Debian's, unless a Node.js install brings its own (NodeSource's
# nodejs package conflicts with Debian's npm).
command -v npm >/dev/null 2>&1 || ZZ_PACKAGES+=(npm)

# With the seconds since the command started, so that a CI log shows where the time goes.
zz_log() { printf '== %s (%d s)\n' "$*" "$SECONDS" >&2; }

zz_install_packages() {
    local missing=() pkg
    for pkg in "${ZZ_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    zz_log "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Wine takes its code page from the locale, and without a generated locale it cannot even
# name a file with Japanese characters: the tests run in both of these.
zz_generate_locales() {
    local locale
    for locale in ja_JP en_US; do
        locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$" && continue
        zz_log "generating the $locale.UTF-8 locale"
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    done
}

# zz_build_tree NAME [cmake options...]: configures once, then builds incrementally.
zz_build_tree() {
    local name=$1
    shift
    local dir=$ZZ_BUILD/$name
    if [ ! -f "$dir/build.ninja" ]; then
        zz_log "configuring $name"
        cmake -S "$ZZ_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    fi
    zz_log "building $name"
    cmake --build "$dir" -- -j"$(nproc)" 2>&1 | sed '/^\[/d'
    return "${PIPESTATUS[0]}"
}

# The native unit tests run in the sanitized tree only: it is optimised like a plain one, and a
# plain tree doubled the build time without a test that only it could fail.
zz_build_all() {
    zz_build_tree asan -DZZ_SANITIZE=ON
    zz_build_tree win -DCMAKE_TOOLCHAIN_FILE="$ZZ_ROOT/cmake/mingw-w64-x86_64.cmake"
    zz_build_fuzz fuzz
    # One CTest summary over the three trees.
    printf 'subdirs("asan" "win" "fuzz")\n' >"$ZZ_BUILD/CTestTestfile.cmake"
}

# zz_build_fuzz NAME: the libFuzzer targets alone, with clang, whatever compiler the others use.
zz_build_fuzz() {
    local dir=$ZZ_BUILD/$1
    if [ ! -f "$dir/build.ninja" ]; then
        zz_log "configuring $1"
        cmake -S "$ZZ_ROOT/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    fi
    zz_log "building $1"
    cmake --build "$dir" -- -j"$(nproc)" 2>&1 | sed '/^\[/d'
    return "${PIPESTATUS[0]}"
}

# A display for Wine's windows: the desktop's when there is one, else our own Xvfb.
zz_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    export DISPLAY=${ZZ_XVFB_DISPLAY:-:97}
    if ! xdpyinfo >/dev/null 2>&1; then
        zz_log "starting Xvfb on $DISPLAY"
        Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    # A number held by a dead server's lock file: the first free one, as Xvfb reports it.
    if ! xdpyinfo >/dev/null 2>&1; then
        local number
        number=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
        trap "kill $! 2>/dev/null" EXIT  # not kept for later runs: its number is not known
        for _ in $(seq 50); do [ -s "$number" ] && break; sleep 0.1; done
        export DISPLAY=:$(tr -d '\n' <"$number")
        rm -f "$number"
        zz_log "$ZZ_XVFB_DISPLAY is taken: Xvfb on $DISPLAY"
    fi
}

# Windows links a Japanese font behind its UI fonts; a fresh Wine prefix does not, and menus and
# dialogs would show empty boxes in an English locale.
zz_link_japanese_font() {
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
        wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f \
            </dev/null >/dev/null 2>&1 || true
    done
    # The dialogs ask for the Japanese system fonts by name.
    local replacements='HKCU\Software\Wine\Fonts\Replacements'
    for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
        wine reg add "$replacements" /v "$face" /t REG_SZ /d IPAPGothic /f </dev/null >/dev/null 2>&1 || true
    done
    for face in "ＭＳ ゴシック" "MS Gothic"; do
        wine reg add "$replacements" /v "$face" /t REG_SZ /d IPAGothic /f </dev/null >/dev/null 2>&1 || true
    done
}

# Raised whenever zz_make_prefix sets up more, so that existing prefixes are set up again.
ZZ_PREFIX_VERSION=2

# zz_make_prefix PREFIX: a Wine prefix with the Japanese font linked, warm in both locales.
zz_make_prefix() {
    [ "$(cat "$1/zz-version" 2>/dev/null)" = "$ZZ_PREFIX_VERSION" ] && return 0
    zz_log "setting up the Wine prefix $1"
    (
        export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        wineserver -k </dev/null >/dev/null 2>&1 || true  # a server left by an earlier run
        [ -f "$1/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1 || true
        zz_link_japanese_font
        # Without a window manager Wine waits 2 s for one at every window it hides; the
        # Windows-side tests make and hide many, so their windows go unmanaged.
        wine reg add 'HKCU\Software\Wine\AppDefaults\win_tests.exe\X11 Driver' /v Managed /d N \
            /f </dev/null >/dev/null 2>&1 || true
        for locale in ja_JP.UTF-8 en_US.UTF-8; do
            LC_ALL=$locale wine cmd /c exit </dev/null >/dev/null 2>&1 || true
        done
        wineserver -w  # the registry is on disk before anyone copies it
    )
    echo "$ZZ_PREFIX_VERSION" >"$1/zz-version"
}

# The test trees' prefix and a copy of it per further core: tools/wine-run gives each Wine test
# one of them to itself, so that two run side by side without meeting.
zz_make_test_prefixes() {
    local base=$ZZ_BUILD/wine-prefix copy
    mkdir -p "$ZZ_BUILD"
    zz_make_prefix "$base"
    for copy in $(seq 1 $(($(nproc) - 1))); do
        cmp -s "$base/zz-version" "$base-$copy/zz-version" && continue
        rm -rf "$base-$copy"
        cp -a "$base" "$base-$copy"
    done
    zz_log "Wine prefixes ready"
}

# zz_start_wine [PREFIX]: that prefix (the test trees' own by default), and a server that
# outlives each program so they start fast.
zz_start_wine() {
    local prefix=${1:-$ZZ_BUILD/wine-prefix}
    zz_make_prefix "$prefix"
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # Background services must not inherit the caller's pipes, or a reader waits for ever.
    wineserver -p </dev/null >/dev/null 2>&1 || true  # already running is fine
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
