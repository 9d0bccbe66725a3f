# SPDX-License-Identifier: GPL-3.0-or-later
"""The sizes of the files, and the figures of points 1 to 3 of web_bench.py
printed with their ratios and goals."""
import gzip
import math
import os

from . import WARM_UP_MOVES

SIZE_GOAL_BYTES = 160_000
FIRST_FRAME_GOAL_RATIO = 1.3
MOVE_GOAL_MS = 0.5


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


# ---- the report --------------------------------------------------------------------

def report(version, viewport, runs, moves, site, sizes, loads, drags, elapsed, single, other):
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
    print(f'   {"game started, takes input":<30}{"":>20}{spread(series("zirkulon", "started")):>22}'
          f'{ratio(series("zirkulon", "started"), series("bare", "frame")):>7.2f}×')
    by_worker = sum(1 for load in loads['return'] if load['serviceWorker'])
    print(f'   {"return visit, picture shown":<30}{"":>20}{spread(series("return", "frame")):>22}'
          f'{ratio(series("return", "frame"), series("bare", "frame")):>7.2f}×'
          f'  ({by_worker} of {len(loads["return"])} served by its service worker or its cache)')
    print(f'   {"… game started":<30}{"":>20}{spread(series("return", "started")):>22}'
          f'{ratio(series("return", "started"), series("bare", "frame")):>7.2f}×')
    print(f'   {"bare page, loaded the same way":<30}{spread(series("bare return", "frame")):>20}')
    if other:
        print(f'   the other build: {other}')
        for label, key in (('other build, picture shown', 'other'),
                           ('… on a return visit', 'other return')):
            frames = series(key, 'frame')
            print(f'   {label:<30}{"":>20}{spread(frames):>22}'
                  f'{ratio(frames, series("bare", "frame")):>7.2f}×')
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
