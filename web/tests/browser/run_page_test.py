#!/usr/bin/env python3
"""Runs the page's checks (page-test.mjs) in headless Chromium against the
virtual radio, once with the stand-in for Web Serial and once without.

usage: run_page_test.py CHROMIUM WEB_FOLDER WASM_FOLDER
"""
import sys
import tempfile
from pathlib import Path

from pagerun import evaluate_in_page, make_site, serve

# The page's results once every check ran: a list of lines.
RESULTS = """new Promise((resolve) => {
  const look = () => window.zkTestResults ? window.zkTestResults.then(resolve) : setTimeout(look, 50);
  look();
})"""


def main():
    chromium, web, wasm = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as site:
        make_site(Path(site), web, wasm, ['page-test.mjs'])
        server = serve(site)
        base = f'http://127.0.0.1:{server.server_address[1]}/index.html'
        lines = evaluate_in_page(chromium, base, RESULTS) + evaluate_in_page(chromium, base + '?no-serial', RESULTS)
        server.shutdown()
    for line in lines:
        print(line)
    failed = [line for line in lines if not line.startswith('ok ') and line != 'done']
    if failed or lines.count('done') != 2:
        sys.exit(1)


if __name__ == '__main__':
    main()
