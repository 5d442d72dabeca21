#!/usr/bin/env bash
# check_layers_test.sh CHECKER: runs the layer checker on a small tree with
# one include per case and compares its exit status and its first line of
# output with what the case expects.
set -euo pipefail
checker=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

layout='## Layout

| layer | folders | include besides their own headers |
| --- | --- | --- |
| 1 | `low/`, `plug/api.h` | nothing |
| 2 | `mid/`, `side/` | lower layers |
| 3 | `mid/sub/` | lower layers |
| 4 | `top/` | lower layers |
| – | `plug/` | `plug/api.h` |

## Next section

| layer | folders | include besides their own headers |
| --- | --- | --- |
| 9 | `tests/` | lower layers |
'
readme_std=$layout
readme_none='## Layout

No table here.
'
readme_twice="${layout/'| 4 | `top/`'/'| 4 | `top/`, `mid/`'}"
readme_unknown="${layout/'| `plug/api.h` |'/'| `plug/api.h`, `gone/` |'}"

# readme | file | include line | status | first line of output
cases='
std|top/a.cpp|#include "mid/b.h"|0|check-layers: 2 files keep to the layers
std|mid/b.cpp|#include "mid/c.h"|0|check-layers: 2 files keep to the layers
std|mid/sub/d.cpp|#include "mid/b.h"|0|check-layers: 2 files keep to the layers
std|mid/b.cpp|#include "plug/api.h"|0|check-layers: 2 files keep to the layers
std|plug/impl.cpp|#include "plug/api.h"|0|check-layers: 2 files keep to the layers
std|top/a.cpp|#include <SDL2/SDL.h>|0|check-layers: 2 files keep to the layers
std|top/a.cpp|#include "tests/x.h"|1|top/a.cpp:3: #include "tests/x.h" reaches into tests/, which is not in the layer table
std|mid/b.cpp|#include "top/a.h"|1|mid/b.cpp:3: #include "top/a.h" reaches up from mid/ (layer 2) to top/ (layer 4)
std|low/x.cpp|  #  include <top/a.h>|1|low/x.cpp:3: #include <top/a.h> reaches up from low/ (layer 1) to top/ (layer 4)
std|mid/b.h|#include "mid/sub/d.h"|1|mid/b.h:3: #include "mid/sub/d.h" reaches up from mid/ (layer 2) to mid/sub/ (layer 3)
std|mid/b.cpp|#include "side/c.h"|1|mid/b.cpp:3: #include "side/c.h" reaches sideways from mid/ to side/ (both layer 2)
std|low/x.cpp|#include "plug/api.h"|1|low/x.cpp:3: #include "plug/api.h" reaches sideways from low/ to plug/api.h (both layer 1)
std|top/a.cpp|#include "plug/impl.h"|1|top/a.cpp:3: #include "plug/impl.h" reaches from top/ (layer 4) into plug/, which is outside the layers
std|plug/impl.cpp|#include "low/x.h"|1|plug/impl.cpp:3: #include "low/x.h": plug/ is outside the layers and includes only its own headers and `plug/api.h`
std|top/a.cpp|#include "../low/x.h"|1|top/a.cpp:3: #include "../low/x.h" climbs out of its folder; name headers from the source root
none|top/a.cpp|#include "low/x.h"|2|README.md: no layer table (a "| layer |" header) in the Layout section
twice|top/a.cpp|#include "low/x.h"|2|README.md: mid/ is in the layer table twice
unknown|plug/impl.cpp|#include "plug/api.h"|2|README.md: plug/ uses `gone/`, which is not in the layer table
'

failures=0
while IFS='|' read -r readme file include want_status want_line; do
  [ -n "$readme" ] || continue
  tree="$work/case"
  rm -rf "$tree"
  mkdir -p "$tree/low" "$tree/mid/sub" "$tree/side" "$tree/top" "$tree/plug" "$tree/tests"
  var="readme_$readme"
  printf '%s' "${!var}" > "$tree/README.md"
  # A second file, so every case also shows that a clean file stays quiet.
  printf '#pragma once\n#include "low/y.h"\n' > "$tree/top/clean.h"
  mkdir -p "$(dirname "$tree/$file")"
  printf '// %s\n\n%s\n' "$file" "$include" > "$tree/$file"
  status=0
  output=$(bash "$checker" "$tree" 2>&1) || status=$?
  line=${output%%$'\n'*}
  if [ "$status" != "$want_status" ] || [ "$line" != "$want_line" ]; then
    echo "FAIL: $file with '$include' (README $readme)"
    echo "  expected status $want_status: $want_line"
    echo "  got      status $status: $output"
    failures=$((failures + 1))
  fi
done <<< "$cases"
[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
echo "all cases passed"
