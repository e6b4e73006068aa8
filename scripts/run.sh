#!/usr/bin/env bash
# Installs what is needed, builds, and runs VORTELAN: the desktop program on the sample project when
# a display is available, otherwise a headless demonstration with the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vortelan vortelan-cli
bin=build/release
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/vortelan" "$@"
fi
echo "No display found: running the headless demonstration."
echo
status=0
for f in data/Projects/*.pzn; do
  [ -e "$f" ] || { echo "No sample projects found under data/Projects."; break; }
  echo "== $(basename "$f")"
  "$bin/vortelan-cli" check "$f" || status=1
  "$bin/vortelan-cli" solve "$f" || status=1
  echo
done
if [ $status -eq 0 ]; then
  echo "Demonstration finished: every sample project was read and solved."
else
  echo "Demonstration finished with problems (see above)."
fi
exit $status
