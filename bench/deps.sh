#!/usr/bin/env bash
# Installs what `make bench` needs beyond the build: NSIS to compare with, GNU time for the
# builders' peak memory, Xlib for watching the first page. Does nothing when all is present.
set -euo pipefail
exec bash "$(dirname "$0")/../scripts/deps.sh" nsis time libx11-6
