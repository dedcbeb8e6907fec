#!/usr/bin/env bash
# Runs Vemra under Wine beside the stand-in OziExplorer, whose map shows the
# mines of the data file: click a dot on the map and "Mine Info" opens.
#   scripts/run.sh [DATA_FILE]      (default: the bundled sample data)
# Without a display it runs under Xvfb, clicks a mine on the map itself,
# saves a screenshot and says where.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
headless=false
data=$root/data/mrds-sample.csv
for argument in "$@"; do
    case $argument in
        --headless) headless=true ;;
        *) data=$argument ;;
    esac
done
data=$(realpath "$data")
# A mine of the sample data, clicked when nobody else can.
demo_latitude=39.63718
demo_longitude=-117.05204

if [[ -z ${DISPLAY:-} ]]; then
    "$root/scripts/setup.sh"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$data" --headless
fi
"$root/scripts/setup.sh"

build=$root/build/win64
cmake --preset win64 -S "$root" >/dev/null
cmake --build "$build" -j2 --target Vemra OziExp oziapi

# The program finds oziapi.dll beside itself, as it finds OziExplorer's.
demo=$build/demo
mkdir -p "$demo"
cp "$build/Vemra.exe" "$build/ozisim/OziExp.exe" "$build/ozisim/oziapi.dll" "$demo/"
cp "$data" "$demo/"
name=$(basename "$data")

export WINEPREFIX=$build/wineprefix-demo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "run: preparing a Wine prefix (once, about 10 s)"
fi
"$wine" wineboot --init >/dev/null 2>&1 || true
if $headless; then
    # Xvfb has no window manager: let Wine draw the captions and frames.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
"$root/scripts/start_wineserver.sh"
trap '"$wineserver" -k 2>/dev/null || true' EXIT

cd "$demo"
"$wine" OziExp.exe --mines "$name" &
# --click answers 3 while no map is up and 1 for a point off the map.
for _ in $(seq 100); do
    status=0
    "$wine" OziExp.exe --click 0,0 >/dev/null 2>&1 || status=$?
    [[ $status == 1 ]] && break
    sleep 0.2
done
"$wine" Vemra.exe "$name" &
vemra=$!

if ! $headless; then
    echo "run: Vemra is running; click a mine on the map. Close Vemra to end."
    wait "$vemra" || true
    exit 0
fi

sleep 4  # the program loads its data and switches capture on
"$wine" OziExp.exe --click "$demo_latitude,$demo_longitude"
sleep 2
shot=$build/vemra-demo.png
import -window root "$shot"
echo "run: clicked the map at $demo_latitude, $demo_longitude; screenshot: $shot"
