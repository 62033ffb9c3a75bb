#!/usr/bin/env bash
# Creates the project's Wine prefix once, before tests start in parallel.
set -eu
source "$(dirname "$0")/wine-env.sh"
wine cmd /c exit 0 >/dev/null 2>&1 || true
