#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks every tracked C++ file: it carries the licence's SPDX line near its top and is laid out as
# .clang-format says. Prints the files that fail and exits 1 when there is any.
set -uo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
else
    mapfile -t files < <(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print)
fi
status=0
missing=()
for f in "${files[@]}"; do
    [[ -f "$f" ]] || continue
    head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || missing+=("$f")
done
if ((${#missing[@]})); then
    echo "No SPDX licence line in the first lines of:"
    printf '  %s\n' "${missing[@]}"
    status=1
fi
format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
    echo "$format is not installed"
    exit 1
fi
mapfile -t unformatted < <(printf '%s\0' "${files[@]}" | xargs -0 "$format" --dry-run 2>&1 |
    sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: .*-Wclang-format-violations.*/\1/p' | sort -u)
if ((${#unformatted[@]})); then
    echo "Not laid out as .clang-format says (run: clang-format -i FILE):"
    printf '  %s\n' "${unformatted[@]}"
    status=1
fi
exit $status
