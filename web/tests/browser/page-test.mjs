// Drives the real page in headless Chromium and writes one line per check
// into <pre id="test-results">: "ok NAME" or "FAIL NAME: what was seen".
// The driver reads them with --dump-dom once "done" is the last line.
import { radio } from './fake-serial.mjs';

// Kept in the page as they come, so a run that stops shows how far it got.
const results = [];
const out = document.createElement('pre');
out.id = 'test-results';
const report = (line) => {
  results.push(line);
  out.textContent = results.join('\n');
};
const $ = (id) => document.getElementById(id);
const equal = (name, seen, expected) => {
  const a = JSON.stringify(seen);
  const b = JSON.stringify(expected);
  report(a === b ? `ok ${name}` : `FAIL ${name}: saw ${a}, expected ${b}`);
};
const cellText = (column, row) => $('grid').tBodies[0].rows[row - 1].cells[column].textContent;
const hex = (bytes) => Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('').toUpperCase();
// The message box's text, then the box closed and emptied.
const message = () => {
  const text = $('message-text').textContent;
  $('message-text').textContent = '';
  $('message').close();
  return text;
};

// Typing into the open frequency box, then Enter.
function type(column, row, text) {
  $('grid').tBodies[0].rows[row - 1].cells[column].click();
  const box = $('grid').querySelector('input');
  box.value = text;
  box.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true, cancelable: true }));
}

async function withSerial() {
  const page = window.zkPage;
  await page.ready;
  equal('no port at first', $('port-status').textContent, 'No Port!');
  $('connect').click();
  while (!page.port)
    await new Promise((resolve) => setTimeout(resolve, 10));
  equal('the port shows its USB ids', $('port-status').textContent, 'Serial Port: USB 1a86:7523');
  equal('the line is 9600 8N1', navigator.serial.port.openedWith,
        { baudRate: 9600, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' });

  // A radio holding two channels.
  const sim = await radio;
  const memory = new Uint8Array(512).fill(0xff);
  memory.set([0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x55, 0x14, 0x13, 0x20, 0xff, 0xff], 0x20);
  sim.setMemory(memory);
  await page.commands.read();
  equal('read: the words', message(), 'Read Success!');
  equal('read: channel 2 in the grid', [1, 2, 3, 4].map((c) => cellText(c, 2)), ['145.50000', '145.50000', 'D023N', 'OFF']);
  equal('read: the progress bar is full', $('progress').value, 5);

  type(1, 3, '100');
  equal('edit: a refused value and its message', message(), 'RX Frequency in 136MHZ~174MHZ');
  type(1, 1, '146.025');
  equal('edit: a channel gets its defaults', [1, 2, 3, 5, 6].map((c) => cellText(c, 1)), ['146.02500', '', '0FF', 'High', 'Wide']);

  await page.commands.write();
  equal('write: the words', message(), 'Write Success!');
  equal('write: channel 1 in the radio', hex(sim.memory().subarray(0x10, 0x1c)), '00256014FFFFFFFFFFFFFFFF');

  await page.commands.verify();
  equal('verify: a match', message(), 'Radio matches the channel plan.');
  page.plan.setBand(1);
  type(2, 1, '146.5');
  await page.commands.verify();
  equal('verify: a mismatch', [message(), $('message-detail').textContent],
        ['Radio differs from the channel plan in 1 channels or settings.', 'channel 1: TX Frequency radio empty, plan 146.50000; QT/DQT Enc radio empty, plan OFF']);

  sim.setSilentAfter(1);
  await page.commands.read();
  equal('a radio that stops answering', message(), 'Read Error!');
}

async function withoutSerial() {
  const page = window.zkPage;
  await page.ready;
  equal('without Web Serial: it says so', $('port-status').textContent.startsWith('This browser cannot reach serial ports'), true);
  equal('without Web Serial: no Connect', $('connect').disabled, true);
  type(1, 1, '145.5');
  equal('without Web Serial: it still edits', cellText(1, 1), '145.50000');
  equal('without Web Serial: and saves', new TextDecoder().decode(page.plan.channelFile()).split('\r')[0],
        '1,145.50000, ,0FF,0FF,High,Wide,');
}

const run = new URLSearchParams(location.search).has('no-serial') ? withoutSerial : withSerial;
await new Promise((resolve) => window.addEventListener('load', resolve));
document.body.appendChild(out);
run().catch((e) => report(`FAIL the run: ${e && e.stack ? e.stack : e}`)).finally(() => report('done'));
