#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/app/trevix" "$@"
