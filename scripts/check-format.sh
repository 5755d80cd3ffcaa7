#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source is not as clang-format (the one on
# PATH, with the repository's .clang-format) would write it.
set -euo pipefail
cd "$(dirname "$0")/.."

unformatted=()
while IFS= read -r file; do
  # A template's extension says nothing to clang-format: it is read as the header it makes.
  if ! clang-format --dry-run -Werror --assume-filename="${file%.in}" <"$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files '*.cpp' '*.h' '*.h.in')

if [ ${#unformatted[@]} -gt 0 ]; then
  echo "not formatted as $(clang-format --version); run clang-format -i on:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
