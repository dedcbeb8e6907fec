#!/bin/sh
# Starts a persistent wineserver for $WINEPREFIX, detached from the caller's
# output, and returns once it serves.
#
# Without one, every Wine program starts its own server, which exits a few
# seconds after its last client: a program that connects while that server
# is on its way out dies with "recvmsg: Connection reset by peer", and a
# server started by a test keeps the test runner's output pipe open. A server
# of the prefix that is already running (wineboot's, say) is not persistent,
# and "wineserver -p" then fails: wait for it to end, then start ours.
# The prefix's services (winedevice.exe and the like) start with the first
# program and live as long as the server; they inherit that program's
# output, so the first program here has none: a runner waiting for a test's
# output to close would otherwise wait for the server's end.
set -u
: "${WINEPREFIX:?start_wineserver.sh needs WINEPREFIX}"
wineserver=/usr/lib/wine/wineserver
tries=0
until "$wineserver" -p </dev/null >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -ge 100 ]; then
        echo "start_wineserver.sh: no persistent wineserver for $WINEPREFIX" >&2
        exit 1
    fi
    "$wineserver" -w 2>/dev/null
    sleep 0.1
done
/usr/lib/wine/wine64 cmd.exe /c exit </dev/null >/dev/null 2>&1
