// The page: one plan, its grid, the file commands and the radio commands.
import { chooseFile, backupName, download } from './files.mjs';
import { ChannelGrid } from './grid.mjs';
import { hasWebSerial, openSerialPort, usbIds } from './serial.mjs';
import { Procedure, runProcedure } from './transfer.mjs';

const $ = (id) => document.getElementById(id);
const kRadioCommands = ['read', 'write', 'verify', 'backup', 'restore'];
// What a running transfer holds still.
const kHeldControls = 'header button, header select, #settings select';

// The page's state, open for the tests that drive it.
const page = { core: null, plan: null, port: null, grid: null, fileName: 'plan.bc', ready: null, commands: null,
               busy: false };
window.zkPage = page;

function show(message) {
  if (!message || !message.kind)
    return;
  $('message-text').textContent = message.text;
  $('message-detail').textContent = message.detail;
  $('message-more').hidden = !message.detail;
  $('message').dataset.kind = message.kind;
  if (!$('message').open)
    $('message').showModal();
}

function changed() {
  page.grid.refresh();
  $('band').value = String(page.plan.band());
  $('undo').disabled = !page.plan.canUndo();
  $('redo').disabled = !page.plan.canRedo();
}

function showPort() {
  const connected = Boolean(page.port);
  for (const id of kRadioCommands)
    $(id).disabled = !connected;
  if (!hasWebSerial()) {
    $('connect').disabled = true;
    $('port-status').textContent =
      'This browser cannot reach serial ports (Web Serial): use Chrome, Edge or another Chromium-based browser '
      + 'to read and write the radio. Editing, opening, saving and converting plans work here.';
  } else {
    $('port-status').textContent = connected ? `Serial Port: ${usbIds(page.port.info)}` : 'No Port!';
  }
}

async function connect() {
  if (page.port) {
    await page.port.close();
    page.port = null;
  }
  let chosen;
  try {
    chosen = await navigator.serial.requestPort();
  } catch {
    return; // no port chosen
  }
  try {
    page.port = await openSerialPort(chosen, { onGone: () => { page.port = null; showPort(); } });
  } catch (e) {
    show({ kind: 'error', text: 'The Port is Used!', detail: String(e.message ?? e) });
  }
  showPort();
}

async function transfer(procedure, options = {}) {
  const port = page.port;
  if (!port)
    return null;
  // Like the desktop's transfer dialogs, a transfer holds the whole page:
  // the suspended engine must not be called into until it ends.
  page.busy = true;
  for (const control of document.querySelectorAll(kHeldControls))
    control.disabled = true;
  $('progress').value = 0;
  const report = await runProcedure(page.core, page.plan, port, procedure, {
    ...options,
    onProgress: (label, blocks) => {
      $('progress-label').textContent = label;
      $('progress').value = blocks;
    },
  });
  page.busy = false;
  for (const control of document.querySelectorAll(kHeldControls))
    control.disabled = false;
  showPort();
  changed();
  for (const message of report.messages)
    show(message);
  return report;
}

// The import dialog for a list's text: the rows and the band to take.
function chooseRows(text, source, note = '') {
  const read = page.plan.readList(text, source);
  if (read.kind)
    return show(read);
  const info = page.plan.listInfo();
  $('import-about').textContent = `${note ? note + ' ' : ''}${info.rows} rows; `
    + (info.asItIs ? 'the radio takes the list as it is.' : 'the first 16 of the band are taken unless you name lines.');
  $('import-band').value = String(info.fullestBand || 1);
  $('import-lines').value = '';
  $('import-dialog').returnValue = '';
  $('import-dialog').showModal();
}

const commands = {
  async open() {
    const file = await chooseFile($('open-file'));
    if (!file)
      return;
    page.plan.delete();
    page.plan = new page.core.Plan();
    page.fileName = file.name;
    show(page.plan.openChannelFile(file.bytes));
    changed();
  },
  save() {
    download(page.fileName.endsWith('.bc') ? page.fileName : `${page.fileName}.bc`, page.plan.channelFile());
  },
  async import() {
    const file = await chooseFile($('import-file'));
    if (file)
      chooseRows(new TextDecoder().decode(file.bytes), `"${file.name}"`);
  },
  async stockList() {
    const name = $('stock-list').value;
    $('stock-list').value = '';
    if (!name)
      return;
    const text = await (await fetch(`lists/${name}.csv`)).text();
    // A stock list's first row says where it may be used and its power limit.
    chooseRows(text, `"${name}.csv"`, page.core.listAbout(text));
  },
  importChosen() {
    if ($('import-dialog').returnValue !== 'import')
      return;
    show(page.plan.importList(Number($('import-band').value), $('import-lines').value.trim()));
    changed();
  },
  export() {
    const out = page.plan.exportCsv();
    if (out.message.kind)
      return show(out.message);
    download(page.fileName.replace(/\.bc$/, '') + '.csv', new TextEncoder().encode(out.text), 'text/csv');
    show({ kind: 'notice', text: 'Export success!', detail: '' });
  },
  undo() { page.plan.undo(); changed(); },
  redo() { page.plan.redo(); changed(); },
  connect,
  read: () => transfer(Procedure.Read),
  write: () => transfer(Procedure.Write),
  verify: () => transfer(Procedure.Verify),
  async backup() {
    const report = await transfer(Procedure.Backup);
    if (!report?.succeeded)
      return;
    const name = backupName();
    download(name, page.plan.image());
    show({ kind: 'notice', text: `Backup saved to ${name}.`, detail: '' });
  },
  async restore() {
    const file = await chooseFile($('restore-file'));
    if (!file)
      return;
    if (!page.plan.setImage(file.bytes))
      return show({ kind: 'error', text: `${file.name} is not a radio image: it holds ${file.bytes.length} bytes, an image holds 512.`, detail: '' });
    await transfer(Procedure.Restore, { imageName: file.name });
  },
};

async function start() {
  page.core = await createZkCore();
  page.plan = new page.core.Plan();
  page.grid = new ChannelGrid(page.core, $('grid'), $('settings'),
                              { getPlan: () => page.plan, onChange: changed, show, busy: () => page.busy });
  const bands = page.core.bands();
  for (const select of [$('band'), $('import-band')])
    bands.forEach((band, i) => select.add(new Option(band.name, String(i + 1))));
  $('band').addEventListener('change', () => { page.plan.setBand(Number($('band').value)); changed(); });
  for (const [id, command] of Object.entries(commands))
    $(id)?.addEventListener('click', command);
  $('stock-list').addEventListener('change', commands.stockList);
  fetch('lists/lists.json').then((r) => r.json()).then((names) => {
    for (const name of names)
      $('stock-list').add(new Option(name, name));
  }).catch(() => {});
  $('import-dialog').addEventListener('close', commands.importChosen);
  showPort();
  changed();
  if ('serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('sw.js').catch(() => {});
  document.body.dataset.ready = 'yes';
}

page.commands = commands;
page.ready = start();
