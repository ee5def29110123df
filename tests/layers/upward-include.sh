#!/usr/bin/env bash
# The layer check must refuse an upward include and one across siblings, and accept a
# downward one.
set -euo pipefail
check="$1"
tree=$(mktemp -d); trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{common,binding,options,setup,run,probe,component}
echo '#include "options/A.h"' > "$tree/setup/B.cpp"
"$check" "$tree" >/dev/null || { echo "downward include refused"; exit 1; }
echo '#include "run/C.h"' > "$tree/options/A.cpp"
if "$check" "$tree" >/dev/null; then echo "upward include accepted"; exit 1; fi
rm "$tree/options/A.cpp"
echo '#include "probe/D.h"' > "$tree/run/E.cpp"
if "$check" "$tree" >/dev/null; then echo "sibling include accepted"; exit 1; fi
echo "upward and sibling includes refused"
