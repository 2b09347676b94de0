#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the Quorvix window.
#
# Without a graphical display (no $DISPLAY and no $WAYLAND_DISPLAY, as over plain ssh or in a
# container) the window cannot open: the script says so, shows how to use the command-line
# program instead and ends without waiting for anything. With --virtual-display it starts the
# window on an invisible virtual X display (xvfb-run) instead, which is useful only together
# with a VNC server or for screenshots; stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."

virtual_display=no
case "${1:-}" in
    "") ;;
    --virtual-display) virtual_display=yes ;;
    -h | --help)
        echo "usage: bash scripts/run.sh [--virtual-display]"
        exit 0
        ;;
    *)
        echo "run.sh: unknown option \"$1\"; usage: bash scripts/run.sh [--virtual-display]" >&2
        exit 2
        ;;
esac

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/src/gui/quorvix
fi

if [ "$virtual_display" = yes ]; then
    echo "No display found: starting Quorvix on a virtual X display (xvfb-run)."
    echo "Nothing appears on this screen; stop it with Ctrl+C."
    exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" build/src/gui/quorvix
fi

cat <<'TEXT'
Quorvix is built, but there is no graphical display here ($DISPLAY and $WAYLAND_DISPLAY
are empty), so its window cannot open. You can:

  * use the command-line program, which does the same three jobs:
        build/src/cli/quorvix-cli digest FILE...
        build/src/cli/quorvix-cli make FOLDER
        build/src/cli/quorvix-cli verify FOLDER/CheckSum.md5
  * run this script from a desktop session, or over "ssh -X", to get the window;
  * start the window on an invisible virtual display (for VNC or screenshots):
        bash scripts/run.sh --virtual-display

TEXT
exec build/src/cli/quorvix-cli --help
