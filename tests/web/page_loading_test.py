#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in a real browser as it loads, fails to load and ends, and
offline once it has been visited.

    page_loading_test.py SITE_DIR [unittest options]
"""
import contextlib
import json
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
from browser import VERTEX, wait


class Loading(browser.Page):
    """The page from its first load to its end, and offline."""

    @contextlib.contextmanager
    def network(self, **conditions):
        """The site straight from the server (no cache, no service worker),
        through a network as slow as given, with some addresses blocked."""
        blocked = conditions.pop('blocked', [])
        self.cdp('Network.enable')
        self.cdp('Network.setBypassServiceWorker', bypass=True)
        self.cdp('Network.setCacheDisabled', cacheDisabled=True)
        self.cdp('Network.setBlockedURLs', urls=blocked)
        self.cdp('Network.emulateNetworkConditions',
                 **{'offline': False, 'latency': 0, 'downloadThroughput': -1,
                    'uploadThroughput': -1, **conditions})
        try:
            yield
        finally:
            self.cdp('Network.emulateNetworkConditions', offline=False, latency=0,
                     downloadThroughput=-1, uploadThroughput=-1)
            self.cdp('Network.setBlockedURLs', urls=[])
            self.cdp('Network.setCacheDisabled', cacheDisabled=False)
            self.cdp('Network.setBypassServiceWorker', bypass=False)

    def window_box(self):
        return self.js("const b = document.getElementById('window').getBoundingClientRect();"
                       "return [b.left, b.top, b.width, b.height];")

    def test_a_slow_first_load_shows_a_notice_in_the_window_at_its_final_size(self):
        with self.network(downloadThroughput=50_000):
            self.cdp('Page.navigate', url=self.site.url)
            wait(lambda: self.js("return document.readyState !== 'loading' && 'Module' in window"
                                 " && document.getElementById('loading') !== null"),
                 'the page, while the game loads')
            self.assertFalse(self.js("return document.getElementById('LKlicks') !== null"))
            notice = self.driver.find_element(By.ID, 'loading')
            self.assertTrue(notice.is_displayed())
            self.assertEqual(notice.text, 'Zirkulon wird geladen …')
            self.assertEqual(notice.get_attribute('role'), 'status')
            loading = self.window_box()
            self.assertEqual(self.violations(), [])
            wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent"),
                 'the game to start', seconds=30)
        self.assertEqual([round(v) for v in self.window_box()], [round(v) for v in loading])
        self.assertFalse(self.js("return document.getElementById('loading') !== null"))
        # Nothing moved on the way, not the notice when the picture came nor
        # anything when the game started; the labels' text settles by a
        # pixel when the web font arrives, which the browser counts as some
        # 0.0004 of a shift.
        shifts = self.driver.execute_async_script(
            "const done = arguments[0];"
            "new PerformanceObserver((list) => done(list.getEntries().map((e) => e.value)))"
            ".observe({ type: 'layout-shift', buffered: true });"
            "setTimeout(() => done([]), 500);")
        self.assertLess(sum(shifts), 0.01)

    def test_a_stalled_load_shows_the_first_picture_and_the_game_takes_it_over(self):
        # The WebAssembly's request is held until the page has said that it
        # takes long; then it is let through.
        self.cdp('Fetch.enable', patterns=[{'urlPattern': '*zirkulon.wasm',
                                            'requestStage': 'Request'}])
        try:
            with self.network():
                self.cdp('Page.navigate', url=self.site.url)
                wait(lambda: 'länger als sonst' in self.text('loading'), 'the word on the delay',
                     seconds=20)
                self.assertEqual(self.text('loading'),
                                 'Zirkulon wird geladen …\nDas dauert länger als sonst. Vielleicht '
                                 'ist die Verbindung gerade langsam. Wenn sich nichts tut, lade die '
                                 'Seite neu.\nSeite neu laden')
                self.assertEqual(self.violations(), [])
                # The legs are there already, above the notice.
                self.assertTrue(self.leg_points_to(90))
                notice = self.js("return document.getElementById('loading')"
                                 ".getBoundingClientRect().top;")
                self.assertGreater(notice, self.at(0, VERTEX)[1])
                waiting = self.js("return document.getElementById('surface').toDataURL();")
                self.assertFalse(self.js("return document.getElementById('LKlicks') !== null"))
                self.cdp('Fetch.disable')
                wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent"),
                     'the game to start')
        finally:
            self.cdp('Fetch.disable')
        self.wait_painted()
        self.assertFalse(self.js("return document.getElementById('loading') !== null"))
        self.assertEqual(self.js("return document.getElementById('surface').toDataURL();"), waiting)

    def test_the_page_says_when_the_game_cannot_start(self):
        for missing in ('*zirkulon.wasm', '*zirkulon.js'):
            with self.network(blocked=[missing]):
                self.driver.get(self.site.url)
                wait(lambda: 'konnte nicht geladen werden' in self.text('loading'), 'the message')
            self.assertEqual(self.text('loading'),
                             'Zirkulon konnte nicht geladen werden. Bitte prüfe die Verbindung zum '
                             'Internet und lade die Seite neu.\nSeite neu laden')
            self.assertTrue(self.driver.find_element(By.ID, 'window').is_displayed())
            self.assertFalse(self.driver.find_element(By.ID, 'surface').is_displayed())

        script = self.cdp('Page.addScriptToEvaluateOnNewDocument',
                          source='delete window.WebAssembly;')['identifier']
        try:
            self.driver.get(self.site.url)
            self.assertIn('kein WebAssembly', self.text('loading'))
        finally:
            self.cdp('Page.removeScriptToEvaluateOnNewDocument', identifier=script)
        # What the failed downloads and the missing WebAssembly wrote to the console.
        self.driver.get_log('browser')

    def test_ende_ends_the_game(self):
        self.menu('MEnd')
        wait(lambda: self.driver.find_element(By.ID, 'ended').is_displayed(), 'the end')
        self.assertFalse(self.driver.find_element(By.ID, 'window').is_displayed())
        self.assertIn('Zirkulon ist beendet.', self.text('ended'))
        restart = self.driver.find_element(By.LINK_TEXT, 'Zirkulon neu starten')
        restart.click()
        wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent") == 'Versuche: 0',
             'a new game')
        self.assertTrue(self.driver.find_element(By.ID, 'window').is_displayed())

    def test_offline_after_one_visit_and_nothing_leaves_the_origin(self):
        wait(lambda: self.js("return navigator.serviceWorker.controller !== null"),
             'the service worker to control the page', seconds=20)
        requested = set()
        for entry in self.driver.get_log('performance'):
            message = json.loads(entry['message'])['message']
            if (message['method'] == 'Network.requestWillBeSent' and
                    message['params'].get('documentURL', '').startswith(self.site.url)):
                requested.add(message['params']['request']['url'])
        self.assertTrue(requested)
        foreign = [url for url in requested if not url.startswith(self.site.url)]
        self.assertEqual(foreign, [])
        stored = self.js("return Object.keys(localStorage).length + Object.keys(sessionStorage).length"
                         " + document.cookie.length")
        self.assertEqual(stored, 0)

        self.site.cut()
        self.load()
        self.drag(self.towards(300), self.towards(135, reach=150))
        self.assertTrue(self.leg_points_to(135))
        self.menu('MInfo')
        self.assertEqual(self.box()[:2], ('Zirkulon Info', 'Zirkulon Ver. 1.0. Autor: das Zirkulon-Team. '
                                                         'Email: zirkulon@example.org.'))
        self.answer(Keys.ENTER)


def load_tests(loader, tests, pattern):
    # The offline test cuts the server off for good, so it runs last.
    names = sorted(loader.getTestCaseNames(Loading), key=lambda n: n.startswith('test_offline'))
    return unittest.TestSuite(Loading(name) for name in names)


if __name__ == '__main__':
    browser.main()
