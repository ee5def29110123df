#!/usr/bin/env bash
# Fails when an engine file includes a header of a folder above its own.
# Order, lowest first: common, binding, options, setup, then run and probe side by side,
# then component. A folder may include itself and anything below it.
set -euo pipefail
engine="${1:-$(dirname "$0")/../engine}"

rank() {
    case "$1" in
        common) echo 0 ;; binding) echo 1 ;; options) echo 2 ;; setup) echo 3 ;;
        run|probe) echo 4 ;; component) echo 5 ;; *) echo -1 ;;
    esac
}

status=0
while IFS= read -r file; do
    folder="${file#"$engine"/}"; folder="${folder%%/*}"
    own=$(rank "$folder")
    if [ "$own" -lt 0 ]; then
        echo "layers: $file is outside the engine's folders"; status=1; continue
    fi
    while IFS= read -r inc; do
        target="${inc%%/*}"
        [ "$target" = "$inc" ] && { echo "layers: $file includes \"$inc\" without its folder"; status=1; continue; }
        theirs=$(rank "$target")
        if [ "$theirs" -lt 0 ]; then
            echo "layers: $file includes \"$inc\" of no engine folder"; status=1
        elif [ "$theirs" -gt "$own" ] || { [ "$theirs" -eq "$own" ] && [ "$target" != "$folder" ]; }; then
            echo "layers: $file ($folder) includes \"$inc\" from above or beside it"; status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$engine" -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) | sort)

[ $status -eq 0 ] && echo "layers: every engine include points downward"
exit $status
