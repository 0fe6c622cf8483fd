#!/usr/bin/env bash
# Builds the game (installing what it needs) and starts it. Arguments are passed to the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/install-deps"
# Only the game and its content: the tests and benchmarks are built by ./test.sh.
"$root/scripts/build" "$root/build" --target tamblor -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [[ " $* " != *" --headless "* ]]; then
  echo "run.sh: no display found. To run without one: ./run.sh --headless --frames 600 --screenshot shot.png" >&2
fi
exec "$root/build/tamblor" "$@"
