#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Serves a built site through Debian's nginx with the shipped configuration
# (web/hosting/nginx.conf, and brotli.conf when the brotli module is there),
# at http://127.0.0.1:PORT/, in the foreground until it is stopped (Ctrl+C,
# or SIGTERM to this process). Everything nginx writes goes to a temporary
# folder that is removed afterwards.
#
#   scripts/nginx.sh SITE_DIR PORT
set -euo pipefail
site=$(realpath "$1")
port=$2
hosting=$(realpath "$(dirname "$0")/../web/hosting")
work=$(mktemp -d "${TMPDIR:-/tmp}/zirkulon-nginx.XXXXXX")
trap 'rm -rf "$work"' EXIT

brotli_module=/usr/lib/nginx/modules/ngx_http_brotli_static_module.so
load="" brotli=""
if [[ -f $brotli_module ]]; then
  load="load_module $brotli_module;"
  brotli="include $hosting/brotli.conf;"
fi

# One process, which stays in the foreground and, run as root, does not
# switch to another user that could not read the site.
cat >"$work/nginx.conf" <<CONF
$load
daemon off;
master_process off;
pid $work/nginx.pid;
error_log stderr warn;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/body;
    proxy_temp_path $work/proxy;
    fastcgi_temp_path $work/fastcgi;
    uwsgi_temp_path $work/uwsgi;
    scgi_temp_path $work/scgi;
    server {
        listen 127.0.0.1:$port;
        server_name localhost;
        root $site;
        include $hosting/nginx.conf;
        $brotli
    }
}
CONF
/usr/sbin/nginx -p "$work" -c "$work/nginx.conf" -e stderr &
nginx=$!
trap 'kill "$nginx" 2>/dev/null || true; wait "$nginx" || true; rm -rf "$work"' EXIT INT TERM
wait "$nginx"
