# SPDX-License-Identifier: GPL-3.0-or-later
"""Lighthouse's mobile run against the site on nginx: point 4 of
web_bench.py."""
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

from . import BENCH, CHROMIUM, ROOT
from .report import verdict

LIGHTHOUSE = os.path.join(BENCH, 'lighthouse', 'node_modules', 'lighthouse', 'cli', 'index.js')
NGINX = os.path.join(ROOT, 'scripts', 'nginx.sh')

LIGHTHOUSE_SCORE_GOAL = 95
LIGHTHOUSE_TBT_GOAL_MS = 200


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
