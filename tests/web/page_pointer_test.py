#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in a real browser, played with the mouse and a finger: the
canvas's legs and arc, and the boxes that «prüfen» and «Genauigkeit» open.

    page_pointer_test.py SITE_DIR [unittest options]
"""
import math

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
from browser import CATALOGUE, VERTEX, wait


class Pointer(browser.Page):
    """The canvas under the mouse and a finger, and the boxes a guess opens."""

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

        expected = self.verdict_at_135()
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

    def test_each_move_hands_the_page_its_picture_once_and_a_drag_off_the_diagonal_turns_the_leg(self):
        self.record('update')
        # Neither point lies on the diagonal through the canvas's corner, so
        # the pointer's position must be scaled to window pixels to turn right.
        self.drag(self.towards(20), self.towards(290), steps=4)
        self.assertTrue(self.leg_points_to(290))
        # The keys go on from where the pointer left the leg; no focus ring for a mouse.
        self.assertEqual(self.focused(), 'surface')
        self.assertFalse(self.js("return document.activeElement.matches(':focus-visible')"))
        # One call into the page for the press and for each move: the whole
        # picture, and the area that changed, far less than the surface (the
        # slider's value may follow on its own, once the leg has rested).
        calls = self.js("return window.calls.filter(([c]) => c !== null)"
                        ".map(([c, area]) => [Array.from(c), area])")
        self.assertEqual(len(calls), 5)
        commands, area = calls[-1]
        left, top, right, bottom = area
        self.assertLess((right - left) * (bottom - top), 0.5 * 8220 * 8220)
        arcs = []
        i = 0
        while i < len(commands):  # platform/web/WebForm.cpp, PageDrawing
            size = {0: 6, 1: 7, 2: 7, 3: 9}[commands[i]]
            if commands[i] == 3:
                arcs.append(commands[i + 1:i + size])
            i += size
        self.assertEqual(len(arcs), 1)
        x, y, radius, start, sweep, radii, width, colour = arcs[0]
        self.assertEqual((x, y), (VERTEX * 15, VERTEX * 15))
        self.assertAlmostEqual(radius, 0.3 * 0.45 * 8220, delta=0.5)
        self.assertAlmostEqual(start, 0.001, places=6)
        self.assertAlmostEqual(sweep, math.radians(290) - 0.001, delta=0.01)
        # The arc starts on the red leg with a radius from the vertex, and
        # ends on the blue leg without one.
        self.assertEqual(radii, 1)

    def test_a_drag_goes_on_right_when_the_window_changes_size_on_the_way(self):
        # The page keeps the canvas's box for the length of a drag; a resize
        # scales the window anew, and the rest of the drag must follow it.
        start = self.towards(300)
        self.mouse('mousePressed', start, 'left', 1)
        self.mouse('mouseMoved', self.towards(250), 'left', 1)
        self.cdp('Emulation.setDeviceMetricsOverride', width=700, height=420,
                 deviceScaleFactor=1, mobile=False)
        try:
            wait(lambda: self.canvas_box()[2] < 400, 'the window to be scaled down')
            end = self.towards(120)
            self.mouse('mouseMoved', end, 'left', 1)
            self.mouse('mouseReleased', end, 'left', 0)
            self.assertTrue(self.leg_points_to(120))
        finally:
            self.cdp('Emulation.clearDeviceMetricsOverride')


if __name__ == '__main__':
    browser.main()
