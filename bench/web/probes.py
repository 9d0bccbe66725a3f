# SPDX-License-Identifier: GPL-3.0-or-later
"""The scripts the benchmark adds to the pages through the DevTools protocol
(the pages' own files are untouched), and the one that collects the load
figures."""

# Added to every new document by the DevTools protocol while the first frames
# are measured; see point 2 of web_bench.py. It resolves window.__benchFirstFrame
# with the time of the first frame that shows the picture, and then stops.
FIRST_FRAME_WATCHER = r'''
(() => {
  if (window.top !== window) {
    return;
  }
  let resolve;
  window.__benchFirstFrame = new Promise((r) => { resolve = r; });
  // Zirkulon's page shows the game's first picture before the game has
  // loaded; the game has started (and takes input) once it has set its
  // labels' texts.
  window.__benchGameStarted = new Promise((started) => {
    const observer = new MutationObserver(() => {
      const label = document.getElementById('LWinkel');
      if (label !== null && label.textContent !== '') {
        observer.disconnect();
        started(performance.now());
      }
    });
    observer.observe(document, { subtree: true, childList: true, characterData: true });
  });
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
  // Only Zirkulon's page has a menu bar of its own to fill.
  const started = document.getElementById('menubar') !== null
    ? await window.__benchGameStarted : null;
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
    started,
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
