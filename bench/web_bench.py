#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures Zirkulon's web build side by side with a bare page, in one run of
headless Chromium, and prints the figures with their ratios and goals.

The bare page (bench/bare/) is the least a page with a 548 x 548 canvas and a
menu bar of six entries costs: plain HTML and a few lines of script that paint
the canvas as soon as the document's scripts run, and repaint it once per frame
while the left button is held and the pointer moves.

1. Size: every file of the site, its bytes as served and gzipped at level 9
   (Python's gzip module, no timestamp), and the totals; the bare page's too.

2. Time to the first painted frame, from navigation start (performance's time
   origin), for each page on a first visit: the browser's cache is cleared and
   disabled and the origin's storage (the service worker, its cache) wiped
   before every load, and the pages take turns. A script that the DevTools
   protocol adds to each new document (the pages' own files are untouched)
   watches the canvas: at the start of every frame's animation callbacks and
   after each of the page's own callbacks it copies a strip of the canvas
   through its vertical centre, where the red leg runs to the right from the
   vertex, and looks for red pixels. Once the picture is there, the frame
   being rendered shows it; the time is taken in the first task after that
   frame's rendering (style, layout, paint, commit to the compositor), the
   same way for both pages. Nothing polls the page while it loads: one
   asynchronous script waits for the finding. Alongside: the browser's own
   first-contentful-paint entry, which for Zirkulon comes with the title bar's
   text, long before the game has drawn anything. Zirkulon is also loaded a
   second time without wiping the storage: a return visit, served by its
   service worker.

3. One pointer move with the left button held, with real input: mouse
   events sent through the DevTools protocol (Input.dispatchMouseEvent) to
   the canvas, a hover, a press on the red leg, then moves on a circle round
   the vertex at least 25 ms apart, so that every move has its own frame, then
   a release. Each freshly loaded page gets two such drags.
   The second drag is traced (devtools.timeline and toplevel categories), and
   for each move the renderer's main thread's trace gives:
     - handler + drawing: the pointermove event's dispatch (for Zirkulon the
       page's listener calls into WebAssembly, which turns the leg and sets
       lines and arc; then the promise's microtask) plus the animation frame
       callbacks that repaint the canvas, plus any Paint of the page's layers
       (a canvas that draws anew needs none);
     - all main-thread work: every task the main thread ran from the frame
       that dispatched this move to the frame that dispatched the next, less
       those carrying the DevTools session's messages (ChromeDriver's own
       scripts): input dispatch, animation callbacks, style, layout,
       pre-paint and the commit, during which the main thread waits while the
       canvas's picture goes to the compositor.
   Tracing slows every traced event by a few microseconds, alike for both
   pages. So the first drag is timed untraced, in the page, by another
   script the DevTools protocol adds: pointermove listeners on the window
   before (capturing) and after (bubbling) the page's own, which also covers
   the microtasks the page's listener queues, and the time the page's
   animation frame callbacks take, counted to the move before them. This
   leaves out the browser's own dispatching. The static server sends the
   headers of cross-origin isolation, under which performance.now() counts
   in 5 us steps rather than 100 us; the pages load nothing from elsewhere.
   The first few moves of each drag, while the script engines warm up, are
   left out.

4. Lighthouse's mobile run (performance only; its default emulation of a
   mid-range phone: simulated slow 4G and a CPU slowed four times) against
   the site served by Debian's nginx with the shipped configuration
   (scripts/nginx.sh), each run in a new headless Chromium with an empty
   profile: the performance score and the total blocking time, per run and
   their median.

Usage: /usr/bin/python3 bench/web_bench.py [--site build-web/web/site] [--runs N]
                                           [--lighthouse-runs N]
Needs Debian's chromium, chromium-driver, python3-selenium and nginx-light,
and Lighthouse from bench/lighthouse (scripts/setup.sh --bench).
"""

import argparse
import base64
import functools
import gzip
import http.server
import json
import math
import os
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BARE = os.path.join(HERE, 'bare')
CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'

LIGHTHOUSE = os.path.join(HERE, 'lighthouse', 'node_modules', 'lighthouse', 'cli', 'index.js')
NGINX = os.path.join(ROOT, 'scripts', 'nginx.sh')

SIZE_GOAL_BYTES = 160_000
FIRST_FRAME_GOAL_RATIO = 1.3
LIGHTHOUSE_SCORE_GOAL = 95
LIGHTHOUSE_TBT_GOAL_MS = 200
MOVE_GOAL_MS = 0.5
WARM_UP_MOVES = 5
MOVE_INTERVAL_S = 0.025


# ---- figures ------------------------------------------------------------------

def percentile(values, p):
    values = sorted(values)
    if not values:
        return math.nan
    position = p * (len(values) - 1)
    low = math.floor(position)
    high = min(low + 1, len(values) - 1)
    return values[low] + (values[high] - values[low]) * (position - low)


def spread(values, digits=1):
    """'median [p10–p90]' of the values, or 'n/a' when there are none."""
    if not values:
        return 'n/a'
    return (f'{percentile(values, 0.5):.{digits}f} '
            f'[{percentile(values, 0.1):.{digits}f}–{percentile(values, 0.9):.{digits}f}]')


def ratio(numerator, denominator):
    if not numerator or not denominator:
        return math.nan
    return percentile(numerator, 0.5) / percentile(denominator, 0.5)


def verdict(met):
    return 'met' if met else 'NOT met'


# ---- 1. size --------------------------------------------------------------------

def file_sizes(folder):
    """(relative name, bytes, gzipped bytes) of every file under folder, less
    the precompressed copies that servers send in their place."""
    rows = []
    for directory, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith(('.gz', '.br')):
                continue
            path = os.path.join(directory, name)
            with open(path, 'rb') as f:
                data = f.read()
            rows.append((os.path.relpath(path, folder), len(data),
                         len(gzip.compress(data, compresslevel=9, mtime=0))))
    return sorted(rows)


def file_sizes_of(path):
    """(name, bytes, gzipped bytes) of one file."""
    with open(path, 'rb') as f:
        data = f.read()
    return (os.path.basename(path), len(data), len(gzip.compress(data, compresslevel=9, mtime=0)))


# ---- the static server ------------------------------------------------------------

class Handler(http.server.SimpleHTTPRequestHandler):
    """Serves the site under /site/ and the bare page under /bare/."""
    protocol_version = 'HTTP/1.1'
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        '.wasm': 'application/wasm',
        '.js': 'text/javascript',
        '.webmanifest': 'application/manifest+json',
        '.woff2': 'font/woff2',
    }

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


# ---- a DevTools connection of our own, for tracing ---------------------------------

class DevTools:
    """A minimal DevTools protocol client over one WebSocket (RFC 6455).

    ChromeDriver forwards commands but not the protocol's events, and a trace
    arrives as events (Tracing.dataCollected), so the benchmark connects to
    the browser's DevTools endpoint itself."""

    def __init__(self, url):
        parsed = urllib.parse.urlparse(url)
        self.sock = socket.create_connection((parsed.hostname, parsed.port), timeout=60)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f'GET {parsed.path} HTTP/1.1\r\nHost: {parsed.netloc}\r\n'
                           'Upgrade: websocket\r\nConnection: Upgrade\r\n'
                           f'Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n')
                          .encode())
        head = b''
        while b'\r\n\r\n' not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise RuntimeError('DevTools closed the connection')
            head += chunk
        if b' 101 ' not in head.split(b'\r\n', 1)[0]:
            raise RuntimeError(f'DevTools refused the WebSocket: {head[:200]!r}')
        self.sock.settimeout(None)
        self.send_lock = threading.Lock()
        self.cond = threading.Condition()
        self.next_id = 0
        self.replies = {}
        self.closed = False
        self.listeners = []
        threading.Thread(target=self._read, daemon=True).start()

    def _recv_exact(self, n):
        data = bytearray()
        while len(data) < n:
            chunk = self.sock.recv(min(n - len(data), 1 << 20))
            if not chunk:
                raise EOFError
            data += chunk
        return bytes(data)

    def _send_frame(self, opcode, payload):
        mask = os.urandom(4)
        n = len(payload)
        if n < 126:
            head = struct.pack('!BB', 0x80 | opcode, 0x80 | n)
        elif n < 1 << 16:
            head = struct.pack('!BBH', 0x80 | opcode, 0x80 | 126, n)
        else:
            head = struct.pack('!BBQ', 0x80 | opcode, 0x80 | 127, n)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        with self.send_lock:
            self.sock.sendall(head + mask + masked)

    def _read(self):
        message = bytearray()
        try:
            while True:
                b0, b1 = self._recv_exact(2)
                opcode, n = b0 & 0x0F, b1 & 0x7F
                if n == 126:
                    n = struct.unpack('!H', self._recv_exact(2))[0]
                elif n == 127:
                    n = struct.unpack('!Q', self._recv_exact(8))[0]
                payload = self._recv_exact(n)
                if opcode == 9:
                    self._send_frame(10, payload)
                elif opcode == 8:
                    break
                elif opcode in (0, 1, 2):
                    message += payload
                    if b0 & 0x80:
                        self._dispatch(json.loads(message))
                        message = bytearray()
        except (EOFError, OSError):
            pass
        with self.cond:
            self.closed = True
            self.cond.notify_all()

    def _dispatch(self, message):
        if 'id' in message:
            with self.cond:
                self.replies[message['id']] = message
                self.cond.notify_all()
        else:
            for listener in list(self.listeners):
                listener(message)

    def call(self, method, params=None, timeout=60):
        with self.cond:
            self.next_id += 1
            ident = self.next_id
        self._send_frame(1, json.dumps({'id': ident, 'method': method,
                                        'params': params or {}}).encode())
        with self.cond:
            if not self.cond.wait_for(lambda: ident in self.replies or self.closed, timeout):
                raise TimeoutError(method)
            if ident not in self.replies:
                raise RuntimeError('DevTools closed the connection')
            reply = self.replies.pop(ident)
        if 'error' in reply:
            raise RuntimeError(f'{method}: {reply["error"]}')
        return reply.get('result', {})

    def close(self):
        try:
            self._send_frame(8, b'')
            self.sock.close()
        except OSError:
            pass


# Just what per_move reads: event dispatch, animation frames and paint
# (devtools.timeline), and every task with the messages it carried
# (toplevel); fewer categories, less slowing down.
TRACE_CATEGORIES = ['devtools.timeline', 'toplevel', '__metadata']


def record_trace(devtools, action):
    """Runs action() while the browser traces; returns the trace's events."""
    events = []
    complete = threading.Event()

    def listen(message):
        if message.get('method') == 'Tracing.dataCollected':
            events.extend(message['params']['value'])
        elif message.get('method') == 'Tracing.tracingComplete':
            complete.set()

    devtools.listeners.append(listen)
    try:
        devtools.call('Tracing.start', {
            'traceConfig': {'includedCategories': TRACE_CATEGORIES,
                            'recordMode': 'recordAsMuchAsPossible'},
            'transferMode': 'ReportEvents'})
        try:
            action()
        finally:
            devtools.call('Tracing.end')
            if not complete.wait(60):
                raise TimeoutError('the trace did not complete')
    finally:
        devtools.listeners.remove(listen)
    return events


# ---- the browser -------------------------------------------------------------------

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


# Added to every new document by the DevTools protocol while the first frames
# are measured; see point 2 at the top. It resolves window.__benchFirstFrame
# with the time of the first frame that shows the picture, and then stops.
FIRST_FRAME_WATCHER = r'''
(() => {
  if (window.top !== window) {
    return;
  }
  let resolve;
  window.__benchFirstFrame = new Promise((r) => { resolve = r; });
  const probe = document.createElement('canvas');
  const probeContext = probe.getContext('2d', { willReadFrequently: true });
  const nativeRequest = window.requestAnimationFrame.bind(window);
  let shown = false;    // the frame being rendered shows it
  let done = false;

  // Red pixels in a strip through the canvas's vertical centre, right of it.
  function hasPicture() {
    const canvas = document.getElementById('surface');
    if (canvas === null || canvas.width < 8 || canvas.height < 8) {
      return false;
    }
    const width = Math.floor(canvas.width / 2);
    const top = Math.floor(canvas.height / 2) - 4;
    if (probe.width !== width) {
      probe.width = width;
      probe.height = 8;
    }
    probeContext.clearRect(0, 0, width, 8);
    probeContext.drawImage(canvas, canvas.width - width, top, width, 8, 0, 0, width, 8);
    const data = probeContext.getImageData(0, 0, width, 8).data;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] > 160 && data[i + 1] < 90 && data[i + 2] < 90 && data[i + 3] > 200) {
        return true;
      }
    }
    return false;
  }
  function look() {
    if (!shown && hasPicture()) {
      shown = true;
    }
  }

  // The page's own animation frame callbacks: whatever they draw is in this
  // frame.
  window.requestAnimationFrame = function requestAnimationFrame(callback) {
    return nativeRequest((time) => {
      try {
        callback(time);
      } finally {
        if (!done) {
          look();
        }
      }
    });
  };

  // After the frame has been rendered: if the picture was there by the end of
  // the animation callbacks, this frame showed it. Seen only now, it was drawn
  // by a task after the frame and the next frame shows it.
  const channel = new MessageChannel();
  channel.port1.onmessage = () => {
    if (done) {
      return;
    }
    if (shown) {
      done = true;
      resolve(performance.now());
    } else if (hasPicture()) {
      shown = true;
    }
  };
  function tick() {
    if (done) {
      return;
    }
    look();
    channel.port2.postMessage(0);
    nativeRequest(tick);
  }
  nativeRequest(tick);
})();
'''

# What the navigation took: waits (asynchronously, so that nothing polls the
# page while it loads) for the watcher's finding, the load event and the
# first-contentful-paint entry.
LOAD_FIGURES = r'''
const done = arguments[arguments.length - 1];
(async () => {
  const frame = await window.__benchFirstFrame;
  if (document.readyState !== 'complete') {
    await new Promise((resolve) => addEventListener('load', resolve, { once: true }));
  }
  const fcp = await new Promise((resolve) => {
    new PerformanceObserver((list, observer) => {
      const entry = list.getEntries().find((e) => e.name === 'first-contentful-paint');
      if (entry) {
        observer.disconnect();
        resolve(entry.startTime);
      }
    }).observe({ type: 'paint', buffered: true });
  });
  const navigation = performance.getEntriesByType('navigation')[0];
  const wasm = performance.getEntriesByType('resource').find((e) => e.name.endsWith('.wasm'));
  const canvas = document.getElementById('surface');
  return {
    frame,
    fcp,
    domContentLoaded: navigation.domContentLoadedEventEnd,
    load: navigation.loadEventEnd,
    wasm: wasm ? wasm.responseEnd : null,
    // Answered by the worker, or from its cache by a static route.
    serviceWorker: navigation.workerStart > 0 || navigation.deliveryType === 'cache-storage',
    canvas: [canvas.width, canvas.height],
  };
})().then(done, (error) => done({ error: String(error) }));
'''

# Added to every new document while the moves are measured, for the figure
# taken without a trace: a listener on the window in the capturing phase runs
# before the canvas's own and one in the bubbling phase after it (and after
# the microtasks its promise queued), and the page's animation frame
# callbacks are timed as they run, each counted to the last pointermove
# before it. stop() takes all of this out again.
MOVE_TIMER = r'''
(() => {
  if (window.top !== window) {
    return;
  }
  const nativeRequest = window.requestAnimationFrame;
  const moves = [];   // per pointermove: [listeners ms, animation callbacks ms]
  let start = 0;
  const before = () => { start = performance.now(); };
  const after = () => { moves.push([performance.now() - start, 0]); };
  addEventListener('pointermove', before, true);
  addEventListener('pointermove', after, false);
  window.requestAnimationFrame = function requestAnimationFrame(callback) {
    return nativeRequest.call(window, (time) => {
      const begin = performance.now();
      try {
        callback(time);
      } finally {
        if (moves.length > 0) {
          moves[moves.length - 1][1] += performance.now() - begin;
        }
      }
    });
  };
  window.__benchMoveTimer = {
    moves,
    stop() {
      removeEventListener('pointermove', before, true);
      removeEventListener('pointermove', after, false);
      window.requestAnimationFrame = nativeRequest;
    },
  };
})();
'''


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

    def forget_everything(self):
        """A first visit: no cache, no service worker, no stored data."""
        self.driver.get('about:blank')
        self.cdp('Storage.clearDataForOrigin', {'origin': self.origin, 'storageTypes': 'all'})
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
        if fresh:
            self.forget_everything()
        else:
            self.driver.get('about:blank')
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


# ---- reading a trace ----------------------------------------------------------------

def per_move(events):
    """Splits the renderer main thread's trace into moves; see point 3."""
    dispatches = [e for e in events if e.get('ph') == 'X' and e['name'] == 'EventDispatch'
                  and e.get('args', {}).get('data', {}).get('type') == 'pointermove']
    if not dispatches:
        raise RuntimeError('the trace has no pointermove')
    pid, tid = dispatches[0]['pid'], dispatches[0]['tid']
    main = sorted((e for e in events
                   if e['pid'] == pid and e['tid'] == tid and e.get('ph') == 'X'),
                  key=lambda e: e['ts'])
    chosen = {id(e) for e in dispatches}
    dispatches = [e for e in main if id(e) in chosen]
    tasks = [e for e in main if e['name'] == 'ThreadControllerImpl::RunTask']

    def inside(event, task):
        return task['ts'] <= event['ts'] and event['ts'] + event.get('dur', 0) <= task['ts'] + task['dur']

    # Tasks that carry a DevTools session's message: the harness's own
    # commands (ChromeDriver evaluates scripts around each command), not the
    # page's work.
    harness = [e for e in main if e['name'] == 'Receive mojo message'
               and e.get('args', {}).get('chrome_mojo_event_info', {})
                   .get('mojo_interface_tag') == 'blink.mojom.DevToolsSession']
    page_tasks = [t for t in tasks if not any(inside(h, t) for h in harness)]
    starts = []
    for dispatch in dispatches:
        task = next((t for t in tasks if inside(dispatch, t)), None)
        starts.append(task['ts'] if task else dispatch['ts'])

    # A move's window runs from the task that dispatched it to the one that
    # dispatched the next; the last move has none and is left out.
    handler_names = {'FireAnimationFrame', 'Paint'}
    handler, total, frames = [], [], []
    for k in range(len(starts) - 1):
        begin, end = starts[k], starts[k + 1]
        in_window = [e for e in main if begin <= e['ts'] < end]
        handler.append(sum(e['dur'] for e in in_window
                           if e is dispatches[k] or e['name'] in handler_names) / 1000)
        total.append(sum(t['dur'] for t in page_tasks if begin <= t['ts'] < end) / 1000)
        frames.append(sum(1 for e in in_window if e['name'] == 'FireAnimationFrame'))
    skip = min(WARM_UP_MOVES, max(0, len(handler) - 1))
    return {'handler': handler[skip:], 'total': total[skip:], 'frames': frames[skip:],
            'dispatched': len(dispatches)}


# ---- 4. Lighthouse on nginx ---------------------------------------------------------

def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def lighthouse_runs(site, runs):
    """Lighthouse's mobile performance figures of the site on nginx, per run:
    (score, total blocking time ms, first contentful paint ms, largest
    contentful paint ms)."""
    if not os.path.isfile(LIGHTHOUSE):
        sys.exit(f'{LIGHTHOUSE} is missing: scripts/setup.sh --bench installs it')
    port = free_port()
    nginx = subprocess.Popen([NGINX, site, str(port)], stdout=subprocess.DEVNULL)
    results = []
    try:
        url = f'http://127.0.0.1:{port}/'
        deadline = time.monotonic() + 10
        while True:
            try:
                with urllib.request.urlopen(url, timeout=1):
                    break
            except OSError:
                if nginx.poll() is not None or time.monotonic() > deadline:
                    raise RuntimeError('nginx did not start')
                time.sleep(0.1)
        for _ in range(runs):
            profile = tempfile.mkdtemp(prefix='zirkulon-lighthouse-')
            report_file = os.path.join(profile, 'report.json')
            flags = ' '.join(('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
                              '--no-first-run', '--disable-background-networking',
                              '--disable-component-update', '--disable-sync',
                              f'--user-data-dir={profile}/chromium'))
            try:
                subprocess.run(['node', LIGHTHOUSE, url, '--only-categories=performance',
                                '--output=json', f'--output-path={report_file}', '--quiet',
                                f'--chrome-flags={flags}'],
                               check=True, env={**os.environ, 'CHROME_PATH': CHROMIUM})
                with open(report_file, encoding='utf-8') as f:
                    lhr = json.load(f)
            finally:
                shutil.rmtree(profile, ignore_errors=True)
            audits = lhr['audits']
            results.append((lhr['categories']['performance']['score'] * 100,
                            audits['total-blocking-time']['numericValue'],
                            audits['first-contentful-paint']['numericValue'],
                            audits['largest-contentful-paint']['numericValue']))
        return {'version': lhr['lighthouseVersion'], 'runs': results}
    finally:
        nginx.terminate()
        nginx.wait(10)


def report_lighthouse(figures):
    runs = figures['runs']
    print(f'\n4. Lighthouse {figures["version"]}, mobile (simulated slow 4G, CPU slowed 4×), '
          f'the site on nginx, {len(runs)} runs')
    print(f'   {"run":<6}{"score":>7}{"TBT ms":>9}{"FCP ms":>9}{"LCP ms":>9}')
    for k, (score, tbt, fcp, lcp) in enumerate(runs, 1):
        print(f'   {k:<6}{score:>7.0f}{tbt:>9.0f}{fcp:>9.0f}{lcp:>9.0f}')
    score = statistics.median(run[0] for run in runs)
    tbt = statistics.median(run[1] for run in runs)
    print(f'   {"median":<6}{score:>7.0f}{tbt:>9.0f}'
          f'{statistics.median(run[2] for run in runs):>9.0f}'
          f'{statistics.median(run[3] for run in runs):>9.0f}')
    print(f'   goal: score ≥ {LIGHTHOUSE_SCORE_GOAL} and total blocking time ≤ '
          f'{LIGHTHOUSE_TBT_GOAL_MS} ms on a quiet machine: '
          f'{verdict(score >= LIGHTHOUSE_SCORE_GOAL and tbt <= LIGHTHOUSE_TBT_GOAL_MS)}')


# ---- the run ----------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--site', default=os.path.join(ROOT, 'build-web', 'web', 'site'),
                        help='the built web site (default: build-web/web/site)')
    parser.add_argument('--runs', type=int, default=8,
                        help='first visits of each page, and pages loaded for drags (default: 8)')
    parser.add_argument('--moves', type=int, default=60, help='moves per drag (default: 60)')
    parser.add_argument('--lighthouse-runs', type=int, default=3,
                        help="Lighthouse's mobile runs against nginx, 0 for none (default: 3)")
    args = parser.parse_args()
    site = os.path.abspath(args.site)
    for needed in ('index.html', 'page.js', 'zirkulon.js', 'zirkulon.wasm'):
        if not os.path.isfile(os.path.join(site, needed)):
            sys.exit(f'{site}/{needed} is missing: build the web site first')
    runs = max(1, args.runs)
    moves = max(WARM_UP_MOVES + 3, args.moves)

    sizes = {'zirkulon': file_sizes(site), 'bare': file_sizes(BARE)}

    server = start_server({'/site/': site, '/bare/': BARE})
    origin = f'http://127.0.0.1:{server.server_address[1]}'
    urls = {'bare': f'{origin}/bare/', 'zirkulon': f'{origin}/site/'}
    profile = tempfile.mkdtemp(prefix='zirkulon-web-bench-')
    driver = None
    devtools = None
    started = time.monotonic()
    try:
        driver = start_browser(profile)
        version = driver.capabilities.get('browserVersion', '?')
        debugger = driver.capabilities['goog:chromeOptions']['debuggerAddress']
        with urllib.request.urlopen(f'http://{debugger}/json/version') as reply:
            devtools = DevTools(json.load(reply)['webSocketDebuggerUrl'])
        bench = Bench(driver, devtools, origin)
        bench.cdp('Network.enable')

        # The viewport just holds Zirkulon's window at scale 1, so that both
        # canvases have 548 x 548 pixels.
        driver.get(urls['zirkulon'])
        window_size = wait_for(driver, """
            const w = document.getElementById('window');
            return w && w.offsetHeight > 100 ? [w.offsetWidth, w.offsetHeight] : null;""", 20)
        if window_size is None:
            raise RuntimeError('Zirkulon did not lay out its window')
        viewport = size_viewport(driver, *window_size)

        # The pages take turns, which one goes first alternating by run; one
        # load of each beforehand warms the browser up.
        def turns(run):
            return ('bare', 'zirkulon') if run % 2 == 0 else ('zirkulon', 'bare')

        bench.inject(FIRST_FRAME_WATCHER, True)
        for name in turns(0):
            bench.first_frame(urls[name])
        loads = {'bare': [], 'zirkulon': [], 'return': []}
        for run in range(runs):
            for name in turns(run):
                loads[name].append(bench.first_frame(urls[name]))
                if name == 'zirkulon':
                    bench.wait_for_service_worker()
                    loads['return'].append(bench.first_frame(urls[name], fresh=False))
        bench.inject(FIRST_FRAME_WATCHER, False)

        bench.inject(MOVE_TIMER, True)
        drags = {'bare': [], 'zirkulon': []}
        for run in range(runs):
            for name in turns(run):
                drags[name].append(bench.move_costs(urls[name], moves))
        bench.inject(MOVE_TIMER, False)
    finally:
        if devtools is not None:
            devtools.close()
        if driver is not None:
            try:
                driver.quit()
            except WebDriverException:
                pass
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)

    single = os.path.join(os.path.dirname(site), 'zirkulon.html')
    if os.path.isfile(single):
        single = file_sizes_of(single)
    else:
        single = None
    report(version, viewport, runs, moves, os.path.relpath(site), sizes, loads, drags,
           time.monotonic() - started, single)
    if args.lighthouse_runs > 0:
        report_lighthouse(lighthouse_runs(site, args.lighthouse_runs))


def report(version, viewport, runs, moves, site, sizes, loads, drags, elapsed, single):
    canvas = {name: '×'.join(map(str, loads[name][0]['canvas'])) for name in ('bare', 'zirkulon')}
    print(f'Zirkulon web benchmark: Chromium {version}, headless, software rendering; '
          f'{runs} runs in {elapsed:.0f} s')
    print(f'viewport {viewport[0]}×{viewport[1]} CSS px; canvas pixels: bare {canvas["bare"]}, '
          f'Zirkulon {canvas["zirkulon"]}')

    print(f'\n1. Size of the site ({site}), bytes')
    print(f'   {"file":<28}{"as served":>11}{"gzip -9":>10}')
    for name, raw, packed in sizes['zirkulon']:
        print(f'   {name:<28}{raw:>11,}{packed:>10,}')
    totals = {name: (sum(r for _, r, _ in rows), sum(p for _, _, p in rows), len(rows))
              for name, rows in sizes.items()}
    raw, packed, count = totals['zirkulon']
    print(f'   {f"total, {count} files":<28}{raw:>11,}{packed:>10,}'
          f'   goal ≤ {SIZE_GOAL_BYTES:,} gzipped: {verdict(packed <= SIZE_GOAL_BYTES)}')
    raw, packed, count = totals['bare']
    print(f'   {f"bare page, {count} files":<28}{raw:>11,}{packed:>10,}'
          f'   ratio gzipped {totals["zirkulon"][1] / packed:.0f}×')
    if single is not None:
        name, raw, packed = single
        print(f'   {name:<28}{raw:>11,}{packed:>10,}'
              f'   goal ≤ {SIZE_GOAL_BYTES:,} gzipped: {verdict(packed <= SIZE_GOAL_BYTES)}')

    def series(name, key):
        return [load[key] for load in loads[name] if load.get(key) is not None]

    header = f'   {"":<30}{"bare":>20}{"Zirkulon":>22}{"ratio":>8}'
    print('\n2. First painted frame on a first visit, ms from navigation start, '
          'median [p10–p90]')
    print(header)
    for label, key in (('canvas picture shown', 'frame'),
                       ('first-contentful-paint', 'fcp'),
                       ('DOMContentLoaded', 'domContentLoaded'),
                       ('load event', 'load')):
        bare, zirkulon = series('bare', key), series('zirkulon', key)
        print(f'   {label:<30}{spread(bare):>20}{spread(zirkulon):>22}'
              f'{ratio(zirkulon, bare):>7.2f}×')
    print(f'   {"zirkulon.wasm fetched":<30}{"":>20}{spread(series("zirkulon", "wasm")):>22}')
    by_worker = sum(1 for load in loads['return'] if load['serviceWorker'])
    print(f'   {"return visit, picture shown":<30}{"":>20}{spread(series("return", "frame")):>22}'
          f'{ratio(series("return", "frame"), series("bare", "frame")):>7.2f}×'
          f'  ({by_worker} of {len(loads["return"])} served by its service worker or its cache)')
    first_by_worker = sum(1 for load in loads['zirkulon'] if load['serviceWorker'])
    if first_by_worker:
        print(f'   warning: {first_by_worker} first visits were served by a service worker')
    frame_ratio = ratio(series('zirkulon', 'frame'), series('bare', 'frame'))
    print(f'   goal: Zirkulon\'s picture within {FIRST_FRAME_GOAL_RATIO}× the bare page\'s: '
          f'{frame_ratio:.2f}×, {verdict(frame_ratio <= FIRST_FRAME_GOAL_RATIO)}')
    first = percentile(series('zirkulon', 'frame'), 0.5)
    again = percentile(series('return', 'frame'), 0.5)
    print(f'   goal: a return visit faster than a first visit: {again:.1f} against {first:.1f} ms, '
          f'{verdict(again < first)}')

    print(f'\n3. One pointer move with the left button held, main-thread ms per move, '
          f'median [p10–p90];\n   two drags of {moves} moves on each of {runs} fresh loads '
          f'of a page, the first {WARM_UP_MOVES} moves of a drag left out')
    print(header)

    def pooled(name, key):
        return [value for drag in drags[name] for value in drag[key]]

    for label, key in (('handler + drawing, traced', 'handler'),
                       ('all main-thread work, traced', 'total'),
                       ('listeners + drawing, in page', 'timed')):
        bare, zirkulon = pooled('bare', key), pooled('zirkulon', key)
        print(f'   {label:<30}{spread(bare, 3):>20}{spread(zirkulon, 3):>22}'
              f'{ratio(zirkulon, bare):>7.2f}×')
    for name in ('bare', 'zirkulon'):
        sent = sum(drag['sent'] for drag in drags[name])
        dispatched = sum(drag['dispatched'] for drag in drags[name])
        frames = pooled(name, 'frames')
        print(f'   traced drags on {name}: {dispatched} pointermove dispatched of {sent} '
              f'mouse moves sent; animation frames per measured move '
              f'{min(frames)}–{max(frames)}, mean {sum(frames) / len(frames):.2f}')
    move = percentile(pooled('zirkulon', 'handler'), 0.5)
    print(f'   goal: handler + drawing (traced) ≤ {MOVE_GOAL_MS} ms: {move:.3f} ms, '
          f'{verdict(move <= MOVE_GOAL_MS)}')


if __name__ == '__main__':
    main()
