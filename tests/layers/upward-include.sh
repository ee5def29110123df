#!/usr/bin/env bash
# For one library, the layer check must accept a downward include and refuse an upward one,
# one across side-by-side folders and one of the library's own headers by bare name.
#   upward-include.sh CHECK-SCRIPT LIBRARY
set -euo pipefail
check="$1"; library="$2"
tree=$(mktemp -d); trap 'rm -rf "$tree"' EXIT
mapfile -t folders < <("$check" --folders "$library")
for folder in "${folders[@]}"; do mkdir -p "$tree/$folder"; done
low="${folders[0]}"; high="${folders[-1]}"
touch "$tree/$low/Low.h" "$tree/$high/High.h"

expect() {  # expect accepted|refused WHAT
    if "$check" "$library" "$tree" >/dev/null; then got=accepted; else got=refused; fi
    [ "$got" = "$1" ] || { echo "$library: $2 $got"; exit 1; }
}

echo "#include \"$low/Low.h\"" > "$tree/$high/High.cpp"
echo '#include "OtherLibrary.h"' >> "$tree/$high/High.cpp"
expect accepted "downward include and another library's header"
echo "#include \"$high/High.h\"" > "$tree/$low/Low.cpp"
expect refused "upward include"
rm "$tree/$low/Low.cpp"
echo '#include "Low.h"' > "$tree/$high/Bare.cpp"
expect refused "own header without its folder"
rm "$tree/$high/Bare.cpp"
# Side-by-side folders are listed on one line; take the first pair the library has.
siblings=$("$check" --groups "$library" | grep ',' | head -1 || true)
if [ -n "$siblings" ]; then
    left="${siblings%%,*}"; rest="${siblings#*,}"; right="${rest%%,*}"
    touch "$tree/$right/Right.h"
    echo "#include \"$right/Right.h\"" > "$tree/$left/Left.cpp"
    expect refused "include beside its folder"
fi
echo "$library: upward, sideways and bare own includes refused"
