#!/bin/sh
# Screenshots of the main dialog, the four "Mine Info" pages and the "Find
# Mines" window on a scaled display, to look at: runs the sheet's first
# end-to-end test and the window's with Wine's LogPixels at DPI (144 = 150%)
# and takes a picture of the screen at each of their snapshot points:
# main.png (the main dialog), page1.png ... page4.png, find-near.png,
# find-along.png, find-matching.png.
# TEST names another test of the sheet with snapshot points of its own, e.g.
# InfoSheet.EveryPageShowsANameAlikeStoredAsUtf8OrWindows1252 (utf8-name.png).
#   dpi_screenshots.sh BUILD_DIR OUT_DIR [DPI [TEST]]     (BUILD_DIR: build/win64 or build/win32)
set -eu
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1200x24" sh "$0" "$@"
fi
build=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
test=${4:-InfoSheet.FirstMatchOpensFourPagesShowingTheClickedMine|FindMines.EachModeListsTheMinesVemraCliFindsInItsOrder}
export VEMRA_E2E_LOGPIXELS="${3:-144}" VEMRA_E2E_SNAPSHOTS="$out"
rm -f "$out"/*.ready "$out"/*.done

ctest --test-dir "$build" -R "^e2e\\.(prepare_wineprefix|$test)\$" \
    --output-on-failure >"$out/ctest.log" 2>&1 &
test_pid=$!
while kill -0 "$test_pid" 2>/dev/null; do
    for ready in "$out"/*.ready; do
        [ -e "$ready" ] || continue
        name=$(basename "$ready" .ready)
        import -window root "$out/$name.png"
        rm -f "$ready"
        touch "$out/$name.done"
    done
    sleep 0.2
done
status=0
wait "$test_pid" || status=$?
rm -f "$out"/*.done
tail -n 3 "$out/ctest.log"
ls "$out"/*.png
exit $status
