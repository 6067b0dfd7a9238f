#!/usr/bin/env bash
# The trace viewer in a real browser: a trace written through the tool (with a failing call) that
# names the stylesheet, opened in headless Chromium; the page must hold one row per call with the
# failure highlighted. Also rendered to a static page with `zpv4870 trace view`.
# Usage: viewer_in_chromium.sh <zpv4870 tool> <source dir>. Exit 77 (skipped) without Chromium.
set -euo pipefail
tool=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/ivi/Components/Kaltrix"
cp "$src/share/trace.xslt" "$work/ivi/Components/Kaltrix/"
export ZPV4870_IVI_ROOT="$work/ivi"
# The range cannot be set in the driver's own simulation: the last call fails.
"$tool" set "" --options "Simulate=true, DriverSetup=Trace=true, TraceName=$work/trace" \
  Ivi.OutputPhase1.VoltageLevel=230 ManualMode.Frequency=50 ManualMode.Range=high >/dev/null 2>&1 && exit 1
calls=$(grep -c '<Method ' "$work/trace.xml")
grep -q "<?xml-stylesheet type=\"text/xsl\" href=\"file:\\\\\\\\$work/ivi/Components/Kaltrix/trace.xslt\"?>" "$work/trace.xml" ||
  { echo "the trace does not name the stylesheet:"; head -3 "$work/trace.xml"; exit 1; }

check() {  # <page> <where>
  local rows failed
  rows=$(grep -o '<tr class="call[^"]*"' "$1" | wc -l)
  failed=$(grep -o '<tr class="call failed"' "$1" | wc -l)
  [ "$rows" -eq "$calls" ] || { echo "$2: $rows rows for $calls calls"; exit 1; }
  [ "$failed" -eq 1 ] || { echo "$2: $failed failed rows, expected 1"; exit 1; }
  grep -q 'A connection to the instrument has not been established.' "$1" || { echo "$2: no failure message"; exit 1; }
}

"$tool" trace view "$work/trace.xml" -o "$work/static.html" >/dev/null
check "$work/static.html" "xsltproc"

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "Chromium is not installed (Debian package chromium): the viewer was not checked in a browser."
  exit 77
fi
# --no-sandbox: CI runs as root, where Chromium's sandbox refuses to start.
timeout 120 "$browser" --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
  --dump-dom "file://$work/trace.xml" >"$work/dom.html" 2>"$work/chromium.log" ||
  { echo "Chromium failed:"; tail -5 "$work/chromium.log"; exit 1; }
check "$work/dom.html" "Chromium"
echo "the trace of $calls calls renders in Chromium and with xsltproc, its failure highlighted"
