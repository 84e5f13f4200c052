#!/usr/bin/env python3
"""Runs the page in headless Chromium against the virtual radio.

Copies the built page into a temporary folder with the test module, the
stand-in for navigator.serial and the test script, serves it on 127.0.0.1
(navigator.serial needs a secure context; a loopback address is one;
Chromium runs as root only without its sandbox) and
reads the checks' results from the DOM Chromium dumps. Virtual time lets
the page's timers run to the end without the test waiting on a clock.

usage: run_page_test.py CHROMIUM WEB_FOLDER WASM_FOLDER
"""
import functools
import http.server
import shutil
import subprocess
import sys
import tempfile
import threading
from html.parser import HTMLParser
from pathlib import Path

HERE = Path(__file__).resolve().parent
TEST_FILES = [HERE / 'fake-serial.mjs', HERE / 'page-test.mjs', HERE.parent / 'simulated-port.mjs']


class Results(HTMLParser):
    def __init__(self):
        super().__init__()
        self.inside = False
        self.text = None

    def handle_starttag(self, tag, attrs):
        if tag == 'pre' and ('id', 'test-results') in attrs:
            self.inside, self.text = True, ''

    def handle_endtag(self, tag):
        if tag == 'pre':
            self.inside = False

    def handle_data(self, data):
        if self.inside:
            self.text += data


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
    hook = ('<script src="zk-h41-test-core.js"></script>\n'
            '<script type="module" src="page-test.mjs"></script>\n'
            '<script type="module" src="app.mjs"></script>')
    if '<script type="module" src="app.mjs"></script>' not in page:
        sys.exit('index.html does not load app.mjs as expected')
    index.write_text(page.replace('<script type="module" src="app.mjs"></script>', hook))


def run_page(chromium, url):
    with tempfile.TemporaryDirectory() as profile:
        done = subprocess.run(
            [chromium, '--headless', '--no-sandbox', '--disable-gpu', f'--user-data-dir={profile}',
             '--virtual-time-budget=120000', '--dump-dom', url],
            capture_output=True, text=True, timeout=600)
    parser = Results()
    parser.feed(done.stdout)
    if parser.text is None:
        sys.stderr.write(done.stderr[-4000:])
        return ['FAIL the page reported nothing']
    if not parser.text.strip().endswith('done'):
        sys.stderr.write(done.stderr[-4000:])
    return parser.text.strip().split('\n')


def main():
    chromium, web, wasm = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as site:
        make_site(Path(site), web, wasm)
        handler = functools.partial(QuietHandler, directory=site)
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
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
