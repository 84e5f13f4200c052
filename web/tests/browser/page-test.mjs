// Drives the real page in headless Chromium: one line per check, "ok NAME"
// or "FAIL NAME: what was seen", shown in <pre id="test-results"> as they
// come and handed to the driver by window.zkTestResults once all ran.
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

// Files the page offers for download, caught as they are made.
const downloads = [];
const makeUrl = URL.createObjectURL;
URL.createObjectURL = (blob) => {
  downloads.push(blob);
  return makeUrl(blob);
};
const lastDownload = async () => new Uint8Array(await downloads.at(-1).arrayBuffer());

// Runs a command that asks for a file, and gives it this one.
async function withFile(inputId, name, bytes, command) {
  const running = command();
  const input = $(inputId);
  const chosen = new DataTransfer();
  chosen.items.add(new File([bytes], name));
  input.files = chosen.files;
  input.dispatchEvent(new Event('change'));
  return running;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

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

  await page.commands.backup();
  equal('backup: the words', /^Backup saved to radio-\d{4}-\d\d-\d\d-\d{6}\.img\.$/.test(message()), true);
  const image = await lastDownload();
  equal('backup: the image is the radio\'s memory', hex(image), hex(sim.memory()));

  sim.setMemory(new Uint8Array(512).fill(0xff));
  await withFile('restore-file', 'kept.img', image, page.commands.restore);
  equal('restore: the words', message(), 'Restore Success! The radio matches kept.img.');
  equal('restore: channel 1 back in the radio', hex(sim.memory().subarray(0x10, 0x14)), '00256014');

  // The cable pulled after the second block of a read, which meanwhile
  // holds the page still.
  const reading = page.commands.read();
  while ($('progress').value < 2)
    await sleep(10);
  $('grid').tBodies[0].rows[0].cells[1].click();
  equal('a transfer holds the page', [$('grid').querySelector('input'), $('open').disabled, $('c1').disabled],
        [null, true, true]);
  navigator.serial.port.unplug();
  await reading;
  equal('a pulled cable: the words', message(), 'Read Error!');
  equal('a pulled cable: the port is gone', [$('port-status').textContent, $('read').disabled], ['No Port!', true]);

  $('connect').click();
  while (!page.port)
    await sleep(10);
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

  // A paste keeps what typing would have kept.
  $('grid').tBodies[0].rows[1].cells[1].click();
  const box = $('grid').querySelector('input');
  box.value = '1x46.0,25';
  box.dispatchEvent(new InputEvent('input', { inputType: 'insertFromPaste', bubbles: true }));
  equal('a paste is filtered as typing is', box.value, '146.025');
  box.dispatchEvent(new KeyboardEvent('keydown', { key: 'Escape', bubbles: true }));
  page.commands.save();
  equal('without Web Serial: and saves', new TextDecoder().decode(await lastDownload()).split('\r')[0],
        '1,145.50000, ,0FF,0FF,High,Wide,');

  // A desktop plan opened and saved again: the same bytes.
  const desktopPlan = new TextEncoder().encode(
    '1, , , , , , ,\r2,145.50000,145.50000,D023N,0FF,High,Wide,\r'
    + [3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14].map((n) => `${n}, , , , , , ,\r`).join('')
    + '15,461.42500,146.25000,67.0HZ,D754I,Low,Narrow,\r16, , , , , , ,\r2,\r40,\r9,\r1,\r8,\r\n');
  await withFile('open-file', 'plan.bc', desktopPlan, page.commands.open);
  equal('open: the grid shows the plan', [cellText(1, 15), cellText(4, 15), $('c2').value], ['461.42500', 'D754I', page.core.settingsList(1)[40]]);
  page.commands.save();
  equal('save: the same bytes as the desktop\'s file', hex(await lastDownload()), hex(desktopPlan));

  // A list of 18 channels: the first 16 are taken.
  const rows = Array.from({ length: 18 }, (_, i) => `${i + 1},C${i},${(146 + i * 0.025).toFixed(4)}`);
  const list = new TextEncoder().encode(['Location,Name,Frequency', ...rows].join('\n') + '\n');
  await withFile('import-file', 'list.csv', list, page.commands.import);
  equal('import: the dialog offers the fullest band', $('import-band').value, '1');
  const closed = new Promise((resolve) => $('import-dialog').addEventListener('close', resolve, { once: true }));
  $('import-dialog').close('import');
  await closed;
  equal('import: the summary', message(),
        'Imported 16 channels into VHF:136-174 from 18 rows; left out: 2 beyond the first 16 (lines 18-19). Not stored in the radio: Name.');
  equal('import: the grid', [cellText(1, 1), cellText(1, 16), cellText(1, 15)], ['146.00000', '146.37500', '146.35000']);
  page.commands.undo();
  equal('undo: the plan before the import', cellText(1, 15), '461.42500');

  // A stock list, offered from the page's own folder.
  while ($('stock-list').options.length < 2)
    await sleep(10);
  equal('stock lists: offered', Array.from($('stock-list').options, (o) => o.value), ['', 'frs', 'murs', 'pmr446']);
  const opened = new Promise((resolve) => {
    const look = () => ($('import-dialog').open ? resolve() : setTimeout(look, 10));
    look();
  });
  $('stock-list').value = 'pmr446';
  $('stock-list').dispatchEvent(new Event('change'));
  await opened;
  equal('stock lists: what the list says of itself', $('import-about').textContent,
        'PMR446 (licence-free in Europe and elsewhere): 0.5 W ERP at most with the radio\'s own fixed antenna; '
        + 'you must keep these limits 16 rows; the radio takes the list as it is.');
  const taken = new Promise((resolve) => $('import-dialog').addEventListener('close', resolve, { once: true }));
  $('import-dialog').close('import');
  await taken;
  message();
  equal('stock lists: the channels', [cellText(1, 1), cellText(3, 1), cellText(5, 1), cellText(6, 1), cellText(1, 16)],
        ['446.00625', 'OFF', 'Low', 'Narrow', '446.19375']);
}

const run = new URLSearchParams(location.search).has('no-serial') ? withoutSerial : withSerial;
await new Promise((resolve) => window.addEventListener('load', resolve));
document.body.appendChild(out);
window.zkTestResults = run()
  .catch((e) => report(`FAIL the run: ${e && e.stack ? e.stack : e}`))
  .then(() => {
    report('done');
    return results;
  });
