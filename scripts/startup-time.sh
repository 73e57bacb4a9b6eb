#!/usr/bin/env bash
# Measures Gyrodex's start-up: from starting the process to its main window showing the
# painted wheel (the pixel at the image's centre turns from the window's colour to the
# wheel's background), on a private Xvfb display with openbox. Prints each run and the median.
#   scripts/startup-time.sh [RUNS] [WxH]      (defaults: 10 runs, 1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
size=${2:-1920x1080}
program=$(realpath build/ui/gyrodex)
work=$(mktemp -d)
n=80
while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 0.5
cp "$program" "$work/gyrodex"
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work"
# The probe reads one pixel of the screen through Xlib every 2 ms.
python3 - "$work/gyrodex" "$runs" "${size%x*}" "${size#*x}" <<'PY'
import ctypes, subprocess, sys, time
program, runs, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XGetPixel.restype = ctypes.c_ulong
x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
d = x.XOpenDisplay(None)
root = x.XDefaultRootWindow(d)
def pixel():
    img = x.XGetImage(d, root, w // 2, h // 2, 1, 1, 0xFFFFFFFF, 2)
    return x.XGetPixel(img, 0, 0) & 0xFFFFFF
times = []
for i in range(runs):
    start = time.monotonic()
    app = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while pixel() != 0x6F5CD1:  # the default background 0xD15C6F as the screen stores it
        if time.monotonic() - start > 20:
            sys.exit("no painted wheel after 20 s")
        time.sleep(0.002)
    ms = (time.monotonic() - start) * 1000
    times.append(ms)
    print(f"run {i + 1}: {ms:.0f} ms")
    app.terminate()
    app.wait()
    time.sleep(0.3)
times.sort()
print(f"median of {runs} runs at {w}x{h}: {times[runs // 2]:.0f} ms")
PY
