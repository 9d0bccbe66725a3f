#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds Zirkulon for the browser and serves the site
# at http://127.0.0.1:${PORT:-8080}/ with Python's static file server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --web
# shellcheck source=scripts/web-env.sh
source scripts/web-env.sh
build_site build-web -DBUILD_TESTING=OFF
echo "Zirkulon: http://127.0.0.1:${PORT:-8080}/ (Ctrl+C ends the server)"
exec /usr/bin/python3 -m http.server "${PORT:-8080}" --bind 127.0.0.1 --directory build-web/web/site
