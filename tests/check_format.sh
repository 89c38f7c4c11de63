#!/usr/bin/env bash
# Fails when clang-format would change a C++ file of the project, naming the
# files and the command that formats them.
#   check_format.sh SOURCE_DIR
set -euo pipefail
cd "$1"
mapfile -t files < <(find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -not -path '*/build/*' | sort)
unformatted=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says: ${unformatted[*]}"
  echo "Format them with: ./run format   (or: clang-format -i FILE...)"
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"
