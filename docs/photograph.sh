#!/usr/bin/env bash
# Photographs an offline page with headless Chromium for the pictures of the README and the
# manual. Nothing is fetched: the page needs no network, and the browser is kept from its own.
#   bash docs/photograph.sh PAGE PICTURE WIDTH,HEIGHT
set -euo pipefail
page=$(realpath "$1")
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --hide-scrollbars --window-size="$3" \
    --screenshot="$(realpath "$2")" "file://$page" 2>/dev/null
ls -l "$2"
