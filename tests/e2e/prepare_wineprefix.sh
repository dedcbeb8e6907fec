#!/bin/sh
# Makes the Wine prefix that every end-to-end test copies: made once, since a
# new prefix takes about 10 s, a copy well under one.
#   prepare_wineprefix.sh PREFIX_DIR
set -eu
prefix=$1
if [ -f "$prefix/.vemra-e2e-ready" ]; then
    exit 0
fi
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko installer: nothing to download, and no window that waits.
export WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
# A crashing program under test must end, not wait in Wine's crash dialog.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
# Xvfb has no window manager, and Wine waits 2 s for one to let go of every
# captioned window that is hidden (the sheet tests close hundreds). Windows
# that Wine frames itself close at once.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
test -f "$prefix/system.reg"
touch "$prefix/.vemra-e2e-ready"
