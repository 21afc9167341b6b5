#!/usr/bin/env bash
# links-only-desktop-libraries.sh PLUGIN.clap: fails unless the object needs only libraries every
# Linux desktop has (C and C++ runtimes, xcb, xkbcommon, cairo, pango with its GObject base,
# fontconfig), links libstdc++ dynamically, and every symbol it leaves undefined is defined by one
# of those libraries.
set -euo pipefail
clap=$1
needed=$(readelf -d "$clap" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
echo "needed:"; echo "$needed"
allowed='^(libc|libm|libstdc\+\+|libgcc_s|ld-linux-x86-64|libxcb(-[a-z0-9]+)*|libxkbcommon(-x11)?|libcairo|libpango(cairo|ft2)?-1\.0|libgobject-2\.0|libglib-2\.0|libfontconfig)\.so(\.[0-9]+)*$'
bad=$(echo "$needed" | grep -vE "$allowed" || true)
[ -z "$bad" ] || { echo "libraries a desktop may not have:"; echo "$bad"; exit 1; }
echo "$needed" | grep -qx 'libstdc++.so.6' || { echo "libstdc++ is not linked dynamically"; exit 1; }

# Where the loader finds each needed library, then every name they define.
defined=$(mktemp)
trap 'rm -f "$defined"' EXIT
for lib in $needed; do
   path=$(ldd "$clap" | awk -v l="$lib" '$1 == l { print $3 }')
   [ -n "$path" ] && [ -f "$path" ] || { echo "$lib is not found by the loader"; exit 1; }
   nm -D --defined-only "$path" | awk '{ print $NF }' | sed 's/@.*//' >>"$defined"
done
sort -u -o "$defined" "$defined"
# Weak references (w, v) may stay unresolved by design; strong ones (U) must be defined.
missing=$(nm -D --undefined-only "$clap" | awk '$1 == "U" { print $2 }' | sed 's/@.*//' | sort -u |
   comm -23 - "$defined")
[ -z "$missing" ] || { echo "undefined symbols no needed library defines:"; echo "$missing"; exit 1; }
echo "every undefined symbol is defined by a needed library"
