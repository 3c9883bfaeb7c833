#!/usr/bin/env bash
# Installs a build tree into a fresh prefix and checks what the desktop sees of it: the
# files are in place, the desktop entry and the AppStream data pass their validators, the
# manual page renders without a warning, the scenario file type is one shared-mime-info takes, the installed program runs, and the Debian package
# declares what the program needs.
# Usage: install_check.sh BUILD_DIR APP_ID VERSION
# A validator that is not installed is skipped with a message; exit 77 (skipped) when none
# of them is there.
set -uo pipefail

build=$1
app_id=$2
version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
checked=0

fail() {
    echo "FAIL: $*"
    failed=1
}

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$prefix.log"

share=$prefix/share
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
manpage=$share/man/man1/brevant.1
mimexml=$share/mime/packages/$app_id.xml
scenario_type=application/x-brevant-scenario
scenario_icon=${scenario_type/\//-}
for f in "$prefix/bin/brevant" "$desktop" "$metainfo" "$manpage" "$mimexml" \
         "$share/icons/hicolor/scalable/apps/$app_id.svg" \
         "$share/icons/hicolor/scalable/mimetypes/$scenario_icon.svg"; do
    [ -s "$f" ] || fail "not installed: ${f#"$prefix"/}"
done
for side in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${side}x$side/apps/$app_id.png
    [ -s "$png" ] || fail "not installed: ${png#"$prefix"/}"
    png=$share/icons/hicolor/${side}x$side/mimetypes/$scenario_icon.png
    [ -s "$png" ] || fail "not installed: ${png#"$prefix"/}"
done

# The desktop entry names the installed icon and program.
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's Icon is not $app_id"
grep -qx "Exec=brevant %f" "$desktop" || fail "the desktop entry's Exec is not 'brevant %f'"
# TryExec names a program alone: with anything after it the desktop finds no such program
# and hides the entry, which desktop-file-validate does not notice.
grep -qx "TryExec=brevant" "$desktop" || fail "the desktop entry's TryExec is not 'brevant'"
grep -qx "MimeType=$scenario_type;" "$desktop" || fail "the desktop entry does not open $scenario_type"

# One version everywhere: the program, the AppStream release, the manual page.
shown=$("$prefix/bin/brevant" --version 2>&1)
[ "$shown" = "brevant $version" ] || fail "brevant --version says '$shown', the project is $version"
grep -q "<release version=\"$version\"" "$metainfo" || fail "AppStream release is not $version"
grep -q "\"Brevant $version\"" "$manpage" || fail "the manual page's version is not $version"

if command -v desktop-file-validate >/dev/null; then
    checked=1
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate"
    [ -z "$out" ] || { echo "$out"; fail "desktop-file-validate reported"; }
else
    echo "SKIPPED: desktop-file-validate not installed (Debian package desktop-file-utils)"
fi

# The scenario type: well-formed XML that update-mime-database takes without a word, and
# that then gives *.brevant files its type.
if command -v xmllint >/dev/null; then
    checked=1
    xmllint --noout "$mimexml" || fail "xmllint on the MIME type"
else
    echo "SKIPPED: xmllint not installed (Debian package libxml2-utils)"
fi
if command -v update-mime-database >/dev/null; then
    checked=1
    # On the data path, so that it says nothing but what is wrong with the type.
    out=$(XDG_DATA_DIRS=$share update-mime-database "$share/mime" 2>&1) || fail "update-mime-database"
    [ -z "$out" ] || { echo "$out"; fail "update-mime-database reported"; }
    grep -qx "$scenario_type:\*\.brevant" "$share/mime/globs" \
        || fail "update-mime-database gave *.brevant no type"
    [ -s "$share/mime/$scenario_type.xml" ] || fail "update-mime-database made no $scenario_type"
else
    echo "SKIPPED: update-mime-database not installed (Debian package shared-mime-info)"
fi

if command -v appstreamcli >/dev/null; then
    checked=1
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    # The tree as a software centre reads it: metainfo, desktop entry and icon together.
    appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"
else
    echo "SKIPPED: appstreamcli not installed (Debian package appstream)"
fi

if command -v man >/dev/null; then
    checked=1
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MANPAGER=cat man --warnings -l "$manpage" 2>"$prefix/man.err")
    status=$?
    if [ $status -ne 0 ] || [ -s "$prefix/man.err" ]; then
        cat "$prefix/man.err"
        fail "man -l reported"
    fi
    for section in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS "EXIT STATUS" KEYS FILES; do
        grep -q "^$section" <<<"$text" || fail "the manual page has no $section section"
    done
else
    echo "SKIPPED: man not installed (Debian package man-db)"
fi

# The Debian package: its name and version, the run-time needs dpkg-shlibdeps cannot see
# (the font, the image plugins) and the toolkit's Japanese catalogue.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null \
    && command -v dpkg-shlibdeps >/dev/null; then
    checked=1
    if cpack --config "$build/CPackConfig.cmake" -G DEB -B "$prefix/package" \
        >"$prefix/cpack.log" 2>&1; then
        deb=$(ls "$prefix"/package/*.deb 2>/dev/null | head -n 1)
    else
        deb=
        cat "$prefix/cpack.log"
    fi
    if [ -z "$deb" ]; then
        fail "cpack made no Debian package"
    else
        field() { dpkg-deb -f "$deb" "$1"; }
        [ "$(field Package)" = brevant ] || fail "the package is named '$(field Package)'"
        [ "$(field Version)" = "$version" ] || fail "the package's version is '$(field Version)'"
        depends=$(field Depends)
        for need in fonts-ipafont-gothic libqt6svg6 qt6-image-formats-plugins libqt6widgets6; do
            grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "the package does not depend on $need: $depends"
        done
        recommends=$(field Recommends)
        grep -Eq "(^|, )qt6-translations-l10n( |,|$)" <<<"$recommends$(printf ', %s' "$depends")" \
            || fail "the package neither depends on nor recommends qt6-translations-l10n"
        contents=$(dpkg-deb -c "$deb")
        grep -q " \./usr/bin/brevant$" <<<"$contents" || fail "the package holds no usr/bin/brevant"
    fi
else
    echo "SKIPPED: cpack, dpkg-deb or dpkg-shlibdeps not installed (Debian packages cmake, dpkg-dev)"
fi

[ $failed -eq 0 ] || exit 1
if [ $checked -eq 0 ]; then
    echo "SKIPPED: none of desktop-file-validate, appstreamcli, man, cpack is installed"
    exit 77
fi
echo "install check passed"
