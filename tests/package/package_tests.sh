#!/usr/bin/env bash
# The installed tree, the desktop data, the Debian package and a host program built against the
# installed CMake package. Usage: package_tests.sh layout|validate|deb|consumer BUILD SOURCE GUI
set -euo pipefail
mode=$1 build=$2 src=${3:-} gui=${4:-OFF}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
tool_files="usr/bin/TERQClientCfg usr/share/applications/TERQClientCfg.desktop
usr/share/icons/hicolor/32x32/apps/TERQClientCfg.png usr/share/man/man1/TERQClientCfg.1.gz
usr/share/icons/hicolor/scalable/apps/TERQClientCfg.svg usr/share/doc/terqclientcfg/copyright
usr/share/metainfo/com.example.TERQClientCfg.metainfo.xml usr/share/doc/terqclientcfg/changelog.gz"

case $mode in
layout)
    cmake --install "$build" --prefix "$tmp/usr" >/dev/null
    want="usr/lib/libterq.a usr/lib/cmake/terq/terqConfig.cmake
        usr/lib/cmake/terq/terqConfigVersion.cmake usr/lib/cmake/terq/terqTargets.cmake
        usr/bin/terq-inspect usr/share/man/man1/terq-inspect.1.gz"
    folders="dblib lib clientcfg"
    [ "$gui" = ON ] && want+=" usr/lib/libterq_ui.a $tool_files" && folders+=" uilib"
    for f in $want; do [ -f "$tmp/$f" ] || fail "missing $f"; done
    # Every public header, by its path in the tree, and nothing else under include/terq.
    diff <(cd "$src" && for d in $folders; do printf '%s\n' "$d"/*.h; done | sort) \
         <(cd "$tmp/usr/include/terq" && find . -type f | sed 's|^\./||' | sort) ||
        fail "include/terq differs from the headers of $folders" ;;
validate)
    desktop-file-validate "$src/packaging/TERQClientCfg.desktop"
    appstreamcli validate --no-net "$build/packaging/com.example.TERQClientCfg.metainfo.xml" ;;
deb)
    (cd "$build" && cpack -G DEB -B "$tmp/out" >/dev/null)
    lintian --fail-on error "$tmp"/out/*.deb
    dpkg-deb -x "$tmp"/out/terqclientcfg_*.deb "$tmp/root"
    diff <(tr ' ' '\n' <<<"$tool_files" | sort) \
         <(cd "$tmp/root" && find . -type f | sed 's|^\./||' | sort) || fail "file list of terqclientcfg"
    # The tool named by the desktop entry, as the menu would start it, with a HOME of its own.
    exe=$(sed -n 's/^Exec=//p' "$tmp/root/usr/share/applications/TERQClientCfg.desktop")
    mkdir "$tmp/home" && HOME=$tmp/home xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        "$0" window "$tmp/root/usr/bin/$exe" ;;
window)
    # Bounded wait for the mapped dialog: at most 30 s, never longer. $2 is the tool here.
    "$build" & pid=$!
    for _ in $(seq 150); do
        kill -0 $pid 2>/dev/null || fail "the tool ended before showing its window"
        # GTK names a hidden leader window after the tool too: look for the mapped one.
        for id in $(xwininfo -root -tree | awk '/ "TERQClientCfg": /{print $1}'); do
            xwininfo -id "$id" | grep -q IsViewable && kill $pid && exit 0
        done
        sleep 0.2
    done
    kill $pid; fail "no TERQClientCfg window within 30 s" ;;
consumer)
    cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
    cmake -S "$src/tests/package/consumer" -B "$tmp/build" -G Ninja -DWITH_UI="$gui" >/dev/null \
        -DCMAKE_PREFIX_PATH="$tmp/prefix" -DCMAKE_EXE_LINKER_FLAGS="${LDFLAGS:-}"
    cmake --build "$tmp/build" >/dev/null && "$tmp/build/terq_consumer" ;;
*) fail "unknown mode $mode" ;;
esac
