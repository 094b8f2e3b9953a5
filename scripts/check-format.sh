#!/usr/bin/env bash
# Lists the tracked C++ files that differ from .clang-format; fails when there are any.
# Fix them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -uo pipefail
cd "$(dirname "$0")/.."
bad=0
while IFS= read -r f; do
  if ! clang-format --dry-run -Werror "$f" > /dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done < <(git ls-files '*.cpp' '*.h')
exit $bad
