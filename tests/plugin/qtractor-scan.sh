#!/usr/bin/env bash
# qtractor-scan.sh PLUGIN.clap: Qtractor's plug-in scanner (a host without any host extension) must
# load the plug-in and report stereo in/out, one note input, seventeen writable parameters, and state.
set -euo pipefail
scanner=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan
[ -x "$scanner" ] || { echo "qtractor is not installed (scripts/setup installs it)"; exit 1; }
plugin=$(readlink -f "$1")
output=$(printf 'CLAP:%s\n' "$plugin" | "$scanner" 2>&1)
echo "$output"
line=$(echo "$output" | grep '^CLAP|' || true)
[[ "$line" == "CLAP|Scorchwire|2:2|1:0|17:0|"* ]] || { echo "unexpected scanner line: '$line'"; exit 1; }
flags=$(echo "$line" | cut -d'|' -f6)
for flag in GUI EXT RT; do
   [[ ",$flags," == *",$flag,"* ]] || { echo "flag $flag missing in '$flags'"; exit 1; }
done
