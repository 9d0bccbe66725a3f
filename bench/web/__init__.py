# SPDX-License-Identifier: GPL-3.0-or-later
"""The parts of the browser benchmark, bench/web_bench.py, which describes
what it measures and how."""
import os

BENCH = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROOT = os.path.dirname(BENCH)
CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'

# The first moves of each drag, while the script engines warm up, are left out.
WARM_UP_MOVES = 5
