#!/usr/bin/env bash
# Fails when a C++ source of the repository differs from what clang-format
# makes of it with the repo's .clang-format; lists the places.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
