#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in Firefox or WebKit (tests/web/engines.py): what differs
between the engines that Chromium's tests cannot show. The first picture,
a drag and a finger, the keys and the slider's value, the boxes with Enter,
Escape and the focus coming back, a tolerance with a decimal comma, «Ende»,
offline after a first visit, zirkulon.html from the file system, and a
browser language that Intl refuses. WebKit runs under X (tests/web/under_x.sh).

    page_engines_test.py SITE_DIR SINGLE_FILE firefox|webkit [unittest options]
"""
import math
import shutil
import sys
import tempfile
import unittest

import engines
from browser import SIDE, VERTEX, Site
from engines import KEYS, wait

SITE = SINGLE = ENGINE = None

# Reads the page the way the Chromium tests do, in script.
PIXEL = ("const c = document.getElementById('surface'); const k = c.width / 548;"
         "return [...c.getContext('2d').getImageData(Math.floor(args[0] * k),"
         " Math.floor(args[1] * k), 1, 1).data];")
BOX = ("const d = document.querySelector('dialog[open]'); if (!d) return null;"
       "const f = d.querySelector('input');"
       "return [d.querySelector('h2').textContent, d.querySelector('p').textContent,"
       " f ? f.value : null];")


def start(engine_name, **options):
    return engines.Firefox(**options) if engine_name == 'firefox' else engines.WebKit(**options)


class Helpers:
    """Driving and reading the page; the test brings `browser`."""

    def js(self, body, *args):
        return self.browser.js(body, *args)

    def load(self, url):
        self.browser.open(url)
        wait(lambda: self.js("return document.getElementById('LKlicks')?.textContent"),
             'the game to start')

    def text(self, element_id):
        return self.js('return document.getElementById(args[0]).textContent', element_id)

    def at(self, degrees, reach=200):
        """Viewport coordinates of a point `reach` window pixels from the vertex."""
        left, top, width = self.js("const b = document.getElementById('surface')"
                                   ".getBoundingClientRect(); return [b.left, b.top, b.width];")
        phi = math.radians(degrees)
        scale = width / SIDE
        return (round(left + (VERTEX + reach * math.cos(phi)) * scale),
                round(top + (VERTEX - reach * math.sin(phi)) * scale))

    def drag(self, start, end, pointer='mouse'):
        moves = [{'type': 'pointerMove', 'x': start[0] + (end[0] - start[0]) * k // 8,
                  'y': start[1] + (end[1] - start[1]) * k // 8, 'origin': 'viewport',
                  'duration': 0} for k in range(1, 9)]
        self.browser.actions([{
            'type': 'pointer', 'id': pointer, 'parameters': {'pointerType': pointer},
            'actions': [{'type': 'pointerMove', 'x': start[0], 'y': start[1], 'origin': 'viewport',
                         'duration': 0},
                        {'type': 'pointerDown', 'button': 0}, *moves,
                        {'type': 'pointerUp', 'button': 0}]}])

    def keys(self, *names, held=()):
        """Presses each key in turn (a name of KEYS, or a character), with `held` held."""
        actions = [{'type': 'keyDown', 'value': KEYS[h]} for h in held]
        for name in names:
            value = KEYS.get(name, name)
            actions += [{'type': 'keyDown', 'value': value}, {'type': 'keyUp', 'value': value}]
        actions += [{'type': 'keyUp', 'value': KEYS[h]} for h in held]
        self.browser.actions([{'type': 'key', 'id': 'keyboard', 'actions': actions}])

    def leg_points_to(self, degrees):
        def bluish(rgba):
            return rgba[2] > 150 and rgba[0] < 110 and rgba[1] < 110
        phi = math.radians(degrees)
        return all(bluish(self.js(PIXEL, VERTEX + r * math.cos(phi), VERTEX - r * math.sin(phi)))
                   for r in (30, 120, 200))

    def slider(self):
        return self.js("const s = document.getElementById('surface');"
                       "return [s.getAttribute('aria-valuenow'), s.getAttribute('aria-valuetext')];")

    def box(self):
        return wait(lambda: self.js(BOX), 'a box')

    def box_closes(self):
        wait(lambda: self.js(BOX) is None, 'the box to close')

    def verdict_at_135(self):
        target = int(self.text('LWinkel').split('= ')[1])
        if 134.99999999999997 + 2 > target > 134.99999999999997 - 2:
            return ('Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 135° und '
                    f'stimmt im Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel {target} überein.')
        return f"Der eingestellte Winkel 135° ist zu {'klein' if target > 135 else 'groß'}."

    def choose(self, item):
        """Chooses a menu command with the pointer, the item having the focus (a
        click gives a button none in WebKit). Firefox's driver leaves a focused
        button alone on Enter or Space, so the keys are not the way here."""
        self.js('document.getElementById(args[0]).focus()', item)
        x, y = self.js('const b = document.getElementById(args[0]).getBoundingClientRect();'
                       'return [Math.round(b.left + b.width / 2), Math.round(b.top + b.height / 2)];',
                       item)
        self.browser.actions([{
            'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
            'actions': [{'type': 'pointerMove', 'x': x, 'y': y, 'origin': 'viewport', 'duration': 0},
                        {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]}])


class Engine(Helpers, unittest.TestCase):
    """One browser for the class; every test on a freshly loaded page."""

    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE)
        cls.browser = start(ENGINE)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.site.cut()

    def setUp(self):
        self.load(self.site.url)

    def tearDown(self):
        self.assertEqual(self.browser.console_errors(), [], 'console errors')

    def test_a_drag_a_check_and_its_box_closed_by_escape(self):
        self.assertTrue(self.leg_points_to(90))
        self.assertEqual(self.text('LKlicks'), 'Versuche: 0')
        self.assertIsNone(self.js("return document.getElementById('surface')"
                                  ".getAttribute('aria-disabled')"))
        self.drag(self.at(300), self.at(135, reach=150))
        wait(lambda: self.leg_points_to(135), 'the leg to turn to 135 degrees')
        wait(lambda: self.slider() == ['135', '135 Grad, stumpfer Winkel'], "the slider's value")
        expected = self.verdict_at_135()
        self.choose('MGuess')
        self.assertEqual(self.box(), ['Zirkulon', expected, None])
        self.keys('Escape')
        self.box_closes()
        # The focus goes back to where it was before the box.
        self.assertEqual(self.js('return document.activeElement.id'), 'MGuess')

    def test_a_finger_turns_the_leg(self):
        try:
            self.drag(self.at(0), self.at(225), pointer='touch')
        except Exception as error:  # noqa: BLE001 - the driver may have no touch
            self.skipTest(f'{self.browser.name} cannot send a touch: {error}')
        wait(lambda: self.leg_points_to(225), 'the leg to follow the finger')

    def test_the_keys_turn_the_leg_but_not_with_ctrl_alt_or_meta(self):
        self.js("document.getElementById('surface').focus()")
        for held in ('Control', 'Alt', 'Meta'):
            self.keys('ArrowRight', held=(held,))
        self.assertTrue(self.leg_points_to(90))
        self.keys('Home', 'ArrowRight', 'ArrowRight')
        wait(lambda: self.slider() == ['3', '3 Grad, spitzer Winkel'], "the slider's value 3")
        self.assertTrue(self.leg_points_to(3))

    def test_the_tolerance_takes_a_decimal_comma_and_escape_asks_again(self):
        self.choose('MExact')
        self.assertEqual(self.box(), ['Zirkulon', 'Gib die Genauigkeit in Grad ein.', '2'])
        self.keys('1', '5', 'Enter')
        self.assertEqual(self.box()[1], 'Eine Genauigkeit von 15?!? Das ist definitiv zu groß!')
        self.keys('Escape')
        wait(lambda: (self.js(BOX) or [None])[-1] == '15', 'the box again with 15')
        self.keys('Escape')
        wait(lambda: (self.js(BOX) or [None])[-1] == '15', 'the box once more')
        self.keys('2', ',', '5', 'Enter')
        self.box_closes()
        self.assertEqual(self.text('caption'), 'Eingestellte Genauigkeit: 2,5°')
        self.assertEqual(self.js('return document.activeElement.id'), 'MExact')

    def test_ende_ends_the_game(self):
        self.choose('MEnd')
        wait(lambda: self.js("return !document.getElementById('ended').hidden"), 'the end')
        self.assertTrue(self.js("return document.getElementById('window').hidden"))
        self.assertIn('Zirkulon ist beendet.', self.text('ended'))

    def test_a_refused_language_tag_falls_back_to_a_number_format(self):
        for tag in ('C', '', 'x-?'):
            self.assertRegex(self.js('return readNumberFormat(args[0])', tag), r'^[.,]\n')

    def test_offline_after_one_visit(self):
        wait(lambda: self.js('return navigator.serviceWorker?.controller !== null'
                             ' && navigator.serviceWorker?.controller !== undefined'),
             'the service worker to control the page', seconds=30)
        self.site.cut()
        self.load(self.site.url)
        self.drag(self.at(300), self.at(135, reach=150))
        wait(lambda: self.leg_points_to(135), 'the leg to turn offline')


class SingleFile(Helpers, unittest.TestCase):
    """zirkulon.html from the file system, under a language tag that Intl
    refuses: the number format is read in the page itself there."""

    def test_the_single_file_plays_and_takes_a_tolerance_under_a_refused_language(self):
        folder = tempfile.mkdtemp(prefix='zirkulon-usb-')
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        copy = shutil.copy(SINGLE, folder)
        if ENGINE == 'webkit':
            # WebKit itself reports the language "C" on a system where none is set.
            self.browser = engines.WebKit(environment={'LANG': 'C.UTF-8', 'LC_ALL': 'C.UTF-8'})
        else:
            self.browser = engines.Firefox()
            self.browser.before_every_page(
                "Object.defineProperty(Navigator.prototype, 'language', { get: () => 'C' });")
        self.addCleanup(self.browser.quit)
        self.load('file://' + copy)
        self.assertEqual(self.js('return navigator.language'), 'C')
        self.choose('MExact')
        self.box()
        self.keys('7', 'Enter')
        self.box_closes()
        self.assertEqual(self.text('caption'), 'Eingestellte Genauigkeit: 7°')
        self.assertEqual(self.browser.console_errors(), [])


def load_tests(loader, tests, pattern):
    # The offline test cuts the server off for good, so it runs last.
    names = sorted(loader.getTestCaseNames(Engine), key=lambda n: n.startswith('test_offline'))
    return unittest.TestSuite([*(Engine(name) for name in names),
                               *loader.loadTestsFromTestCase(SingleFile)])


if __name__ == '__main__':
    SITE, SINGLE, ENGINE = sys.argv[1:4]
    del sys.argv[1:4]
    print(f'{ENGINE}: {engines.version("Firefox" if ENGINE == "firefox" else "WebKit")}',
          file=sys.stderr)
    unittest.main(verbosity=2)
