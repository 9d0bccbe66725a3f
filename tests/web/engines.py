# SPDX-License-Identifier: GPL-3.0-or-later
"""Firefox and WebKit as the page tests drive them, behind one small
interface: open a page, run a script in it, send pointer and key actions
(WebDriver's action lists, which both protocols share), and the console's
errors.

Firefox speaks WebDriver BiDi itself: Debian's firefox-esr is started with
its remote agent, and this talks to it over a WebSocket (python3-websocket);
Debian has no geckodriver. WebKit is Debian's WebKitGTK MiniBrowser through
its WebKitWebDriver (webkit2gtk-driver) and Selenium; it needs an X display.
"""
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

import websocket
from selenium import webdriver
from selenium.webdriver.remote.command import Command
from selenium.webdriver.webkitgtk.options import Options

VIEWPORT = (900, 760)

# WebDriver's code points for the keys the tests press.
KEYS = {'Enter': '\ue006', 'Escape': '\ue00c', 'Tab': '\ue004', 'Shift': '\ue008',
        'Control': '\ue009', 'Alt': '\ue00a', 'Meta': '\ue03d', 'PageUp': '\ue00e',
        'PageDown': '\ue00f', 'End': '\ue010', 'Home': '\ue011', 'ArrowLeft': '\ue012',
        'ArrowUp': '\ue013', 'ArrowRight': '\ue014', 'ArrowDown': '\ue015'}

# Runs the test's script as the body of an async function and hands back its
# value as JSON, which both protocols carry alike.
WRAPPED = ('async function (...args) {{ try {{ const value = await (async (...args) => {{ {body} }})'
           '(...args); return JSON.stringify(value === undefined ? null : value); }}'
           ' catch (error) {{ return JSON.stringify({{ scriptError: String(error) }}); }} }}')


class ScriptError(AssertionError):
    pass


def result(text):
    value = json.loads(text)
    if isinstance(value, dict) and 'scriptError' in value:
        raise ScriptError(value['scriptError'])
    return value


class Firefox:
    name = 'Firefox'

    def __init__(self, language='de-DE, de'):
        self.profile = tempfile.mkdtemp(prefix='zirkulon-firefox-')
        with open(os.path.join(self.profile, 'user.js'), 'w', encoding='utf-8') as prefs:
            # A headless window never has the system's focus; in focus test
            # mode the document has it all the same, and keys act as typed.
            prefs.write(f'user_pref("intl.accept_languages", "{language}");\n'
                        'user_pref("browser.shell.checkDefaultBrowser", false);\n'
                        'user_pref("focusmanager.testmode", true);\n')
        self.process = subprocess.Popen(
            ['firefox-esr', *(['--headless'] if not os.environ.get('DISPLAY') else []), '--no-remote', '--profile', self.profile,
             '--remote-debugging-port=0', 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        address = None
        for line in self.process.stderr:
            found = re.search(r'WebDriver BiDi listening on (ws://\S+)', line)
            if found:
                address = found.group(1)
                break
        if address is None:
            raise RuntimeError('Firefox did not start its remote agent')
        # Firefox goes on writing to its standard error; it must not block.
        threading.Thread(target=lambda: [None for _ in self.process.stderr], daemon=True).start()
        self.socket = websocket.create_connection(address + '/session', suppress_origin=True,
                                                  timeout=60)
        self.next_id = 0
        self.errors = []
        self.command('session.new', capabilities={})
        self.command('session.subscribe', events=['log.entryAdded'])
        self.context = self.command('browsingContext.getTree')['contexts'][0]['context']
        width, height = VIEWPORT
        self.command('browsingContext.setViewport', context=self.context,
                     viewport={'width': width, 'height': height})

    def command(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('method') == 'log.entryAdded':
                entry = message['params']
                if entry.get('level') == 'error':
                    self.errors.append(entry.get('text', ''))
            elif message.get('id') == self.next_id:
                if message.get('type') == 'error':
                    raise RuntimeError(f"{method}: {message.get('error')}: {message.get('message')}")
                return message['result']

    def open(self, url):
        self.command('browsingContext.navigate', context=self.context, url=url, wait='complete')

    def before_every_page(self, script):
        """Runs `script` in each new document before the page's own."""
        self.command('script.addPreloadScript', functionDeclaration=f'() => {{ {script} }}')

    def js(self, body, *args):
        values = [{'type': 'number' if isinstance(a, (int, float)) else 'string', 'value': a}
                  for a in args]
        reply = self.command('script.callFunction', functionDeclaration=WRAPPED.format(body=body),
                             awaitPromise=True, target={'context': self.context},
                             arguments=values, resultOwnership='none')
        if reply.get('type') == 'exception':
            raise ScriptError(reply['exceptionDetails'].get('text'))
        return result(reply['result']['value'])

    def actions(self, actions):
        self.command('input.performActions', context=self.context, actions=actions)
        self.command('input.releaseActions', context=self.context)

    def console_errors(self):
        self.js('return 0')  # whatever the browser reported until now has arrived
        errors, self.errors = self.errors, []
        return errors

    def quit(self):
        try:
            self.command('browser.close')
        except Exception:  # noqa: BLE001 - it is closing anyway
            pass
        self.socket.close()
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)


# Installed in every page WebKit opens, as soon as the test can: WebKit's
# driver reports no console, so the page's errors are gathered in it.
ERROR_RECORDER = ('if (!window.recordedErrors) { window.recordedErrors = [];'
                  ' addEventListener("error", (e) => recordedErrors.push(String(e.message)));'
                  ' addEventListener("unhandledrejection", (e) => recordedErrors.push(String(e.reason)));'
                  ' const original = console.error;'
                  ' console.error = (...a) => { recordedErrors.push(a.join(" ")); original(...a); }; }')


class WebKit:
    name = 'WebKit'

    def __init__(self, environment=None):
        options = Options()
        options.binary_location = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
        options.add_argument('--automation')
        saved = dict(os.environ)
        os.environ.update(environment or {})
        try:
            self.driver = webdriver.WebKitGTK(executable_path='/usr/bin/WebKitWebDriver',
                                              options=options)
        finally:
            os.environ.clear()
            os.environ.update(saved)
        self.driver.set_window_size(*VIEWPORT)

    def open(self, url):
        self.driver.get(url)
        self.driver.execute_script(ERROR_RECORDER)

    def js(self, body, *args):
        return result(self.driver.execute_async_script(
            f'const done = arguments[arguments.length - 1];'
            f' ({WRAPPED.format(body=body)})(...Array.from(arguments).slice(0, -1)).then(done);',
            *args))

    def actions(self, actions):
        self.driver.execute(Command.W3C_ACTIONS, {'actions': actions})
        self.driver.execute(Command.W3C_CLEAR_ACTIONS)

    def console_errors(self):
        return self.js('const e = window.recordedErrors || []; window.recordedErrors = []; return e;')

    def quit(self):
        self.driver.quit()


def version(engine):
    """The engine's version, as its package names it."""
    package = {'Firefox': 'firefox-esr', 'WebKit': 'libwebkit2gtk-4.1-0'}[engine]
    return subprocess.run(['dpkg-query', '-W', '-f', '${Version}', package], capture_output=True,
                          text=True, check=False).stdout


def wait(condition, what, seconds=15):
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f'timed out waiting for {what}')
        time.sleep(0.05)
