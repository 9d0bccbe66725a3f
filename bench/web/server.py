# SPDX-License-Identifier: GPL-3.0-or-later
"""The static server for both pages, with the headers of cross-origin
isolation, and for the site those of the shipped configuration
(scripts/site_server.py)."""
import functools
import http.server
import os
import sys
import threading

from . import ROOT

sys.path.insert(0, os.path.join(ROOT, 'scripts'))
from site_server import SiteHandler  # noqa: E402


class Handler(SiteHandler):
    """Serves the site under /site/ and the bare page under /bare/."""
    protocol_version = 'HTTP/1.1'

    def __init__(self, *args, roots, **kwargs):
        self.roots = roots
        super().__init__(*args, **kwargs)

    def translate_path(self, path):
        path = path.split('?', 1)[0].split('#', 1)[0]
        for prefix, root in self.roots.items():
            if path.startswith(prefix):
                rest = path[len(prefix):]
                if rest == '' or rest.endswith('/'):
                    rest += 'index.html'
                full = os.path.realpath(os.path.join(root, rest))
                if full.startswith(os.path.realpath(root) + os.sep):
                    return full
        return os.path.join(os.sep, 'nonexistent')

    def sends_policy(self):
        # The bare page keeps its style inline, which the site's policy forbids.
        return not self.path.startswith('/bare/')

    def end_headers(self):
        # Cross-origin isolation changes nothing for pages that load only
        # their own files, but gives performance.now() a resolution of 5 us
        # instead of 100 us, which the timing in the page needs.
        self.send_header('Cross-Origin-Opener-Policy', 'same-origin')
        self.send_header('Cross-Origin-Embedder-Policy', 'require-corp')
        super().end_headers()

    def log_message(self, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # The browser drops connections as it navigates away or quits.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def start_server(roots):
    server = Server(
        ('127.0.0.1', 0), functools.partial(Handler, roots=roots))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server
