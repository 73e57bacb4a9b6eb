#!/usr/bin/env bash
# The settings file of a program in a folder it can't write to, for real: as an unprivileged
# user (root ignores permissions), the desktop program never writes beside itself (and, with no
# setting changed, nowhere), and the command-line tool reads an administrator's file beside it
# until the user has one of their own.
# Usage: settings_location.sh GYRODEX GYRODEX_CLI
set -euo pipefail
gyrodex=$1
cli=$2
if [[ $(id -u) -ne 0 ]]; then
    user_run() { exec "$@"; }
elif command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    user_run() { exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
else
    echo "SKIP: no way to run as an unprivileged user here (setpriv)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 700 "$work/run"
mkdir "$work/bin" "$work/home"
cp "$gyrodex" "$cli" "$work/bin/"
# The administrator's file: hints with the date.
printf '[Integers]\r\nHintType=1\r\n[Strings]\r\nDateFormat=yyyy\r\n' >"$work/bin/gyrodex.ini"
chmod 555 "$work/bin"
chmod 444 "$work/bin/gyrodex.ini"
[[ $(id -u) -ne 0 ]] || chown nobody "$work/home" "$work/run"
# Always called in a subshell (a command substitution or a background job), which it replaces,
# so that $! is the program's own process.
env_run() {
    user_run env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen "$@"
}
config="$work/home/.config/Vantoric/Gyrodex/gyrodex.ini"

# The command-line tool reads the administrator's file: the hint carries the year.
hint=$(env_run "$work/bin/gyrodex-cli" hit 512 24 --today 01/05/2027 --highlight '01/05/2027$255#Party' | sed -n 2p)
[[ "$hint" == *"2027"* ]] || { echo "hint without the administrator's date format: '$hint'"; exit 1; }

# The desktop program ends (SIGTERM ends it as Exit does) with nothing reported; no setting
# changed, so nothing is written, neither beside it nor into the configuration folder (that a
# changed setting goes there is checked by the persist tests).
env_run "$work/bin/gyrodex" >"$work/out.txt" 2>&1 &
pid=$!
sleep 3
kill -TERM "$pid"
wait "$pid" || { echo "gyrodex ended with status $?"; cat "$work/out.txt"; exit 1; }
if grep -q 'Unable' "$work/out.txt"; then cat "$work/out.txt"; exit 1; fi
[[ ! -e "$config" ]] || { echo "settings written though none changed"; cat "$config"; exit 1; }
[[ "$(cat "$work/bin/gyrodex.ini")" == *"HintType=1"* ]] || { echo "the administrator's file changed"; exit 1; }

# Once the user has a file of their own, it counts: a description-only hint.
mkdir -p "$(dirname "$config")"
printf '[Integers]\r\nHintType=0\r\n[Strings]\r\nDateFormat=yyyy\r\n' >"$config"
hint=$(env_run "$work/bin/gyrodex-cli" hit 512 24 --today 01/05/2027 --highlight '01/05/2027$255#Party' | sed -n 2p)
[[ "$hint" != *"2027"* ]] || { echo "the user's own file was not read: '$hint'"; exit 1; }
echo "settings read and written where an installed program keeps them"
