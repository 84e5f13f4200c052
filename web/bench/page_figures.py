#!/usr/bin/env python3
"""Prints the browser edition's figures: the size of the page with its
module, the time from navigation to a usable grid in headless Chromium,
and a read through the stand-in for Web Serial to the virtual radio.
A measurement, not a test: nothing here passes or fails on a figure.

usage: page_figures.py CHROMIUM WEB_FOLDER WASM_FOLDER
"""
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / 'tests' / 'browser'))
from pagerun import evaluate_in_page, make_site, serve  # noqa: E402

# Milliseconds since navigation when the grid shows the plan.
LOAD = """new Promise((resolve) => {
  const look = () => window.zkPage && window.zkPage.ready
    ? window.zkPage.ready.then(() => resolve(performance.now())) : setTimeout(look, 5);
  look();
})"""

# Milliseconds of one read of all five blocks.
READ = """(async () => {
  const page = window.zkPage;
  await page.ready;
  document.getElementById('connect').click();
  while (!page.port)
    await new Promise((resolve) => setTimeout(resolve, 10));
  const start = performance.now();
  await page.commands.read();
  return performance.now() - start;
})()"""


def main():
    chromium, web, wasm = sys.argv[1:4]
    size = sum(f.stat().st_size for f in Path(web).rglob('*') if f.is_file())
    print(f'page and module: {size / 1e6:.2f} MB ({size} bytes)')
    with tempfile.TemporaryDirectory() as site:
        make_site(Path(site), web, wasm, ['fake-serial.mjs'])
        server = serve(site)
        url = f'http://127.0.0.1:{server.server_address[1]}/index.html'
        load = evaluate_in_page(chromium, url, LOAD)
        read = evaluate_in_page(chromium, url, READ)
        server.shutdown()
    for name, value in (('first load to a usable grid', load), ('a read of the radio', read)):
        print(f'{name}: ' + (f'{value / 1000:.2f} s' if isinstance(value, (int, float)) else str(value)))


if __name__ == '__main__':
    main()
