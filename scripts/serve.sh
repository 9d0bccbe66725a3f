#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds Zirkulon for the browser and serves the site
# at http://127.0.0.1:${PORT:-8080}/ with Python's static file server and the
# headers the page needs (scripts/site_server.py), or
#   scripts/serve.sh nginx
# through Debian's nginx with the configuration in web/hosting/, as a school
# would publish it. Ctrl+C stops either.
set -euo pipefail
cd "$(dirname "$0")/.."
server=${1:-python}
case $server in
python) scripts/setup.sh --web ;;
nginx) scripts/setup.sh --nginx ;;
*) echo "usage: $0 [nginx]" >&2; exit 2 ;;
esac
cmake --preset web
cmake --build --preset web
echo "Zirkulon: http://127.0.0.1:${PORT:-8080}/ (Ctrl+C ends the server)"
echo "The single-file version: build-web/web/zirkulon.html"
if [[ $server == nginx ]]; then
  exec scripts/nginx.sh build-web/web/site "${PORT:-8080}"
fi
exec /usr/bin/python3 scripts/site_server.py build-web/web/site "${PORT:-8080}"
