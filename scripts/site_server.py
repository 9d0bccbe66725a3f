#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Python's static file server for the built site, with the headers of the
shipped configuration that the page depends on: the WebAssembly as
application/wasm, the Content-Security-Policy and nosniff. Like many static
hosts it sends Last-Modified and no Cache-Control. serve.sh serves the site
with it; the page's tests and the benchmark serve it the same way.

The policy is the one web/hosting/nginx.conf sends, read from there so that
it has one home.

    scripts/site_server.py SITE_DIR PORT
"""
import functools
import http.server
import os
import re
import sys

NGINX_CONF = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web', 'hosting',
                          'nginx.conf')


def shipped_policy():
    """The Content-Security-Policy of the shipped nginx configuration."""
    with open(NGINX_CONF, encoding='utf-8') as conf:
        found = re.search(r'^add_header Content-Security-Policy "([^"]+)" always;$', conf.read(),
                          re.MULTILINE)
    if found is None:
        raise RuntimeError(f'{NGINX_CONF} sends no Content-Security-Policy')
    return found[1]


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        '.wasm': 'application/wasm',
        '.js': 'text/javascript',
        '.webmanifest': 'application/manifest+json',
        '.woff2': 'font/woff2',
    }
    policy = shipped_policy()

    def end_headers(self):
        if self.sends_policy():
            self.send_header('Content-Security-Policy', self.policy)
            self.send_header('X-Content-Type-Options', 'nosniff')
        super().end_headers()

    def sends_policy(self):
        return True


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: site_server.py SITE_DIR PORT')
    handler = functools.partial(SiteHandler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[2])), handler)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
