#!/bin/bash
# Runs one Windows program under wine in the project's prefix (the test emulator).
. "$(dirname "$0")/wine-env.sh"
ensure_wine_prefix
exec wine "$@"
