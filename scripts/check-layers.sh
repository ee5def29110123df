#!/usr/bin/env bash
# Fails when a file of a layered library includes a header of a folder above its own or
# beside it, or names one of the library's headers without its folder.
#   check-layers.sh LIBRARY [ROOT]      LIBRARY is engine, profiles or app
#   check-layers.sh --folders LIBRARY   prints the library's folders, lowest first
#   check-layers.sh --groups LIBRARY    the same, side-by-side folders on one line
# A folder may include itself and anything below it. Files at the library's root (main.cpp)
# sit above every folder. An include by bare name of a header the library does not hold is
# another library's public header and is left alone.
set -euo pipefail

# Folders lowest first; folders joined by "," sit side by side and may not include each other.
layers() {
    case "$1" in
        engine)   echo "common binding options setup run,probe component" ;;
        profiles) echo "catalogue fit jobs" ;;
        app)      echo "util dialogs list,settings preview,options batch window" ;;
        *) echo "layers: no library '$1'" >&2; exit 2 ;;
    esac
}

case "${1:-}" in
    --folders) layers "$2" | tr ' ,' '\n\n'; exit 0 ;;
    --groups)  layers "$2" | tr ' ' '\n'; exit 0 ;;
esac

library="$1"
root="${2:-$(dirname "$0")/../$library}"
order=$(layers "$library")

rank() {
    local level=0 group
    for group in $order; do
        case ",$group," in *",$1,"*) echo $level; return ;; esac
        level=$((level + 1))
    done
    echo -1
}
top=$(( $(wc -w <<<"$order") ))

# The library's own headers, by bare name, to catch one included without its folder.
declare -A own_header
while IFS= read -r header; do own_header["${header##*/}"]=1; done \
    < <(find "$root" -mindepth 2 -name '*.h')

status=0
while IFS= read -r file; do
    relative="${file#"$root"/}"
    if [ "$relative" = "${relative%%/*}" ]; then
        folder=""; own=$top
    else
        folder="${relative%%/*}"; own=$(rank "$folder")
    fi
    if [ "$own" -lt 0 ]; then
        echo "layers: $file is outside the $library's folders"; status=1; continue
    fi
    while IFS= read -r inc; do
        target="${inc%%/*}"
        if [ "$target" = "$inc" ]; then
            if [ -n "${own_header[$inc]:-}" ]; then
                echo "layers: $file includes \"$inc\" without its folder"; status=1
            fi
            continue
        fi
        theirs=$(rank "$target")
        if [ "$theirs" -lt 0 ]; then
            echo "layers: $file includes \"$inc\" of no $library folder"; status=1
        elif [ "$theirs" -gt "$own" ] || { [ "$theirs" -eq "$own" ] && [ "$target" != "$folder" ]; }; then
            echo "layers: $file (${folder:-root}) includes \"$inc\" from above or beside it"; status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$root" \( -name '*.h' -o -name '*.cpp' \) | sort)

[ $status -eq 0 ] && echo "layers: every $library include points downward"
exit $status
