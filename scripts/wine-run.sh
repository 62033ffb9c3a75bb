#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix and passes its exit code on.
set -u
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
