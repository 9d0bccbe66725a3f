# SPDX-License-Identifier: GPL-3.0-or-later
"""The game in a real browser, for the page tests: headless Chromium under a
German browser language against the built site served from 127.0.0.1, and
the helpers that play it with real pointer, touch and keyboard input through
the DevTools protocol and read the page; axe-core (from npm, installed by
scripts/setup.sh --tests) checks what assistive technology meets.

Each page test runs as  page_..._test.py SITE_DIR [unittest options]
"""
import contextlib
import functools
import http.server
import math
import os
import shutil
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SITE = None
ROOT = os.path.join(os.path.dirname(__file__), '..', '..')
sys.path.insert(0, os.path.join(ROOT, 'scripts'))
from site_server import SiteHandler  # noqa: E402
CATALOGUE = os.path.join(ROOT, 'jokes', 'catalogue.txt')
AXE = os.path.join(ROOT, 'node_modules', 'axe-core', 'axe.min.js')  # scripts/setup.sh --tests
SIDE = 548        # the inner area, window pixels
VERTEX = SIDE / 2
# Records every Content-Security-Policy violation in window.violations.
CSP_RECORDER = ("window.violations = [];"
                "document.addEventListener('securitypolicyviolation',"
                " (e) => window.violations.push(e.violatedDirective + ' ' + e.blockedURI));")


class Site:
    """The site on a static server of its own, with the headers of the
    shipped configuration (scripts/site_server.py); it can be cut off."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        self.url = f'http://127.0.0.1:{self.server.server_address[1]}/'
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def cut(self):
        self.server.shutdown()
        self.server.server_close()


class Quiet(SiteHandler):
    def log_message(self, *args):
        pass


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    profile = tempfile.mkdtemp(prefix='zirkulon-chromium-')
    for flag in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
                 '--no-first-run', '--disable-background-networking',
                 '--disable-component-update', '--disable-sync', '--lang=de-DE',
                 '--window-size=900,760', f'--user-data-dir={profile}'):
        options.add_argument(flag)
    options.add_experimental_option('prefs', {'intl.accept_languages': 'de-DE,de'})
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.profile = profile
    return driver


def wait(condition, what, seconds=10):
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f'timed out waiting for {what}')
        time.sleep(0.02)


class PageHelpers:
    """What a test does on the page and reads off it; the test case brings
    the driver and cdp()."""

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def text(self, element_id):
        return self.driver.find_element(By.ID, element_id).text

    def canvas_box(self):
        return self.js("const b = document.getElementById('surface').getBoundingClientRect();"
                       "return [b.left, b.top, b.width];")

    def at(self, x, y):
        """Viewport coordinates of a point given in window pixels."""
        left, top, width = self.canvas_box()
        scale = width / SIDE
        return left + x * scale, top + y * scale

    def towards(self, degrees, reach=200):
        phi = math.radians(degrees)
        return self.at(VERTEX + reach * math.cos(phi), VERTEX - reach * math.sin(phi))

    def drag(self, start, end, steps=8):
        self.cdp('Input.dispatchMouseEvent', type='mouseMoved', x=start[0], y=start[1])
        self.cdp('Input.dispatchMouseEvent', type='mousePressed', x=start[0], y=start[1],
                 button='left', buttons=1, clickCount=1)
        for step in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * step / steps
            y = start[1] + (end[1] - start[1]) * step / steps
            self.cdp('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y,
                     button='left', buttons=1)
        self.cdp('Input.dispatchMouseEvent', type='mouseReleased', x=end[0], y=end[1],
                 button='left', buttons=0, clickCount=1)

    def pixel(self, x, y):
        """The canvas colour at a point given in window pixels."""
        return self.js(
            "const c = document.getElementById('surface'); const k = c.width / arguments[2];"
            "return [...c.getContext('2d').getImageData(Math.floor(arguments[0] * k),"
            " Math.floor(arguments[1] * k), 1, 1).data];", x, y, SIDE)

    def wait_painted(self):
        self.js("return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));")

    def leg_points_to(self, degrees):
        """Whether the blue leg is drawn from the vertex towards `degrees`."""
        self.wait_painted()
        phi = math.radians(degrees)
        return all(self.bluish(self.pixel(VERTEX + r * math.cos(phi), VERTEX - r * math.sin(phi)))
                   for r in (30, 120, 200))

    @staticmethod
    def bluish(rgba):
        return rgba[2] > 150 and rgba[0] < 110 and rgba[1] < 110

    def ink_on_arc(self, degrees):
        """Whether the arc (0.3 of the leg) is drawn at `degrees`."""
        radius = 0.3 * 0.45 * SIDE
        phi = math.radians(degrees)
        darkest = min(max(self.pixel(VERTEX + (radius + d) * math.cos(phi),
                                     VERTEX - (radius + d) * math.sin(phi))[:3])
                      for d in (-1.5, -0.5, 0.5, 1.5))
        return darkest < 190  # the surface is 239 or so; a thin antialiased arc is grey

    def verdict_at_135(self):
        """What «prüfen» says of the worked example's 134.99999999999997
        degrees against the target shown, at the starting tolerance of 2."""
        target = int(self.text('LWinkel').split('= ')[1])
        degrees = 134.99999999999997
        if degrees + 2 > target and degrees - 2 < target:
            return ('Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 135° und '
                    f'stimmt im Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel {target} überein.')
        if degrees < target:
            return 'Der eingestellte Winkel 135° ist zu klein.'
        return 'Der eingestellte Winkel 135° ist zu groß.'

    def menu(self, name):
        self.driver.find_element(By.ID, name).click()

    def keys(self, *keys):
        """Presses keys, one after the other, wherever the focus is."""
        for key in keys:
            ActionChains(self.driver).send_keys(key).perform()

    def back_tab(self):
        ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()

    def focused(self):
        return self.js("return document.activeElement.id")

    def mouse(self, kind, point, button, buttons):
        self.cdp('Input.dispatchMouseEvent', type=kind, x=point[0], y=point[1], button=button,
                 buttons=buttons, clickCount=1 if kind != 'mouseMoved' else 0)

    def record(self, name):
        """Records from now on every call of the page's operation `name` in window.calls."""
        self.js("window.calls = []; const page = Module.page; const operation = page[arguments[0]];"
                "page[arguments[0]] = function (...args) {"
                "  window.calls.push(args); return operation.apply(this, args); };", name)

    def box(self, seconds=10):
        """The open box: (title, text, default text or None)."""
        dialog = wait(lambda: self.js("return document.querySelector('dialog[open]')"), 'a box',
                      seconds)
        title = dialog.find_element(By.TAG_NAME, 'h2').text
        text = self.js("return arguments[0].querySelector('p').textContent", dialog)
        field = dialog.find_elements(By.TAG_NAME, 'input')
        return title, text, field[0].get_attribute('value') if field else None

    def answer(self, *keys):
        """Types into the open box (or presses its keys) and waits for it to close."""
        wait(lambda: self.js("const d = document.querySelector('dialog[open]');"
                             "if (d) d.dataset.answered = 'yes'; return d;"), 'a box')
        self.driver.switch_to.active_element.send_keys(*keys)
        wait(lambda: not self.js("return document.querySelector('dialog[data-answered]')"),
             'the box to close')

    def boxes(self, limit=4):
        """Every box that opens now, each closed with OK, until none follows."""
        seen = []
        while len(seen) < limit:
            try:
                seen.append(self.box(seconds=1)[:2])
            except AssertionError:
                break
            self.answer(Keys.ENTER)
        return seen

    def violations(self):
        """What axe-core finds wrong with the page as it is now, rule by rule."""
        if not self.js("return typeof axe !== 'undefined'"):
            self.assertTrue(os.path.exists(AXE), 'axe-core is missing: scripts/setup.sh --tests')
            with open(AXE, encoding='utf-8') as source:
                self.js(source.read())
        found = self.js("return axe.run(document).then((r) => r.violations.map("
                        "(v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', ')));")
        return found


class Page(PageHelpers, unittest.TestCase):
    """One browser for all tests of a class; each test starts on a freshly
    loaded page."""

    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE)
        cls.driver = browser()
        # Every Content-Security-Policy violation is recorded, from the start.
        cls.cdp('Page.addScriptToEvaluateOnNewDocument', source=CSP_RECORDER)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.driver.profile, ignore_errors=True)
        with contextlib.suppress(Exception):
            cls.site.cut()

    @classmethod
    def cdp(cls, command, **params):
        return cls.driver.execute_cdp_cmd(command, params)

    def setUp(self):
        self.load()

    def load(self):
        self.driver.get(self.site.url)
        wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent"),
             'the game to start')

    def tearDown(self):
        errors = [e['message'] for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']
        self.assertEqual(errors, [], 'console errors')
        self.assertEqual(self.js('return window.violations'), [], 'CSP violations')


def main():
    """Runs the calling script's tests against the site named first on its
    command line."""
    global SITE
    SITE = sys.argv.pop(1)
    unittest.main(module='__main__', verbosity=2)
