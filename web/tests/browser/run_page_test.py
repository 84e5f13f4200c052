#!/usr/bin/env python3
"""Runs the page in headless Chromium against the virtual radio.

Copies the built page into a temporary folder with the test module, the
stand-in for navigator.serial and the test script, serves it on 127.0.0.1
(navigator.serial needs a secure context; a loopback address is one) and
asks the page, through the DevTools protocol on a pipe, for the results of
its checks once they are all done. Chromium runs as root only without its
sandbox.

usage: run_page_test.py CHROMIUM WEB_FOLDER WASM_FOLDER
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
TEST_FILES = [HERE / 'fake-serial.mjs', HERE / 'page-test.mjs', HERE.parent / 'simulated-port.mjs']
# Generous: the checks take some fifteen seconds on a quiet machine.
UPPER_BOUND_SECONDS = 240
# The page's results once every check ran: a list of lines.
RESULTS = """new Promise((resolve) => {
  const look = () => window.zkTestResults ? window.zkTestResults.then(resolve) : setTimeout(look, 50);
  look();
})"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def make_site(folder, web, wasm):
    for item in Path(web).iterdir():
        shutil.copy(item, folder)
    for name in ('zk-h41-test-core.js', 'zk-h41-test-core.wasm'):
        shutil.copy(Path(wasm) / name, folder)
    for item in TEST_FILES:
        shutil.copy(item, folder)
    index = folder / 'index.html'
    page = index.read_text()
    app = '<script type="module" src="app.mjs"></script>'
    if app not in page:
        sys.exit('index.html does not load app.mjs as expected')
    hook = '<script src="zk-h41-test-core.js"></script>\n<script type="module" src="page-test.mjs"></script>\n'
    index.write_text(page.replace(app, hook + app))


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


def run_page(chromium, url):
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
            outcome = tools.call('Runtime.evaluate', {'expression': RESULTS, 'awaitPromise': True,
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


def main():
    chromium, web, wasm = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as site:
        make_site(Path(site), web, wasm)
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(QuietHandler, directory=site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        base = f'http://127.0.0.1:{server.server_address[1]}/index.html'
        lines = run_page(chromium, base) + run_page(chromium, base + '?no-serial')
        server.shutdown()
    for line in lines:
        print(line)
    failed = [line for line in lines if not line.startswith('ok ') and line != 'done']
    if failed or lines.count('done') != 2:
        sys.exit(1)


if __name__ == '__main__':
    main()
