#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game in a real browser: headless Chromium with real pointer, touch and
keyboard input through the DevTools protocol, against the built site served
from 127.0.0.1, under a German browser language; axe-core (from npm, installed
by scripts/setup.sh --tests) checks what assistive technology meets.

    page_test.py SITE_DIR [unittest options]
"""
import contextlib
import functools
import http.server
import json
import math
import os
import re
import shutil
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.common.exceptions import JavascriptException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SITE = None
ROOT = os.path.join(os.path.dirname(__file__), '..', '..')
CATALOGUE = os.path.join(ROOT, 'jokes', 'catalogue.txt')
AXE = os.path.join(ROOT, 'node_modules', 'axe-core', 'axe.min.js')  # scripts/setup.sh --tests
SIDE = 548        # the inner area, window pixels
VERTEX = SIDE / 2


class Site:
    """The site on a static server of its own; it can be cut off."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        self.url = f'http://127.0.0.1:{self.server.server_address[1]}/'
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def cut(self):
        self.server.shutdown()
        self.server.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json'}

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


class Page(unittest.TestCase):
    """One browser for all tests; each test starts on a freshly loaded page."""

    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE)
        cls.driver = browser()
        # Every Content-Security-Policy violation is recorded, from the start.
        cls.cdp('Page.addScriptToEvaluateOnNewDocument', source=(
            "window.violations = [];"
            "document.addEventListener('securitypolicyviolation',"
            " (e) => window.violations.push(e.violatedDirective + ' ' + e.blockedURI));"))

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

    # ---- the page ----------------------------------------------------------

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

    def slider(self):
        """(role, name, value) of the drawing surface for a screen reader."""
        document = self.cdp('DOM.getDocument')['root']['nodeId']
        surface = self.cdp('DOM.querySelector', nodeId=document, selector='#surface')['nodeId']
        node = self.cdp('Accessibility.getPartialAXTree', nodeId=surface,
                        fetchRelatives=False)['nodes'][0]
        return node['role']['value'], node['name']['value'], node.get('value', {}).get('value')

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

    # ---- the tests ------------------------------------------------------------

    def test_starts_with_its_captions_labels_and_legs(self):
        self.assertEqual(self.driver.title, 'Eingestellte Genauigkeit: 2° – Zirkulon')
        self.assertEqual(self.text('caption'), 'Eingestellte Genauigkeit: 2°')
        self.assertRegex(self.text('LWinkel'), r'^Winkel = (\d|[1-9]\d|[12]\d\d|3[0-5]\d|360)$')
        self.assertEqual(self.text('LKlicks'), 'Versuche: 0')
        self.assertEqual(self.text('LTreffer'), 'Erraten: 0 Winkel')
        self.assertEqual([b.text for b in self.driver.find_elements(By.CSS_SELECTOR, '#menubar button')],
                         ['Neu', 'Genauigkeit', 'prüfen', 'Hilfe', 'Info', 'Ende'])
        self.assertEqual(self.js("return document.documentElement.lang"), 'de')
        self.assertTrue(self.leg_points_to(90))
        self.assertFalse(self.ink_on_arc(45))
        font = self.js("return getComputedStyle(document.getElementById('LWinkel')).fontFamily")
        self.assertIn('Comic Neue', font)
        self.assertTrue(self.js("return document.fonts.check('16px \"Comic Neue\"')"))

    def test_a_drag_turns_the_leg_and_prufen_judges_its_exact_angle(self):
        # Up and to the left on the diagonal: exactly atan(-1) + pi, which is
        # 134.99999999999997 degrees, shown as 135.
        self.drag(self.towards(300), self.towards(135, reach=150))
        self.assertTrue(self.leg_points_to(135))
        self.assertTrue(self.ink_on_arc(60))
        self.assertTrue(self.ink_on_arc(130))
        self.assertFalse(self.ink_on_arc(200))
        self.assertFalse(self.leg_points_to(300))

        target = int(self.text('LWinkel').split('= ')[1])
        degrees = 134.99999999999997
        if degrees + 2 > target and degrees - 2 < target:
            expected = ('Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 135° und '
                        f'stimmt im Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel {target} überein.')
        elif degrees < target:
            expected = 'Der eingestellte Winkel 135° ist zu klein.'
        else:
            expected = 'Der eingestellte Winkel 135° ist zu groß.'
        self.menu('MGuess')
        self.assertEqual(self.box(), ('Zirkulon', expected, None))
        self.answer(Keys.ENTER)
        self.assertIn(self.text('LKlicks'), ('Versuche: 1', 'Versuche: 0'))

    def test_hits_are_congratulated_and_every_second_earns_a_joke(self):
        with open(CATALOGUE, encoding='utf-8') as catalogue:
            shown = catalogue.read().split('\n')[:79]
        for hit in (1, 2):
            target = int(self.text('LWinkel').split('= ')[1])
            self.drag(self.towards(target + 30), self.towards(target))
            self.menu('MGuess')
            seen = self.boxes()
            self.assertEqual(seen[0][0], 'Zirkulon')
            self.assertRegex(seen[0][1], r'^Herzlichen Glückwunsch! Der eingestellte Winkel '
                             rf'(hat den Wert \d+° und .* gesuchten Winkel {target} überein\.|'
                             rf'exakt den gesuchten Wert {target}°)$')
            self.assertEqual(self.text('LTreffer'), f'Erraten: {hit} Winkel.')
            self.assertEqual(len(seen), hit)
        self.assertEqual(seen[1][0], 'Winkel Witze')
        self.assertIn(seen[1][1], shown)
        self.assertEqual(self.text('LKlicks'), 'Versuche: 0')

    def test_the_tolerance_box_reads_german_refuses_15_and_asks_again_after_escape(self):
        self.menu('MExact')
        self.assertEqual(self.box(), ('Zirkulon', 'Gib die Genauigkeit in Grad ein.', '2'))
        self.assertTrue(self.js("return document.activeElement.selectionStart === 0 &&"
                                " document.activeElement.selectionEnd === 1"))
        self.answer('15', Keys.ENTER)
        self.assertEqual(self.box()[:2], ('Zirkulon', 'Eine Genauigkeit von 15?!? Das ist definitiv zu groß!'))
        self.answer(Keys.ENTER)
        self.assertEqual(self.box()[2], '15')
        self.answer(Keys.ESCAPE)
        self.assertEqual(self.box()[2], '15')
        self.answer('2,5', Keys.ENTER)
        wait(lambda: self.driver.title == 'Eingestellte Genauigkeit: 2,5° – Zirkulon', 'the caption 2,5°')
        self.assertEqual(self.text('caption'), 'Eingestellte Genauigkeit: 2,5°')

    def test_a_finger_turns_the_leg_and_a_second_finger_is_ignored(self):
        self.cdp('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
        try:
            start, end = self.towards(0), self.towards(225)
            finger = {'x': start[0], 'y': start[1], 'id': 1}
            self.cdp('Input.dispatchTouchEvent', type='touchStart', touchPoints=[finger])
            other = {'x': self.towards(45)[0], 'y': self.towards(45)[1], 'id': 2}
            self.cdp('Input.dispatchTouchEvent', type='touchStart', touchPoints=[finger, other])
            for step in range(1, 9):
                x = start[0] + (end[0] - start[0]) * step / 8
                y = start[1] + (end[1] - start[1]) * step / 8
                finger = {'x': x, 'y': y, 'id': 1}
                self.cdp('Input.dispatchTouchEvent', type='touchMove', touchPoints=[finger, other])
            moved = {'x': self.towards(100)[0], 'y': self.towards(100)[1], 'id': 2}
            self.cdp('Input.dispatchTouchEvent', type='touchMove', touchPoints=[finger, moved])
            self.cdp('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])
        finally:
            self.cdp('Emulation.setTouchEmulationEnabled', enabled=False)
        self.assertTrue(self.leg_points_to(225))
        self.assertFalse(self.leg_points_to(100))
        self.assertEqual(self.js("return getComputedStyle(document.getElementById('surface')).touchAction"),
                         'none')

    def test_a_press_on_a_label_or_with_the_right_button_changes_nothing(self):
        label = self.driver.find_element(By.ID, 'LKlicks').rect
        x, y = label['x'] + 10, label['y'] + 5
        self.cdp('Input.dispatchMouseEvent', type='mousePressed', x=x, y=y, button='left',
                 buttons=1, clickCount=1)
        self.cdp('Input.dispatchMouseEvent', type='mouseMoved', x=self.towards(200)[0],
                 y=self.towards(200)[1], button='left', buttons=1)
        self.cdp('Input.dispatchMouseEvent', type='mouseReleased', x=x, y=y, button='left',
                 buttons=0, clickCount=1)
        point = self.towards(300)
        self.cdp('Input.dispatchMouseEvent', type='mousePressed', x=point[0], y=point[1],
                 button='right', buttons=2, clickCount=1)
        self.cdp('Input.dispatchMouseEvent', type='mouseReleased', x=point[0], y=point[1],
                 button='right', buttons=0, clickCount=1)
        self.assertTrue(self.leg_points_to(90))
        self.assertFalse(self.ink_on_arc(45))

        # With the left button held only the left alone turns: not a move with
        # the right held too, nor the right's release where the pointer stands.
        first, second = self.towards(300), self.towards(200)
        self.mouse('mouseMoved', first, 'none', 0)
        self.mouse('mousePressed', first, 'left', 1)
        self.mouse('mousePressed', first, 'right', 3)
        self.mouse('mouseMoved', second, 'left', 3)
        self.assertTrue(self.leg_points_to(300))
        self.mouse('mouseReleased', second, 'right', 1)
        self.assertTrue(self.leg_points_to(300))
        self.mouse('mouseReleased', second, 'left', 0)
        self.assertFalse(self.leg_points_to(200))

    def test_a_held_button_reaches_nothing_while_a_box_is_open(self):
        start, later = self.towards(300), self.towards(45)
        self.mouse('mouseMoved', start, 'none', 0)
        self.mouse('mousePressed', start, 'left', 1)
        self.back_tab()  # from the surface back to the menu bar
        self.keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ENTER)
        self.assertEqual(self.box()[0], 'Zirkulon Hilfe')
        self.mouse('mouseMoved', later, 'left', 1)
        self.answer(Keys.ENTER)
        self.mouse('mouseReleased', later, 'left', 0)
        self.assertTrue(self.leg_points_to(300))
        self.assertFalse(self.leg_points_to(45))

    def test_a_press_hands_the_page_its_arc_and_a_drag_off_the_diagonal_turns_the_leg(self):
        self.record('addArc')
        # Neither point lies on the diagonal through the canvas's corner, so
        # the pointer's position must be scaled to window pixels to turn right.
        self.drag(self.towards(20), self.towards(290), steps=4)
        self.assertTrue(self.leg_points_to(290))
        # The keys go on from where the pointer left the leg; no focus ring for a mouse.
        self.assertEqual(self.focused(), 'surface')
        self.assertFalse(self.js("return document.activeElement.matches(':focus-visible')"))
        calls = self.js("return window.calls")
        self.assertEqual(len(calls), 5)
        x, y, radius, start, sweep, to_start, to_end = calls[-1]
        self.assertEqual((x, y), (VERTEX * 15, VERTEX * 15))
        self.assertAlmostEqual(radius, 0.3 * 0.45 * 8220, delta=0.5)
        self.assertAlmostEqual(start, 0.001, places=6)
        self.assertAlmostEqual(sweep, math.radians(290) - 0.001, delta=0.01)
        # The arc starts on the red leg with a radius from the vertex, and
        # ends on the blue leg without one.
        self.assertEqual((to_start, to_end), (True, False))

    def test_the_keyboard_alone_plays_to_a_hit(self):
        self.keys(Keys.TAB)
        self.assertEqual(self.focused(), 'MNew')
        self.keys(Keys.TAB)
        self.assertEqual(self.focused(), 'surface')
        self.assertEqual(self.slider(), ('slider', 'Winkel zwischen rotem und blauem Schenkel; '
                                         'der blaue folgt dem Zeiger', 0))
        # Each key once, wrapping round at the full circle: 1 to 360 and back.
        seen = []
        for key in (Keys.HOME, Keys.END, Keys.ARROW_UP, Keys.ARROW_DOWN, Keys.ARROW_RIGHT,
                    Keys.PAGE_DOWN, Keys.PAGE_UP, Keys.ARROW_LEFT):
            self.keys(key)
            seen.append(int(self.js("return document.getElementById('surface').ariaValueNow")))
        self.assertEqual(seen, [1, 360, 1, 360, 1, 351, 1, 360])

        target = int(self.text('LWinkel').split('= ')[1])
        self.keys(Keys.HOME, *[Keys.PAGE_UP] * ((target - 1) // 10),
                  *[Keys.ARROW_RIGHT] * ((target - 1) % 10))
        at = max(target, 1)
        self.assertEqual(self.slider()[2], at)
        self.assertRegex(self.js("return document.getElementById('surface').ariaValueText"),
                         rf'^{at} Grad, \w+ Winkel$')
        self.assertTrue(self.leg_points_to(at))

        self.back_tab()
        self.assertEqual(self.focused(), 'MNew')
        self.keys(Keys.ARROW_LEFT)
        self.assertEqual(self.focused(), 'MEnd')
        self.keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
        self.assertEqual(self.focused(), 'MGuess')
        self.keys(Keys.ENTER)
        title, text, _ = self.box()
        self.assertEqual(title, 'Zirkulon')
        self.assertRegex(text, r'^Herzlichen Glückwunsch! Der eingestellte Winkel '
                         rf'(hat den Wert {at}° und .* gesuchten Winkel {target} überein\.|'
                         rf'exakt den gesuchten Wert {target}°)$')
        self.answer(Keys.ENTER)
        self.assertEqual(self.text('LTreffer'), 'Erraten: 1 Winkel.')

    def test_a_held_enter_on_prufen_spends_one_attempt(self):
        self.record('messageBox')
        self.driver.find_element(By.ID, 'MGuess').send_keys('')  # the focus, and no key
        self.assertEqual(self.focused(), 'MGuess')
        enter = {'key': 'Enter', 'code': 'Enter', 'windowsVirtualKeyCode': 13, 'text': '\r'}
        self.cdp('Input.dispatchKeyEvent', type='keyDown', **enter)
        self.box()
        # A keyboard repeats about every 50 ms while a key is held.
        for _ in range(12):
            time.sleep(0.05)
            self.cdp('Input.dispatchKeyEvent', type='keyDown', autoRepeat=True, **enter)
        self.cdp('Input.dispatchKeyEvent', type='keyUp', key='Enter', code='Enter',
                 windowsVirtualKeyCode=13)
        self.assertEqual(len(self.js("return window.calls")), 1)
        self.assertIn(self.text('LKlicks'), ('Versuche: 1', 'Versuche: 0'))  # 0 after a hit
        self.answer(Keys.ENTER)

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

    def test_the_page_says_when_the_game_cannot_start(self):
        with self.network(blocked=['*zirkulon.wasm']):
            self.driver.get(self.site.url)
            wait(lambda: 'konnte nicht geladen werden' in self.text('loading'), 'the message')
        self.assertEqual(self.text('loading'),
                         'Zirkulon konnte nicht geladen werden. Bitte prüfe die Verbindung zum '
                         'Internet und lade die Seite neu.\nSeite neu laden')
        self.assertTrue(self.driver.find_element(By.ID, 'window').is_displayed())

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

    def accessible(self):
        """(role, name) of every node a screen reader finds."""
        nodes = self.cdp('Accessibility.getFullAXTree')['nodes']
        return {(n['role']['value'], n.get('name', {}).get('value', '')) for n in nodes
                if not n.get('ignored')}

    def test_roles_and_names_for_screen_readers(self):
        named = self.accessible()
        for item in ('Neu', 'Genauigkeit', 'prüfen', 'Hilfe', 'Info', 'Ende'):
            self.assertIn(('menuitem', item), named)
        self.assertIn(('menubar', 'Menü'), named)
        for name in ('Gesuchter Winkel', 'Versuche', 'Erratene Winkel'):
            self.assertIn(('status', name), named)
        self.assertIn(('slider', 'Winkel zwischen rotem und blauem Schenkel; der blaue folgt dem Zeiger'),
                      named)
        self.assertIn(('group', 'Eingestellte Genauigkeit: 2°'), named)
        self.assertIn(('heading', 'Eingestellte Genauigkeit: 2°'), named)
        self.menu('MExact')
        self.box()
        named = self.accessible()
        self.assertIn(('dialog', 'Zirkulon'), named)
        self.assertIn(('textbox', 'Gib die Genauigkeit in Grad ein.'), named)
        self.assertIn(('button', 'Abbrechen'), named)
        self.assertNotIn(('menuitem', 'Neu'), named) # the page behind a box is inert
        self.answer('3', Keys.ENTER)

    def violations(self):
        """What axe-core finds wrong with the page as it is now, rule by rule."""
        if not self.js("return typeof axe !== 'undefined'"):
            self.assertTrue(os.path.exists(AXE), 'axe-core is missing: scripts/setup.sh --tests')
            with open(AXE, encoding='utf-8') as source:
                self.js(source.read())
        found = self.js("return axe.run(document).then((r) => r.violations.map("
                        "(v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', ')));")
        return found

    def test_no_accessibility_faults_in_a_box_or_in_the_dark_where_the_legs_keep_3_to_1(self):
        self.assertEqual(self.violations(), [])
        self.menu('MHelp')
        self.box()
        self.assertEqual(self.violations(), [])
        self.answer(Keys.ENTER)

        self.cdp('Emulation.setEmulatedMedia',
                 features=[{'name': 'prefers-color-scheme', 'value': 'dark'}])
        try:
            self.load()  # dark from the start
            self.assertTrue(self.js("return matchMedia('(prefers-color-scheme: dark)').matches"))
            self.assertEqual(self.violations(), [])
            self.keys(Keys.TAB, Keys.TAB)  # the focus ring too
            self.assertEqual(self.violations(), [])
            self.wait_painted()

            def luminance(rgba):
                channels = [c / 255 for c in rgba[:3]]
                linear = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in channels]
                return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]

            def contrast(ink, ground):
                light, dark = sorted((luminance(ink), luminance(ground)), reverse=True)
                return (light + 0.05) / (dark + 0.05)

            surface = self.pixel(VERTEX - 100, VERTEX + 100)
            across = [d / 4 for d in range(-12, 13)]
            red = max(contrast(self.pixel(VERTEX + 150, VERTEX + d), surface) for d in across)
            blue = max(contrast(self.pixel(VERTEX + d, VERTEX - 150), surface) for d in across)
            self.assertGreaterEqual(red, 3)
            self.assertGreaterEqual(blue, 3)
        finally:
            self.cdp('Emulation.setEmulatedMedia', features=[])

    def test_long_texts_wrap_inside_the_viewport_as_text(self):
        self.menu('MHelp')
        self.box()
        dialog = self.js("const b = document.querySelector('dialog[open]').getBoundingClientRect();"
                         "return [b.left, b.right, innerWidth];")
        self.assertGreaterEqual(dialog[0], 0)
        self.assertLessEqual(dialog[1], dialog[2])
        self.assertIn("auf 'prüfen'", self.box()[1])
        self.assertEqual(self.js("return document.querySelector('dialog[open] p').children.length"), 0)
        self.answer(Keys.ENTER)

        # The longest joke on a phone held sideways opens at its title and
        # first line; OK has the focus and lies further down.
        with open(CATALOGUE, encoding='utf-8') as catalogue:
            joke = max(catalogue.read().split('\n')[:79], key=len)
        self.cdp('Emulation.setDeviceMetricsOverride', width=844, height=390,
                 deviceScaleFactor=1, mobile=False)
        try:
            self.js("Module.page.messageBox(arguments[0], 'Winkel Witze')", joke)
            self.assertEqual(self.box()[:2], ('Winkel Witze', joke))
            title, text, dialog = self.js(
                "const d = document.querySelector('dialog[open]');"
                "const box = (e) => { const b = e.getBoundingClientRect(); return [b.top, b.bottom]; };"
                "return [box(d.querySelector('h2')), box(d.querySelector('p')),"
                " [d.scrollHeight, d.clientHeight, getComputedStyle(d).overflowY]];")
            self.assertGreater(dialog[0], dialog[1])  # it does not fit
            self.assertEqual(dialog[2], 'auto')
            self.assertGreaterEqual(title[0], 0)
            self.assertLess(text[0] + 20, 390)
            self.assertEqual(self.js("return document.activeElement.textContent"), 'OK')
            self.answer(Keys.ENTER)
        finally:
            self.cdp('Emulation.clearDeviceMetricsOverride')

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
    names = sorted(loader.getTestCaseNames(Page), key=lambda n: n.startswith('test_offline'))
    return unittest.TestSuite(Page(name) for name in names)


if __name__ == '__main__':
    SITE = sys.argv.pop(1)
    unittest.main(verbosity=2)
