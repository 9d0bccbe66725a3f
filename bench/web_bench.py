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
   asynchronous script waits for the finding. Zirkulon's page draws the
   game's first picture before the game itself has loaded, so the same script
   also notes when the game has started and takes input: when it has set its
   labels' texts. Alongside: the browser's own first-contentful-paint entry.
   Zirkulon is also loaded a second time without wiping the storage: a
   return visit, served by its service worker. With --compare, another build
   of the site (the last release's, say) takes its turns alongside, first and
   return visits.

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
                                           [--lighthouse-runs N] [--compare OTHER_SITE]
Needs Debian's chromium, chromium-driver, python3-selenium and nginx-light,
and Lighthouse from bench/lighthouse (scripts/setup.sh --bench).
"""

import argparse
import json
import os
import shutil
import sys
import tempfile
import time
import urllib.request

from selenium.common.exceptions import WebDriverException

from web import BENCH, ROOT, WARM_UP_MOVES
from web.browser import Bench, size_viewport, start_browser, wait_for
from web.devtools import DevTools
from web.lighthouse import lighthouse_runs, report_lighthouse
from web.probes import FIRST_FRAME_WATCHER, MOVE_TIMER
from web.report import file_sizes, file_sizes_of, report
from web.server import start_server

BARE = os.path.join(BENCH, 'bare')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--site', default=os.path.join(ROOT, 'build-web', 'web', 'site'),
                        help='the built web site (default: build-web/web/site)')
    parser.add_argument('--runs', type=int, default=8,
                        help='first visits of each page, and pages loaded for drags (default: 8)')
    parser.add_argument('--moves', type=int, default=60, help='moves per drag (default: 60)')
    parser.add_argument('--lighthouse-runs', type=int, default=3,
                        help="Lighthouse's mobile runs against nginx, 0 for none (default: 3)")
    parser.add_argument('--compare', metavar='OTHER_SITE',
                        help="another build of the site, loaded alongside for the first frames")
    args = parser.parse_args()
    site = os.path.abspath(args.site)
    other = os.path.abspath(args.compare) if args.compare else None
    for folder in filter(None, (site, other)):
        for needed in ('index.html', 'page.js', 'zirkulon.js', 'zirkulon.wasm'):
            if not os.path.isfile(os.path.join(folder, needed)):
                sys.exit(f'{folder}/{needed} is missing: build the web site first')
    runs = max(1, args.runs)
    moves = max(WARM_UP_MOVES + 3, args.moves)

    sizes = {'zirkulon': file_sizes(site), 'bare': file_sizes(BARE)}

    server = start_server({'/site/': site, '/bare/': BARE, **({'/other/': other} if other else {})})
    origin = f'http://127.0.0.1:{server.server_address[1]}'
    urls = {'bare': f'{origin}/bare/', 'zirkulon': f'{origin}/site/', 'other': f'{origin}/other/'}
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
        def turns(run, pages=('bare', 'zirkulon', 'other') if other else ('bare', 'zirkulon')):
            return pages if run % 2 == 0 else pages[::-1]

        bench.inject(FIRST_FRAME_WATCHER, True)
        for name in turns(0):
            bench.first_frame(urls[name])
        loads = {'bare': [], 'zirkulon': [], 'return': [], 'other': [], 'other return': [],
                 'bare return': []}
        for run in range(runs):
            for name in turns(run):
                loads[name].append(bench.first_frame(urls[name]))
                if name != 'bare':
                    bench.wait_for_service_worker()
                # The bare page keeps nothing: loaded again the same way, it
                # shows what the steps of a return visit cost by themselves.
                again = {'bare': 'bare return', 'zirkulon': 'return'}.get(name, 'other return')
                loads[again].append(bench.first_frame(urls[name], fresh=False))
        bench.inject(FIRST_FRAME_WATCHER, False)

        bench.inject(MOVE_TIMER, True)
        drags = {'bare': [], 'zirkulon': []}
        for run in range(runs):
            for name in turns(run, ('bare', 'zirkulon')):
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
           time.monotonic() - started, single, other and os.path.relpath(other))
    if args.lighthouse_runs > 0:
        report_lighthouse(lighthouse_runs(site, args.lighthouse_runs))


if __name__ == '__main__':
    main()
