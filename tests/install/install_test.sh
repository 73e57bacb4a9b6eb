#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, checks that every installed file is there, runs
# the validators on the desktop entry, the AppStream metadata and the man pages, and runs the
# installed gyrodex-cli. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh)"; exit 77; }
done
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
p="$dest/usr"
fail=0
check() { [[ -s "$p/$1" ]] || { echo "missing: /usr/$1"; fail=1; }; }
check bin/gyrodex
check bin/gyrodex-cli
check share/applications/org.vantoric.Gyrodex.desktop
check share/mime/packages/org.vantoric.Gyrodex.xml
check share/metainfo/org.vantoric.Gyrodex.metainfo.xml
check share/icons/hicolor/scalable/apps/org.vantoric.Gyrodex.svg
for size in 48 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/org.vantoric.Gyrodex.png
    check "$png"
    # A PNG of the right size: width and height are the big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$p/$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [[ "$dims" == "${size}x${size}" ]] || { echo "$png is $dims, not ${size}x${size}"; fail=1; }
done
check share/man/man1/gyrodex.1
check share/man/man1/gyrodex-cli.1
((fail == 0)) || exit 1

# The validators: no errors and no warnings (hints and pedantic notes are fine).
out=$(desktop-file-validate "$p/share/applications/org.vantoric.Gyrodex.desktop" 2>&1) || { echo "$out"; exit 1; }
if grep -qE 'error|warning' <<<"$out"; then echo "$out"; exit 1; fi
out=$(appstreamcli validate --no-net "$p/share/metainfo/org.vantoric.Gyrodex.metainfo.xml" 2>&1) || { echo "$out"; exit 1; }
if grep -qE '^[EW]:|error|warning' <<<"$out"; then echo "$out"; exit 1; fi
grep -q 'type="application/x-gyrodex-calendar"' "$p/share/mime/packages/org.vantoric.Gyrodex.xml"
grep -q '<glob pattern="\*.cal"/>' "$p/share/mime/packages/org.vantoric.Gyrodex.xml"
for page in gyrodex gyrodex-cli; do
    text=$(MANWIDTH=80 man -l "$p/share/man/man1/$page.1" 2>&1 >/dev/null) || true
    [[ -z "$text" ]] || { echo "man -l $page.1: $text"; exit 1; }
    MANWIDTH=80 man -l "$p/share/man/man1/$page.1" | grep -q "^NAME" || { echo "$page.1 shows no NAME"; exit 1; }
done
# Every command and option of the command-line tool is in its man page.
cli_page=$(MANWIDTH=200 man -l "$p/share/man/man1/gyrodex-cli.1" 2>/dev/null)
for word in render export-ai print cells hit show save-cal --cal --highlights --size --today \
            --start --end --start-week --radius --day-height --offset --anticlockwise \
            --weekend-outside --no-weekends --no-past --today-not-past --no-repaint-all \
            --highlight --set --labels --title --hint-type --date-format --out --bitmap --page \
            --landscape \
            --help --version; do
    grep -qF -- "$word" <<<"$cli_page" || { echo "gyrodex-cli.1 does not mention $word"; exit 1; }
done

# The installed programs run.
version=$("$p/bin/gyrodex-cli" --version)
[[ "$version" == "gyrodex-cli 1.0" ]] || { echo "installed gyrodex-cli --version: $version"; exit 1; }
version=$("$p/bin/gyrodex" --version)
[[ "$version" == "gyrodex 1.0" ]] || { echo "installed gyrodex --version: $version"; exit 1; }
echo "installed and validated: $(cd "$dest" && find . -type f | wc -l) files"
