# SPDX-License-Identifier: GPL-3.0-or-later
"""A DevTools connection of the benchmark's own, for tracing, and the reading
of a trace: point 3 of web_bench.py."""
import base64
import json
import os
import socket
import struct
import threading
import urllib.parse

from . import WARM_UP_MOVES


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


# ---- reading a trace ----------------------------------------------------------------

def per_move(events):
    """Splits the renderer main thread's trace into moves; see point 3 of web_bench.py."""
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
