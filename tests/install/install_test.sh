#!/usr/bin/env bash
# install_test.sh BUILD_DIR CORPUS_DIR: `cmake --install` into a scratch DESTDIR puts
# every file where a desktop and a packager look for it and nothing else; the desktop
# entry validates; the installed corvel finds its page images away from the build.
set -euo pipefail
build=$1
corpus=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null

expected=(
    usr/bin/corvel
    usr/share/applications/tessaly.desktop
    usr/share/bash-completion/completions/corvel
    usr/share/doc/tessaly/changelog.gz
    usr/share/doc/tessaly/copyright
    usr/share/icons/hicolor/256x256/apps/tessaly.png
    usr/share/icons/hicolor/48x48/apps/tessaly.png
    usr/share/icons/hicolor/scalable/apps/tessaly.svg
    usr/share/man/man1/corvel.1.gz
    usr/share/man/man1/tessaly.1.gz
    usr/share/mime/packages/tessaly.xml
    usr/share/tessaly/Img/btn_open.png
    usr/share/tessaly/Img/icon_right.png
    usr/share/tessaly/Img/kesto_logo.png
)
[ -x "$build/tessaly" ] && expected+=(usr/bin/tessaly)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$dest" && find . -type f | sed 's|^\./||' | sort)

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate --no-hints "$dest/usr/share/applications/tessaly.desktop"
fi
# The manual pages read without a warning.
if command -v groff >/dev/null; then
    for page in corvel tessaly; do
        warnings=$(zcat "$dest/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
        [ -z "$warnings" ] || { echo "$page.1: $warnings" >&2; exit 1; }
    done
fi
# The installed corvel's pages point at the installed images.
page="$dest/page.html"
"$dest/usr/bin/corvel" page "$corpus/avc_aac_bframes.mp4" moov/mvhd -o "$page"
grep -q "$dest/usr/share/tessaly/Img/icon_right.png" "$page"
# The completion offers the box paths of a file.
paths=$(PATH="$dest/usr/bin:$PATH" bash -c 'source "$1/usr/share/bash-completion/completions/corvel"
    COMP_WORDS=(corvel page "$2" moov/trak[1]/mdia/m); COMP_CWORD=3; _corvel; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$dest" "$corpus/avc_aac_bframes.mp4")
grep -qx 'moov/trak\[1\]/mdia/mdhd' <<<"$paths" && grep -qx 'moov/trak\[1\]/mdia/minf/stbl/stsz' <<<"$paths" ||
    { echo "completion: $paths" >&2; exit 1; }
# A code with the byte 0xA9 is offered as corvel tree prints it, and that path names its box.
qt="$corpus/pub_go-mp4_sample_qt.mp4"
paths=$(PATH="$dest/usr/bin:$PATH" bash -c 'source "$1/usr/share/bash-completion/completions/corvel"
    COMP_WORDS=(corvel page "$2" moov/udta/); COMP_CWORD=3; _corvel; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$dest" "$qt")
grep -qx 'moov/udta/©enc' <<<"$paths" || { echo "completion: $paths" >&2; exit 1; }
"$dest/usr/bin/corvel" page "$qt" 'moov/udta/©enc' >/dev/null
# A release build has Debian's hardening flags: a read-only relocation table bound at start, and
# fortified calls (lintian looks for both); no compiler notes left. (Read whole first: a
# grep that stops early would fail its pipe.)
dynamic=$(readelf -d "$dest/usr/bin/corvel")
headers=$(readelf -lSW "$dest/usr/bin/corvel")
symbols=$(readelf --dyn-syms -W "$dest/usr/bin/corvel")
if grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then  # not the sanitizer builds
    grep -q 'BIND_NOW' <<<"$dynamic" || { echo "corvel: not linked with -z now" >&2; exit 1; }
    grep -q 'GNU_RELRO' <<<"$headers" || { echo "corvel: not linked with -z relro" >&2; exit 1; }
    grep -q '__[a-z]*_chk' <<<"$symbols" || { echo "corvel: no fortified calls" >&2; exit 1; }
fi
if grep -q ' \.comment ' <<<"$headers"; then echo "corvel: the .comment notes are left" >&2; exit 1; fi
# The package recommends what completion and the About box need.
grep -q 'CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, fonts-nanum | fonts-noto-cjk"' "$build/CPackConfig.cmake" ||
    { echo "package: no Recommends of bash-completion and a Hangul font" >&2; exit 1; }
echo "install: ${#expected[@]} files in place"
