#!/usr/bin/env bash
# Builds Vantrel for 64-bit Windows on this Debian machine and tests it under Wine:
#   1. installs MinGW-w64, Wine and NSIS when missing;
#   2. builds Qt for Windows from Debian's own qt6-base source, once, into a cache outside the
#      repository (VANTREL_QT_CACHE, default ~/.cache/vantrel), keyed by the Qt version;
#   3. cross-builds Vantrel and its tests in build-windows/;
#   4. runs the test suite under Wine on Qt's offscreen platform;
#   5. gathers the programs with the Qt DLLs and plugins they need, and makes the NSIS installer;
#   6. installs it into the Wine prefix and screenshots the installed program's two windows.
# Ends by printing the installer's path and the test summary; exits non-zero when a test failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
here=$source/scripts/windows
version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
sudo=""
[[ $(id -u) -ne 0 ]] && sudo=sudo

install_packages() {
    local packages=(cmake ninja-build qt6-base-dev g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine nsis
        dpkg-dev xvfb xauth x11-apps xdotool imagemagick fonts-wine fonts-dejavu-core icoutils)
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+~-].*//'
}

# Debian's source package comes from a deb-src line for the suite the machine runs.
fetch_qt_source() {
    local into=$1
    if ! apt-get source --print-uris qt6-base 2>/dev/null | grep -q "'"; then
        local suite
        suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
        # The mirror (or proxy) that the machine's own deb lines use for the suite's main component.
        local mirror
        mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT) $(TARGET_OF)' |
            awk -v suite="$suite" '$2 == suite && $3 == "main" && $4 == "deb" { print $1; exit }')
        if [[ -z $mirror ]]; then
            echo "No deb line for $suite main in the apt sources to take a mirror from" >&2
            exit 1
        fi
        echo "Adding a deb-src line for $suite from $mirror"
        printf 'Types: deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$mirror" "$suite" "$suite" | $sudo tee /etc/apt/sources.list.d/vantrel-src.sources >/dev/null
        $sudo apt-get update -qq
    fi
    mkdir -p "$into"
    (cd "$into" && apt-get source -qq qt6-base >/dev/null)
}

build_qt() {
    local prefix=$1
    [[ -f $prefix/lib/cmake/Qt6/qt.toolchain.cmake ]] && return
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-qt.XXXXXX")
    echo "Building Qt $(qt_version) for Windows into $prefix (once; 15 to 45 minutes on 2 cores)"
    fetch_qt_source "$work/src"
    local qtsource
    qtsource=$(find "$work/src" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base-*' | head -n 1)
    cmake -S "$qtsource" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_xml=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_opengl_dynamic=ON -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF >"$work/configure.log"
    cmake --build "$work/build" --parallel 2
    cmake --install "$work/build" >/dev/null
    rm -rf "$work"
}

mingw_runtime() {
    local name
    for name in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        x86_64-w64-mingw32-g++-posix -print-file-name="$name"
    done
}

build_vantrel() {
    cmake -S "$source" -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-test.sh" >/dev/null
    cmake --build build-windows
}

# Each program carries its icon, which Explorer, the taskbar and the Start-menu entries show.
check_icons() {
    local program
    for program in vantrel vantrel-history vantrel-offers; do
        if ! wrestool -l --type=group_icon "build-windows/$program.exe" | grep -q .; then
            echo "build-windows/$program.exe carries no icon" >&2
            return 1
        fi
    done
}

# Wine finds the DLLs through WINEPATH; its own prefix keeps the user's ~/.wine out of it. A virtual
# display serves the one test that needs the real windows platform.
start_wine() {
    export WINEPREFIX=${VANTREL_WINEPREFIX:-$HOME/.cache/vantrel/wine}
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    local runtime_dirs
    runtime_dirs=$(mingw_runtime | xargs -n1 dirname | sort -u | sed 's|^|Z:|; s|/|\\|g' | paste -sd';')
    export WINEPATH="Z:${qt_prefix//\//\\}\\bin;$runtime_dirs"
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
    export DISPLAY=$display
    wineboot --init >/dev/null 2>&1
}

run_tests() {
    ctest --test-dir build-windows --output-on-failure --timeout 300 | tee build-windows/test-summary.txt
}

# The programs with the Qt and MinGW DLLs and the plugins they load, as they will be installed.
gather() {
    local stage=build-windows/stage
    rm -rf "$stage"
    mkdir -p "$stage/platforms" "$stage/styles"
    cp build-windows/vantrel.exe build-windows/vantrel-history.exe build-windows/vantrel-offers.exe "$stage/"
    cp "$qt_prefix"/bin/Qt6{Core,Gui,Widgets}.dll "$stage/"
    cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
    cp "$qt_prefix"/plugins/styles/*.dll "$stage/styles/" 2>/dev/null || rmdir "$stage/styles"
    cp $(mingw_runtime) "$stage/"
    cp app/desktop/vantrel.ico "$stage/"
    echo "$stage"
}

make_installer() {
    local stage=$1 installer=$PWD/build-windows/vantrel-setup-$version.exe
    makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DOUTFILE="$installer" "$here/vantrel.nsi" >/dev/null
    echo "$installer"
}

# Installs silently into the Wine prefix, starts the installed calculator on the virtual display,
# opens the converter and saves a screenshot of each window.
try_installed() {
    local installer=$1 shots=build-windows/screenshots
    mkdir -p "$shots"
    wine "$installer" /S
    local program
    program=$(winepath -u 'C:\Program Files\Vantrel\vantrel.exe')
    [[ -x $program ]] || { echo "the installer did not install $program" >&2; return 1; }
    (wine "$program" >/dev/null 2>&1 &)
    local main converter
    main=$(timeout 60 xdotool search --sync --name "Matched Betting" | head -1)
    sleep 2
    xwd -silent -id "$main" | convert xwd:- "$shots/vantrel.png"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 176)) $((Y + 112)) click 1 # a / b
    converter=$(timeout 60 xdotool search --sync --name "FractionConverter" | head -1)
    sleep 2
    xwd -silent -id "$converter" | convert xwd:- "$shots/frmfrac.png"
    wineserver -k
    echo "Screenshots of the installed program: $PWD/$shots/vantrel.png, $PWD/$shots/frmfrac.png"
}

install_packages
qt_prefix=${VANTREL_QT_CACHE:-$HOME/.cache/vantrel}/qt-$(qt_version)-mingw-w64
SECONDS=0
build_qt "$qt_prefix"
echo "Qt for Windows ready in $qt_prefix (${SECONDS} s)"
SECONDS=0
build_vantrel
check_icons
echo "Vantrel and its tests cross-built in build-windows/ (${SECONDS} s)"
start_wine
SECONDS=0
run_tests || status=$?
echo "Tests under Wine: ${SECONDS} s"
installer=$(make_installer "$(gather)")
try_installed "$installer"
echo
echo "Installer: $installer ($(du -h "$installer" | cut -f1))"
echo "Tests under Wine: $(grep -E 'tests passed|tests failed' build-windows/test-summary.txt)"
exit "${status:-0}"
