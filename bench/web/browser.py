# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser under measurement: headless Chromium through ChromeDriver,
loading the pages as first or return visits and dragging on their canvas."""
import math
import os
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

from . import CHROMEDRIVER, CHROMIUM, WARM_UP_MOVES
from .devtools import per_move, record_trace
from .probes import LOAD_FIGURES

MOVE_INTERVAL_S = 0.025


def start_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    # get() returns at DOMContentLoaded; the benchmark then waits in the page.
    options.page_load_strategy = 'eager'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
                     '--no-first-run', '--disable-background-networking',
                     '--disable-component-update', '--disable-sync',
                     f'--user-data-dir={profile}', '--window-size=800,800'):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service(CHROMEDRIVER, log_path=os.devnull), options=options)


def size_viewport(driver, width, height):
    """Resizes the window until the page's viewport is width x height CSS px."""
    for _ in range(3):
        inner = driver.execute_script('return [innerWidth, innerHeight]')
        if inner == [width, height]:
            return inner
        outer = driver.get_window_size()
        driver.set_window_size(outer['width'] + width - inner[0],
                               outer['height'] + height - inner[1])
    return driver.execute_script('return [innerWidth, innerHeight]')


def wait_for(driver, script, timeout, *args):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = driver.execute_script(script, *args)
        if value:
            return value
        time.sleep(0.05)
    return None


class Bench:
    def __init__(self, driver, devtools, origin):
        self.driver = driver
        self.devtools = devtools
        self.origin = origin
        self.scripts = {}
        driver.set_script_timeout(30)

    def cdp(self, method, params=None):
        return self.driver.execute_cdp_cmd(method, params or {})

    def prepare(self, fresh):
        """Before a visit: a blank page, the origin's storage wiped and the
        browser's cache cleared and disabled. A first visit loses everything;
        a return visit keeps the service worker and its cache, and goes
        through the very same steps otherwise, so that the two differ only in
        what the origin kept. (Merely opening a blank page before a return
        visit made the bare page itself some 30 ms slower than after these
        steps.)"""
        self.driver.get('about:blank')
        wiped = 'all' if fresh else 'cookies,indexeddb,local_storage,websql'
        self.cdp('Storage.clearDataForOrigin', {'origin': self.origin, 'storageTypes': wiped})
        self.cdp('Network.clearBrowserCache')
        self.cdp('Network.setCacheDisabled', {'cacheDisabled': True})

    def inject(self, source, on):
        """Adds source to every new document from now on, or stops adding it."""
        if on and source not in self.scripts:
            self.scripts[source] = self.cdp('Page.addScriptToEvaluateOnNewDocument',
                                            {'source': source})['identifier']
        elif not on and source in self.scripts:
            self.cdp('Page.removeScriptToEvaluateOnNewDocument',
                     {'identifier': self.scripts.pop(source)})

    def load(self, url, fresh=True):
        """Loads url, as a first visit unless fresh is False."""
        self.prepare(fresh)
        self.driver.get(url)

    def first_frame(self, url, fresh=True):
        """The load figures of one visit to url (FIRST_FRAME_WATCHER)."""
        self.load(url, fresh)
        figures = self.driver.execute_async_script(LOAD_FIGURES)
        if not figures or 'error' in figures:
            raise RuntimeError(f'{url}: {figures}')
        return figures

    def wait_for_service_worker(self):
        """Waits until the page's service worker is active, its cache filled."""
        return self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            if (!('serviceWorker' in navigator)) { done(false); return; }
            navigator.serviceWorker.ready.then(() => done(true), () => done(false));""")

    def drag(self, moves):
        """Hovers, presses on the red leg, moves round the vertex, each move
        at least MOVE_INTERVAL_S after the one before so that each has its own
        frame, and releases. Returns how many mouseMoved events were sent."""
        left, top, width, height = self.driver.execute_script("""
            const box = document.getElementById('surface').getBoundingClientRect();
            return [box.left, box.top, box.width, box.height];""")
        cx, cy = left + width / 2, top + height / 2
        radius = 0.35 * width

        def mouse(kind, angle, buttons):
            params = {'type': kind, 'x': cx + radius * math.cos(angle),
                      'y': cy - radius * math.sin(angle), 'button': 'left', 'buttons': buttons}
            if kind != 'mouseMoved':
                params['clickCount'] = 1
            self.cdp('Input.dispatchMouseEvent', params)

        mouse('mouseMoved', 0.02, 0)
        time.sleep(0.05)
        mouse('mousePressed', 0.02, 1)
        time.sleep(0.05)
        due = time.monotonic()
        for k in range(1, moves + 1):
            due += MOVE_INTERVAL_S
            mouse('mouseMoved', 0.02 + 2 * math.pi * k / moves, 1)
            time.sleep(max(0.0, due - time.monotonic()))
        time.sleep(0.05)
        mouse('mouseReleased', 0.02 + 2 * math.pi, 0)
        time.sleep(0.1)
        return moves + 1

    def move_costs(self, url, moves):
        """Two drags on one freshly loaded page: the first timed in the page
        (MOVE_TIMER), the second traced (per_move). Per move, in ms, with the
        first WARM_UP_MOVES of each drag left out: in the page, listeners +
        animation callbacks; traced, handler + drawing and all main-thread
        work, and the animation frames run. Also, for the traced drag, the
        mouseMoved events sent (the hover's included) and the pointermoves
        dispatched."""
        self.load(url)
        if not wait_for(self.driver, """
                const label = document.getElementById('LWinkel');
                return document.readyState === 'complete'
                    && (label === null || label.textContent !== '');""", 20):
            raise RuntimeError(f'{url}: the game did not start')
        time.sleep(0.3)
        self.drag(moves)
        timed = self.driver.execute_script("""
            const timer = window.__benchMoveTimer;
            timer.stop();
            return timer.moves.map(([listeners, frames]) => listeners + frames);""")
        sent = 0

        def traced_drag():
            nonlocal sent
            sent = self.drag(moves)

        costs = per_move(record_trace(self.devtools, traced_drag))
        return {**costs, 'timed': timed[WARM_UP_MOVES:], 'sent': sent}
