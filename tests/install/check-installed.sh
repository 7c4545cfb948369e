#!/usr/bin/env bash
# Checks of an installed tlxexport tree, one per call:
#   check-installed.sh install|cli|man|completion|symbols|host-cmake|host-pkgconfig|gdal-plugin
# The tree is installed with DESTDIR=$STAGE under the prefix $PREFIX, so that
# a destination outside the prefix (GDAL's plugin folder) stays in the stage
# too; everything installed finds its neighbours relative to itself.
# Environment: STAGE PREFIX BUILD_DIR SOURCE_DIR BUILD_TLX (the build tree's
# program) CMAKE CXX VERSION. Exit 77 means skipped.
set -euo pipefail
root=$STAGE$PREFIX
sample=$SOURCE_DIR/samples/building-site.tlx
work=$STAGE.work/$1
rm -rf "$work"
mkdir -p "$work"
export TLXEXPORT_LANG=en TLXEXPORT_CONFIG_DIR=$work/config QT_QPA_PLATFORM=offscreen
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
same() {  # same WHAT EXPECTED ACTUAL
    [[ $2 == "$3" ]] || fail "$1: expected '$2', got '$3'"
}
libdir() {
    dirname "$(find "$root" -name libtlxdialogs.so.1 | head -n 1)"
}

check_install() {
    rm -rf "$STAGE"
    DESTDIR=$STAGE "$CMAKE" --install "$BUILD_DIR" --prefix "$PREFIX" >"$work/install.log"
}

# `PROGRAM dialog text` maps the dialogs library found under FOLDER (a dialog
# that opens keeps running; the check ends it).
dialog_loads_from() {  # dialog_loads_from PROGRAM FOLDER
    "$1" dialog text "$sample" >"$work/dialog.out" 2>&1 &
    local dialog=$! mapped=""
    for _ in $(seq 300); do
        kill -0 $dialog 2>/dev/null || break
        mapped=$(grep -o '/[^ ]*libtlxdialogs[^ ]*' /proc/$dialog/maps 2>/dev/null | head -n 1) && [[ -n $mapped ]] && break
        sleep 0.1
    done
    kill $dialog 2>/dev/null || true
    wait $dialog 2>/dev/null || true
    [[ -n $mapped ]] || fail "$1 dialog loaded no dialogs library: $(cat "$work/dialog.out")"
    [[ $(realpath "$mapped") == "$(realpath "$2")"/* ]] || fail "$1 dialog loaded $mapped"
}

# The installed program: its version, an export equal to the build tree's,
# and the dialogs library beside it (the build tree's program takes its own).
check_cli() {
    same "tlxexport --version" "tlxexport $VERSION" "$("$root/bin/tlxexport" --version)"
    same "tlxexport -V" "tlxexport $VERSION" "$("$root/bin/tlxexport" -V)"
    "$root/bin/tlxexport" text "$sample" "$work/installed.txt" 2>/dev/null
    "$BUILD_TLX" text "$sample" "$work/built.txt" 2>/dev/null
    cmp "$work/built.txt" "$work/installed.txt" || fail "the installed program's export differs"
    [[ -s $work/installed.txt ]] || fail "the installed program wrote an empty export"
    [[ -n $(find "$root" -name libtlxdialogs.so.1) ]] || return 0
    dialog_loads_from "$root/bin/tlxexport" "$root"
    dialog_loads_from "$BUILD_TLX" "$BUILD_DIR"
}

# The page renders without a warning and holds every command and option the
# usage texts name, the exit statuses and the hand-written sections.
check_man() {
    local page=$root/share/man/man1/tlxexport.1.gz
    [[ -f $page ]] || fail "no man page at $page"
    MANWIDTH=200 man --warnings -E UTF-8 -l "$page" 2>"$work/warnings" | col -b >"$work/page.txt"
    [[ ! -s $work/warnings ]] || fail "man warns: $(cat "$work/warnings")"
    local tlx=$root/bin/tlxexport word command
    for section in NAME SYNOPSIS DESCRIPTION COMMANDS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
        grep -q "^$section\$" "$work/page.txt" || fail "the page has no $section section"
    done
    for word in TLXEXPORT_LANG TLXEXPORT_CONFIG_DIR tlxexport.ini "check exits 3" "tlxexport $VERSION"; do
        grep -qF -- "$word" "$work/page.txt" || fail "the page does not mention $word"
    done
    for command in $("$tlx" --help | awk '$1 == "tlxexport" && $2 !~ /^-/ { print $2 }'); do
        grep -qE "^ +$command\$" "$work/page.txt" || fail "the page has no section for $command"
        for word in $("$tlx" "$command" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
            grep -qF -- "$word" "$work/page.txt" || fail "the page does not name $command's $word"
        done
    done
}

# What Tab offers after LINE (words sorted, on one line), in $work/files.
complete_line() {
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tlxexport tlxexport "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | xargs
}

check_completion() {
    [[ -f /usr/share/bash-completion/bash_completion ]] || { echo "bash-completion is not installed"; exit 77; }
    set +eu  # the completion framework is not written for these modes
    source /usr/share/bash-completion/bash_completion
    source "$root/share/bash-completion/completions/tlxexport"
    PATH=$root/bin:$PATH
    mkdir -p "$work/files/folder" && cd "$work/files" || fail "no work folder"
    touch site.tlx plan.dxf coords.ue notes.txt
    same "commands" "--help --version check dialog dxf mif shp template text" "$(complete_line "tlxexport ")"
    same "dxf options" "--help --log --no-attributes --no-codepage --strict" "$(complete_line "tlxexport dxf site.tlx plan.dxf --")"
    same "input" "folder site.tlx" "$(complete_line "tlxexport check ")"
    same "dxf target" "folder plan.dxf" "$(complete_line "tlxexport dxf site.tlx ")"
    same "output folder" "folder" "$(complete_line "tlxexport shp --overwrite all site.tlx ")"
    same "overwrite answers" "all ask none" "$(complete_line "tlxexport mif site.tlx folder --overwrite ")"
    same "template file" "coords.ue folder" "$(complete_line "tlxexport text site.tlx out.txt --template ")"
    same "log file" "coords.ue folder notes.txt plan.dxf site.tlx" "$(complete_line "tlxexport text --log ")"
    same "template subcommand" "show" "$(complete_line "tlxexport template ")"
    same "template to show" "coords.ue folder" "$(complete_line "tlxexport template show ")"
    same "dialog kinds" "dxf mif shp text" "$(complete_line "tlxexport dialog ")"
    same "dialog input" "folder site.tlx" "$(complete_line "tlxexport dialog text ")"
    same "nothing after the last word" "" "$(complete_line "tlxexport check site.tlx ")"
}

# The dialogs library: versioned; it exports the four entry points and the
# classes of namespace tvk (a host may build the dialogs itself), nothing else.
check_symbols() {
    local library symbols
    library=$(libdir)/libtlxdialogs.so.1
    [[ -f $library ]] || fail "no libtlxdialogs.so.1 installed"
    same "soname" "libtlxdialogs.so.1" "$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')"
    symbols=$(nm -D -C --defined-only "$library" | cut -d' ' -f3-)
    same "entry points" "ShowACEDialog ShowMIEDialog ShowSHEDialog ShowUEDialog" \
        "$(grep -v '::\|for ' <<<"$symbols" | sort | xargs)"
    for class in CACEDlg CMIEDlg CSHEDlg CUEDlg CMIFWriter CTLXReader; do
        grep -q "^tvk::$class::$class(" <<<"$symbols" || fail "tvk::$class is not exported"
    done
    local foreign
    foreign=$(grep -v '^ShowA\|^ShowM\|^ShowS\|^ShowU\|tvk::' <<<"$symbols" | head -n 3 || true)
    [[ -z $foreign ]] || fail "exports what is not its own: $foreign"
}

# Both example hosts against the installed tree: the dialog shows the first
# line the text export writes, and the embedded DXF writer writes what the
# installed program writes.
run_hosts() {  # run_hosts FOLDER
    "$1/survey-host" "$sample" --close-when-shown >"$work/host.out" 2>"$work/host.err" ||
        fail "survey-host failed: $(cat "$work/host.err")"
    "$root/bin/tlxexport" text "$sample" "$work/expected.txt" 2>/dev/null
    same "the dialog's first line" "$(head -n 1 "$work/expected.txt" | tr -d '\r' | iconv -f CP1251 -t UTF-8)" \
        "$(sed -n 2p "$work/host.out")"
    "$1/survey-to-dxf" "$sample" "$work/host.dxf" >"$work/dxf.out" || fail "survey-to-dxf failed"
    "$root/bin/tlxexport" dxf "$sample" "$work/expected.dxf" 2>/dev/null
    cmp "$work/expected.dxf" "$work/host.dxf" || fail "survey-to-dxf wrote another drawing"
}

check_host_cmake() {
    "$CMAKE" -S "$SOURCE_DIR/examples/host" -B "$work/build" -DCMAKE_PREFIX_PATH="$root" \
        -DCMAKE_CXX_COMPILER="$CXX" >"$work/configure.log" || fail "configure: $(tail "$work/configure.log")"
    "$CMAKE" --build "$work/build" -j2 >"$work/build.log" 2>&1 || fail "build: $(tail -20 "$work/build.log")"
    run_hosts "$work/build"
}

check_host_pkgconfig() {
    export PKG_CONFIG_PATH=$(libdir)/pkgconfig
    local host=$SOURCE_DIR/examples/host
    # Qt's libraries want position-independent code in the program.
    "$CXX" -std=c++17 -fPIC -o "$work/survey-host" "$host/survey-host.cpp" \
        $(pkg-config --cflags --libs tlxexport-dialogs Qt6Widgets) \
        -Wl,-rpath,"$(pkg-config --variable=libdir tlxexport-dialogs)"
    "$CXX" -std=c++20 -o "$work/survey-to-dxf" "$host/survey-to-dxf.cpp" $(pkg-config --cflags --libs tlxexport-core)
    same "version" "$VERSION" "$(pkg-config --modversion tlxexport-dialogs)"
    run_hosts "$work"
}

# GDAL finds the staged plugin and lists the driver (when it was built).
check_gdal_plugin() {
    local plugin
    plugin=$(find "$STAGE" -name ogr_TLX.so | head -n 1)
    [[ -n $plugin ]] || { echo "the GDAL plugin is not built"; exit 77; }
    GDAL_DRIVER_PATH=$(dirname "$plugin") ogrinfo --formats | grep -q '^ *TLX' || fail "ogrinfo does not list TLX"
}

"check_${1//-/_}"
