#!/usr/bin/env bash
# Saves every kind of file gyrodex-cli writes into a 64 KiB tmpfs that is full, or has one, two,
# ... pages free: each save either replaces its file completely or fails with "Unable to write
# to FILE", exit status 1, and the old bytes untouched. Needs root to mount the tmpfs; skips
# (status 77) otherwise.
set -uo pipefail
cli=${1:?usage: full_disk.sh path/to/gyrodex-cli}
if [[ $(id -u) -ne 0 ]]; then
    echo "skipped: mounting a tmpfs needs root"
    exit 77
fi
dir=$(mktemp -d)
if ! mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null; then
    rmdir "$dir"
    echo "skipped: could not mount a tmpfs"
    exit 77
fi
cleanup() {
    umount "$dir" && rmdir "$dir"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

period=(--today 10/19/1998 --start 10/09/1998 --end 06/26/1999)
highlights=()
for i in $(seq 10 28); do
    highlights+=(--highlight "10/$i/1998\$255#A highlight with a description of some length $i")
done

# Whether a file is complete for its kind.
complete() {
    local f=$1
    case $f in
    *.cal) "$cli" show --cal "$f" | grep -q '^Misc.Radius=300$' &&
        "$cli" show --cal "$f" | grep -q '^Highlights.H18=' ;;
    *.png) tail -c 12 "$f" | od -An -c | tr -d ' \n' | grep -q 'IEND' ;;
    *.bmp) [[ $(stat -c %s "$f") -eq $((54 + 64 * 64 * 3)) ]] ;;
    *.svg) tail -c 16 "$f" | grep -q '</svg>' ;;
    *.pdf | *.ai) tail -c 16 "$f" | grep -q '%%EOF' ;;
    esac
}

for free in 0 1 2 3 4 5 6 8 10 12; do
    for kind in cal png bmp svg pdf ai print; do
        rm -f "$dir"/fill "$dir"/out.*
        case $kind in
        cal) target=$dir/out.cal ;;
        print) target=$dir/out.pdf ;;
        *) target=$dir/out.$kind ;;
        esac
        # The old file: for a calendar a real one, else a few bytes of its own.
        if [[ $kind == cal ]]; then
            "$cli" save-cal "$target" "${period[@]}" "${highlights[@]}" || fail "seed $target"
        else
            echo "old content" >"$target"
        fi
        old=$(sha256sum <"$target")
        # Fill the disk, then free `free` pages.
        dd if=/dev/zero of="$dir/fill" bs=4096 2>/dev/null
        truncate -s "-$((free * 4096))" "$dir/fill" 2>/dev/null || truncate -s 0 "$dir/fill"
        case $kind in
        cal) args=(save-cal "$target" --cal "$target" --radius 300) ;;
        png | bmp | svg | pdf) args=(render --size 64x64 --out "$target" "${period[@]}") ;;
        ai) args=(export-ai --size 64x64 --out "$target" "${period[@]}") ;;
        print) args=(print --size 64x64 --out "$target" "${period[@]}") ;;
        esac
        err=$("$cli" "${args[@]}" 2>&1 >/dev/null)
        status=$?
        # The wheel does not fit the small image, which is warned about; only the save's own
        # message counts here.
        err=$(grep -v '^gyrodex-cli: warning: ' <<<"$err")
        what="$kind with $free pages free"
        if [[ $status -eq 0 ]]; then
            complete "$target" || fail "$what: exit 0 but $target is incomplete"
        elif [[ $status -eq 1 ]]; then
            [[ $err == "Unable to write to $target" ]] || fail "$what: message '$err'"
            [[ $(sha256sum <"$target") == "$old" ]] || fail "$what: old bytes lost"
        else
            fail "$what: exit $status ($err)"
        fi
        leftovers=$(find "$dir" -mindepth 1 ! -name fill ! -name "out.*" | wc -l)
        [[ $leftovers -eq 0 ]] || fail "$what: temporary files left: $(ls -A "$dir")"
        echo "$what: exit $status ${err:+($err)}"
    done
done
if [[ $failures -ne 0 ]]; then
    echo "$failures failures"
    exit 1
fi
echo "every save replaced its file whole or left it as it was"
