#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in a real browser, played with the keyboard alone, and what
assistive technology meets: roles and names, axe-core's findings, in the
light and in the dark, and long texts in a small viewport.

    page_keys_test.py SITE_DIR [unittest options]
"""
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
from browser import CATALOGUE, VERTEX, wait


class Keyboard(browser.Page):
    """The keyboard, a screen reader and axe-core."""

    def slider(self):
        """(role, name, value) of the drawing surface for a screen reader."""
        document = self.cdp('DOM.getDocument')['root']['nodeId']
        surface = self.cdp('DOM.querySelector', nodeId=document, selector='#surface')['nodeId']
        node = self.cdp('Accessibility.getPartialAXTree', nodeId=surface,
                        fetchRelatives=False)['nodes'][0]
        return node['role']['value'], node['name']['value'], node.get('value', {}).get('value')

    def test_the_keyboard_alone_plays_to_a_hit(self):
        self.keys(Keys.TAB)
        self.assertEqual(self.focused(), 'MNew')
        self.keys(Keys.TAB)
        self.assertEqual(self.focused(), 'surface')
        self.assertEqual(self.slider(), ('slider', 'Winkel zwischen rotem und blauem Schenkel; '
                                         'der blaue folgt dem Zeiger', 0))
        self.assertIsNone(self.driver.find_element(By.ID, 'surface').get_attribute('aria-disabled'))
        # With Ctrl, Alt or Meta an arrow is the browser's, not the leg's.
        for modifiers in (1, 2, 4):  # Alt, Ctrl, Meta
            for kind in ('keyDown', 'keyUp'):
                self.cdp('Input.dispatchKeyEvent', type=kind, modifiers=modifiers, key='ArrowRight',
                         code='ArrowRight', windowsVirtualKeyCode=39)
        self.assertTrue(self.leg_points_to(90))
        # Each key once, wrapping round at the full circle: 1 to 360 and back.
        # A screen reader hears the value once the leg has come to rest.
        value = lambda: int(self.js("return document.getElementById('surface').ariaValueNow"))
        seen = []
        for key in (Keys.HOME, Keys.END, Keys.ARROW_UP, Keys.ARROW_DOWN, Keys.ARROW_RIGHT,
                    Keys.PAGE_DOWN, Keys.PAGE_UP, Keys.ARROW_LEFT):
            before = value()
            self.keys(key)
            seen.append(wait(lambda: value() != before and value(), 'the value to change'))
        self.assertEqual(seen, [1, 360, 1, 360, 1, 351, 1, 360])

        target = int(self.text('LWinkel').split('= ')[1])
        self.keys(Keys.HOME, *[Keys.PAGE_UP] * ((target - 1) // 10),
                  *[Keys.ARROW_RIGHT] * ((target - 1) % 10))
        at = max(target, 1)
        wait(lambda: self.slider()[2] == at, f'the slider to say {at}')
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


if __name__ == '__main__':
    browser.main()
