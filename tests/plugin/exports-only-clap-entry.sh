#!/usr/bin/env bash
# exports-only-clap-entry.sh PLUGIN.clap: fails unless the only dynamic symbol the object defines,
# besides the linker's own section markers, is clap_entry.
set -euo pipefail
symbols=$(nm -D --defined-only "$1" | awk '{print $NF}')
echo "$symbols"
echo "$symbols" | grep -qx clap_entry || { echo "clap_entry is not exported"; exit 1; }
others=$(echo "$symbols" | grep -vxE 'clap_entry|_init|_fini|_edata|_end|__bss_start' || true)
if [ -n "$others" ]; then
   echo "unexpected exports:"
   echo "$others"
   exit 1
fi
