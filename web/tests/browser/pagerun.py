"""Serving the built page and running it in headless Chromium.

The page is copied into a temporary folder with the test module and the
given scripts of this folder, served on 127.0.0.1 (navigator.serial needs a
secure context; a loopback address is one), and evaluated through the
DevTools protocol on a pipe. Chromium runs as root only without its sandbox.
"""
import functools
import http.server
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SUPPORT_FILES = [HERE / 'fake-serial.mjs', HERE / 'page-test.mjs', HERE.parent / 'simulated-port.mjs']
# Generous: the checks take some fifteen seconds on a quiet machine.
UPPER_BOUND_SECONDS = 240


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def make_site(folder, web, wasm, scripts):
    """The page with the test module and, before the page's own script,
    the modules named in scripts (files of this folder)."""
    shutil.copytree(web, folder, dirs_exist_ok=True)
    for name in ('zk-h41-test-core.js', 'zk-h41-test-core.wasm'):
        shutil.copy(Path(wasm) / name, folder)
    for item in SUPPORT_FILES:
        shutil.copy(item, folder)
    index = folder / 'index.html'
    page = index.read_text()
    app = '<script type="module" src="app.mjs"></script>'
    if app not in page:
        sys.exit('index.html does not load app.mjs as expected')
    hook = '<script src="zk-h41-test-core.js"></script>\n' + ''.join(
        f'<script type="module" src="{name}"></script>\n' for name in scripts)
    index.write_text(page.replace(app, hook + app))


def serve(folder):
    """An HTTP server for the folder on a free loopback port, serving."""
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class DevTools:
    """The DevTools protocol on Chromium's pipe: JSON messages ended by NUL."""

    def __init__(self, reader, writer, deadline):
        self.reader, self.writer, self.deadline = reader, writer, deadline
        self.buffer = b''
        self.next_id = 0
        self.events = []

    def call(self, method, params=None, session=None):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        os.write(self.writer, json.dumps(message).encode() + b'\0')
        while True:
            reply = self.receive()
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError(f'{method}: {reply["error"]}')
                return reply['result']
            self.events.append(reply.get('method'))

    def wait_for(self, event):
        while event not in self.events:
            self.events.append(self.receive().get('method'))
        self.events.remove(event)

    def receive(self):
        while b'\0' not in self.buffer:
            left = self.deadline - time.monotonic()
            if left <= 0 or not select.select([self.reader], [], [], left)[0]:
                raise TimeoutError('the page did not finish in time')
            chunk = os.read(self.reader, 65536)
            if not chunk:
                raise RuntimeError('Chromium closed its pipe')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)


def close_browser(browser, pipe):
    """Asks Chromium to quit; ends its process group when it does not."""
    try:
        os.write(pipe, json.dumps({'id': 0, 'method': 'Browser.close'}).encode() + b'\0')
        browser.wait(timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        os.killpg(browser.pid, signal.SIGKILL)
        browser.wait()


def evaluate_in_page(chromium, url, expression):
    """The value the expression's promise resolves to in the loaded page;
    a list with one "FAIL ..." line when it could not be had."""
    chromium_in, ours_out = os.pipe()
    ours_in, chromium_out = os.pipe()

    def pipes_as_3_and_4():
        os.dup2(chromium_in, 3)
        os.dup2(chromium_out, 4)

    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
        browser = subprocess.Popen(
            [chromium, '--headless', '--no-sandbox', '--disable-gpu', '--remote-debugging-pipe',
             f'--user-data-dir={profile}', 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=pipes_as_3_and_4, pass_fds=(3, 4),
            start_new_session=True)
        os.close(chromium_in)
        os.close(chromium_out)
        try:
            tools = DevTools(ours_in, ours_out, time.monotonic() + UPPER_BOUND_SECONDS)
            target = tools.call('Target.createTarget', {'url': 'about:blank'})['targetId']
            session = tools.call('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
            tools.call('Page.enable', {}, session)
            tools.call('Page.navigate', {'url': url}, session)
            tools.wait_for('Page.loadEventFired')
            outcome = tools.call('Runtime.evaluate', {'expression': expression, 'awaitPromise': True,
                                                      'returnByValue': True}, session)
            if 'exceptionDetails' in outcome:
                return [f'FAIL the page: {outcome["exceptionDetails"]}']
            return outcome['result']['value']
        except (TimeoutError, RuntimeError) as e:
            return [f'FAIL {e}']
        finally:
            close_browser(browser, ours_out)
            os.close(ours_in)
            os.close(ours_out)


