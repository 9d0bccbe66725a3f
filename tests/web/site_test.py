#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The site as it travels: a new version reaching a returning visitor, the
shipped nginx configuration on real nginx, every file kept by the service
worker, and the single-file page from the file system, in headless Chromium.

    site_test.py SITE_DIR SINGLE_FILE SOURCE_DIR NODE FONT_DIR PAGES FIRST_PICTURE
"""
import contextlib
import gzip
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import CSP_RECORDER, PageHelpers, Site, browser, wait  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
SITE = SINGLE = SOURCE = NODE = FONT_DIR = PAGES = FIRST_PICTURE = None


def site_files(folder):
    """The files the service worker must keep: all but itself and the
    servers' precompressed copies."""
    return sorted(name for name in os.listdir(folder)
                  if not name.endswith(('.gz', '.br')) and name != 'sw.js')


def make_old(folder):
    """Dates every file two years back: a server that sends Last-Modified and
    no Cache-Control then lets the browser reuse them for weeks."""
    old = time.time() - 2 * 365 * 86400
    for name in os.listdir(folder):
        os.utime(os.path.join(folder, name), (old, old))


class Browser(PageHelpers, unittest.TestCase):
    """Each test gets a browser of its own, with an empty profile, and the
    page tests' helpers."""

    def setUp(self):
        self.driver = browser()
        self.cdp('Page.addScriptToEvaluateOnNewDocument', source=CSP_RECORDER)
        self.cleanups = contextlib.ExitStack()

    def tearDown(self):
        try:
            errors = [e['message'] for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']
            self.assertEqual(errors, [], 'console errors')
        finally:
            self.driver.quit()
            shutil.rmtree(self.driver.profile, ignore_errors=True)
            self.cleanups.close()

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def load(self, url):
        self.driver.get(url)
        wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent"),
             'the game to start')

    def plays(self):
        """A drag to 135 degrees and «prüfen»: the exact verdict."""
        self.drag(self.towards(300), self.towards(135, reach=150))
        self.assertTrue(self.leg_points_to(135))
        expected = self.verdict_at_135()
        self.menu('MGuess')
        self.assertEqual(self.box(), ('Zirkulon', expected, None))
        self.answer(Keys.ENTER)
        self.assertEqual(self.js('return window.violations'), [], 'CSP violations')

    def worker_ready(self):
        """Waits until a service worker controls the page and its cache is
        filled; returns the cache's name."""
        wait(lambda: self.js("return navigator.serviceWorker.controller !== null"),
             'the service worker to control the page', seconds=20)
        return self.driver.execute_async_script(
            "const done = arguments[0];"
            "navigator.serviceWorker.ready.then(() => caches.keys()).then((k) => done(k.join(' ')));")

    def serve(self, folder):
        site = Site(folder)

        def cut():
            with contextlib.suppress(OSError):
                site.cut()
        self.cleanups.callback(cut)
        return site

    # ---- the tests -------------------------------------------------------------

    def test_a_new_version_arrives_by_the_second_visit_whatever_the_caching_headers(self):
        work = tempfile.mkdtemp(prefix='zirkulon-update-')
        self.cleanups.callback(shutil.rmtree, work, ignore_errors=True)
        site, source = os.path.join(work, 'site'), os.path.join(work, 'web')
        shutil.copytree(SITE, site)
        shutil.copytree(SOURCE, source)
        make_old(site)
        server = self.serve(site)  # Python's: an old Last-Modified, no Cache-Control
        self.load(server.url)
        old_cache = self.worker_ready()
        self.assertEqual(self.js("return getComputedStyle(document.documentElement)"
                                 ".getPropertyValue('--deploy')"), '')

        # A new stylesheet, the site assembled again, every file dated back.
        with open(os.path.join(source, 'zirkulon.css'), 'a', encoding='utf-8') as css:
            css.write('\n:root { --deploy: 2; }\n')
        subprocess.run(['cmake', f'-DSOURCE={source}', f'-DSITE={site}',
                        f'-DSINGLE={os.path.join(work, "zirkulon.html")}', f'-DFONT_DIR={FONT_DIR}',
                        f'-DNODE={NODE}', f'-DFIRST_PICTURE={FIRST_PICTURE}', f'-DPAGES={PAGES}',
                        '-P', os.path.join(source, 'site.cmake')],
                       check=True, stdout=subprocess.DEVNULL)
        make_old(site)

        self.load(server.url)   # the first visit after the deploy finds the new worker
        wait(lambda: self.driver.execute_async_script(
            "const [old, done] = arguments;"
            "caches.keys().then((k) => done(k.length === 1 && k[0] !== old));",
            old_cache), 'the new version to be installed', seconds=20)
        self.load(server.url)   # the second shows it
        self.assertEqual(self.js("return getComputedStyle(document.documentElement)"
                                 ".getPropertyValue('--deploy').trim()"), '2')

    def test_every_file_loads_from_the_worker_after_the_server_is_cut(self):
        server = self.serve(SITE)
        self.load(server.url)
        self.worker_ready()
        server.cut()
        self.cdp('Network.clearBrowserCache')
        self.load(server.url)
        names = site_files(SITE)
        self.assertIn('ComicNeue-Regular.woff2', names)
        missing = self.driver.execute_async_script("""
            const done = arguments[1];
            Promise.all(arguments[0].map((name) => fetch(name, { cache: 'no-store' })
                .then((r) => (r.ok ? null : name), () => name)))
              .then((failed) => done(failed.filter((name) => name !== null)));""", names)
        self.assertEqual(missing, [])
        self.assertTrue(self.js("return document.fonts.check('16px \"Comic Neue\"')"))
        self.plays()

    def test_nginx_with_the_shipped_configuration_sends_its_headers_and_plays(self):
        with socket.socket() as probe:
            probe.bind(('127.0.0.1', 0))
            port = probe.getsockname()[1]
        nginx = subprocess.Popen([os.path.join(ROOT, 'scripts', 'nginx.sh'), SITE, str(port)],
                                 stdout=subprocess.DEVNULL)
        self.cleanups.callback(nginx.wait, timeout=10)
        self.cleanups.callback(nginx.send_signal, signal.SIGTERM)
        url = f'http://127.0.0.1:{port}/'
        wait(lambda: nginx.poll() is not None or self.reachable(url), 'nginx to listen')
        self.assertIsNone(nginx.poll(), 'nginx did not start (its messages are above)')

        # The page has its policy from the server alone: nginx's must be the
        # one Apache's configuration sets too.
        with open(os.path.join(ROOT, 'web', 'hosting', 'apache.conf'), encoding='utf-8') as conf:
            policy = re.search(r'Header always set Content-Security-Policy "([^"]*)"',
                               conf.read())[1]
        types = {'': 'text/html', 'index.html': 'text/html', 'page.js': 'text/javascript',
                 'zirkulon.js': 'text/javascript', 'sw.js': 'text/javascript',
                 'zirkulon.css': 'text/css', 'zirkulon.wasm': 'application/wasm',
                 'manifest.webmanifest': 'application/manifest+json',
                 'ComicNeue-Regular.woff2': 'font/woff2', 'icon-192.png': 'image/png'}
        for name, kind in types.items():
            with self.subTest(name=name):
                headers, body = self.get(url + name, 'gzip')
                self.assertEqual(headers['Content-Type'].split(';')[0], kind)
                self.assertEqual(headers['X-Content-Type-Options'], 'nosniff')
                self.assertEqual(headers['Content-Security-Policy'], policy)
                cache = headers['Cache-Control']
                if name in ('', 'index.html', 'sw.js', 'zirkulon.js', 'zirkulon.wasm'):
                    self.assertEqual(cache, 'no-cache')
                else:
                    self.assertRegex(cache, r'^(no-cache|public, max-age=\d+)$')
                local = os.path.join(SITE, name or 'index.html')
                with open(local, 'rb') as f:
                    original = f.read()
                if os.path.exists(local + '.gz'):
                    self.assertEqual(headers['Content-Encoding'], 'gzip')
                    self.assertIn('Accept-Encoding', headers['Vary'])
                    self.assertEqual(gzip.decompress(body), original)
                    headers, body = self.get(url + name, 'br')
                    self.assertEqual(headers['Content-Encoding'], 'br')
                    headers, body = self.get(url + name, None)
                    self.assertIsNone(headers['Content-Encoding'])
                self.assertEqual(body, original)
        self.load(url)
        self.plays()
        # The policy holds: a script slipped into the page does not run.
        self.js("document.head.append(Object.assign(document.createElement('script'),"
                " { textContent: 'window.slipped = true' }))")
        self.assertIsNone(self.js('return window.slipped'))
        self.assertEqual(self.js('return window.violations'), ['script-src-elem inline'])
        refused = [e['message'] for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']
        self.assertEqual(len(refused), 1)
        self.assertIn('Content Security Policy', refused[0])

    def test_the_single_file_plays_from_the_file_system_with_no_network(self):
        with open(SINGLE, 'rb') as f:
            single = f.read()
        self.assertLessEqual(len(gzip.compress(single, 9)), 160_000)
        # The font's licence and the runtime's notices go with them.
        self.assertIn(b'SIL OPEN FONT LICENSE', single)
        self.assertIn(b'Copyright 2005-2020 Rich Felker', single)
        folder = tempfile.mkdtemp(prefix='zirkulon-usb-')
        self.cleanups.callback(shutil.rmtree, folder, ignore_errors=True)
        copy = shutil.copy(SINGLE, folder)
        self.cdp('Network.enable')
        self.cdp('Network.emulateNetworkConditions', offline=True, latency=0,
                 downloadThroughput=-1, uploadThroughput=-1)
        # A browser language that Intl refuses: the page reads the number
        # format itself here, and must fall back.
        self.cdp('Page.addScriptToEvaluateOnNewDocument',
                 source="Object.defineProperty(Navigator.prototype, 'language', { get: () => 'C' });")
        self.driver.get_log('performance')
        self.load('file://' + copy)
        self.plays()
        self.assertEqual(self.text('LKlicks'), 'Versuche: 1')
        self.menu('MExact')
        self.answer('7', Keys.ENTER)
        self.assertEqual(self.text('caption'), 'Eingestellte Genauigkeit: 7°')
        # Only the page's own requests: the browser's (its new-tab page's
        # icons, say) come and go as they will.
        requested = set()
        for entry in self.driver.get_log('performance'):
            message = json.loads(entry['message'])['message']
            if (message['method'] == 'Network.requestWillBeSent' and
                    message['params'].get('documentURL') == 'file://' + copy):
                requested.add(message['params']['request']['url'])
        self.assertEqual({url for url in requested if not url.startswith('data:')},
                         {'file://' + copy})

    @staticmethod
    def reachable(url):
        try:
            with urllib.request.urlopen(url, timeout=1):
                return True
        except OSError:
            return False

    @staticmethod
    def get(url, encoding):
        request = urllib.request.Request(url, headers={'Accept-Encoding': encoding} if encoding else {})
        with urllib.request.urlopen(request, timeout=10) as reply:
            return reply.headers, reply.read()


if __name__ == '__main__':
    SITE, SINGLE, SOURCE, NODE, FONT_DIR, PAGES, FIRST_PICTURE = sys.argv[1:8]
    PAGES = PAGES.replace('|', ';')
    del sys.argv[1:8]
    unittest.main(verbosity=2)
