// The core module in Node: plans, the editor's rules, the list import, and
// the engine against the virtual radio's protocol in a second instance.
// ZK_WEB_WASM names the folder with zk-h41-test-core.js and .wasm.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import test from 'node:test';

import { simulatedPort } from './simulated-port.mjs';
import { Procedure, runProcedure } from '../page/transfer.mjs';

const wasmFolder = path.resolve(process.env.ZK_WEB_WASM ?? 'build/web-wasm');
const root = new URL('../../', import.meta.url).pathname;
const createZkTestCore = createRequire(import.meta.url)(path.join(wasmFolder, 'zk-h41-test-core.js'));
const wasmBinary = fs.readFileSync(path.join(wasmFolder, 'zk-h41-test-core.wasm'));
const newCore = () => createZkTestCore({ wasmBinary });

const core = await newCore();
const radioSide = await newCore();
const planBc = fs.readFileSync(path.join(root, 'tests/fuzz/seeds/fuzz_channel_file/plan.bc'));

const noMessage = { kind: '', text: '', detail: '' };
const hex = (bytes) => Buffer.from(bytes).toString('hex').toUpperCase();

function openedPlan() {
  const plan = new core.Plan();
  assert.deepEqual(plan.openChannelFile(planBc), noMessage);
  return plan;
}

test('a channel file opens and gives back the same bytes', () => {
  const plan = openedPlan();
  assert.equal(plan.cell(1, 15), '461.42500');
  assert.equal(plan.cell(4, 15), 'D754I');
  assert.deepEqual([0, 1, 2, 3, 4].map((s) => plan.setting(s)), [2, 40, 9, 1, 8]);
  assert.deepEqual(Buffer.from(plan.channelFile()), planBc);
  assert.equal(new core.Plan().channelFile().length, 263);

  const short = new core.Plan();
  assert.deepEqual(short.openChannelFile(Buffer.from('1,,,,,,,\r')), { kind: 'error', text: 'List index out of bounds (1)', detail: '' });
});

test('a typed frequency keeps the editor\'s rules, messages and history', () => {
  const plan = new core.Plan();
  assert.deepEqual(plan.commitFrequency(1, 1, '145.5'), noMessage);
  assert.deepEqual([1, 2, 3, 4, 5, 6].map((c) => plan.cell(c, 1)), ['145.50000', '', '0FF', '0FF', 'High', 'Wide']);

  assert.deepEqual(plan.commitFrequency(1, 2, '146'), noMessage);
  assert.deepEqual(plan.commitFrequency(1, 2, '100'), { kind: 'notice', text: 'RX Frequency in 136MHZ~174MHZ', detail: '' });
  assert.deepEqual([1, 3, 6].map((c) => plan.cell(c, 2)), ['', '', '']);
  // Off the 5 and 6.25 kHz steps: a channel's first frequency is refused.
  assert.equal(plan.commitFrequency(1, 3, '145.0010').text, 'RX Frequency in 136MHZ~174MHZ');
  assert.equal(core.filterKey(9, '5'.codePointAt(0)), 'drop');
  assert.equal(core.filterKey(3, 13), 'end');
  assert.deepEqual(core.filterInsertion('14', '14a5.5x'), { text: '145.5', cursor: 5 });

  assert.equal(plan.pick(5, 1, 'Low'), '');
  assert.equal(plan.pick(5, 2, 'Low'), 'the channel has no frequency');
  assert.equal(plan.pick(3, 1, '66.0HZ'), 'not in the list');
  assert.equal(plan.cell(5, 1), 'Low');

  plan.undo();
  assert.equal(plan.cell(5, 1), 'High');
  plan.undo();
  assert.equal(plan.cell(1, 2), '146.00000');
  plan.undo();
  plan.undo();
  assert.deepEqual([1, 3, 5].map((c) => plan.cell(c, 1)), ['', '', '']);
  assert.equal(plan.canUndo(), false);
  plan.redo();
  assert.equal(plan.cell(1, 1), '145.50000');

  plan.setBand(4);
  assert.deepEqual([plan.lowLimit(), plan.highLimit()], [400, 490]);
});

test('a CSV list too long for the radio is fitted, and exported again', () => {
  const rows = Array.from({ length: 18 }, (_, i) => `${i + 1},C${i},${(146 + i * 0.025).toFixed(4)}`);
  const text = ['Location,Name,Frequency', ...rows].join('\n') + '\n';
  const plan = new core.Plan();
  assert.deepEqual(plan.readList(text, '"list.csv"'), noMessage);
  assert.deepEqual(plan.listInfo(), { rows: 18, perBand: [18, 0, 0, 0, 0], fullestBand: 1, asItIs: false });
  assert.deepEqual(plan.importList(0, ''), {
    kind: 'notice',
    text: 'Imported 16 channels into VHF:136-174 from 18 rows; left out: 2 beyond the first 16 (lines 18-19). '
        + 'Not stored in the radio: Name.',
    detail: '',
  });
  assert.equal(plan.cell(1, 16), '146.37500');
  assert.equal(plan.cell(1, 1), '146.00000');

  assert.equal(plan.importList(0, '3,5').kind, 'notice');
  assert.deepEqual([1, 2, 3].map((r) => plan.cell(1, r)), ['146.02500', '146.07500', '']);
  assert.equal(core.listAbout('Location,Frequency,Comment\n1,446.00625, kept short \n'), 'kept short');
  assert.equal(core.listAbout('Location,Frequency\n1,446.00625\n'), '');
  const exported = plan.exportCsv();
  assert.deepEqual(exported.message, noMessage);
  assert.match(exported.text, /^Location,/);
  assert.equal(exported.text.trim().split('\n').length, 3);
});

// A fresh virtual radio whose memory is blank (0xFF).
function newRadio() {
  return new radioSide.SimRadio();
}

test('a write puts the plan into the virtual radio, byte for byte', async () => {
  const radio = newRadio();
  const progress = [];
  const report = await runProcedure(core, openedPlan(), simulatedPort(radio), Procedure.Write,
                                    { onProgress: (label, blocks) => progress.push(`${label} ${blocks}`) });
  assert.deepEqual(report, { succeeded: true, messages: [{ kind: 'notice', text: 'Write Success!', detail: '' }], differences: [] });
  assert.deepEqual(progress, ['Write 1', 'Write 2', 'Write 3', 'Write 4', 'Write 5']);
  const memory = radio.memory();
  assert.equal(hex(memory.subarray(0x10, 0x20)), 'F'.repeat(32)); // channel 1 is empty
  assert.equal(hex(memory.subarray(0x20, 0x2C)), '000055140000551413 20FFFF'.replace(' ', ''));
  assert.equal(hex(memory.subarray(0xF0, 0xFC)), '002514460050621' + '49E02ECA1');
  assert.equal(radio.sessionsEnded(), 1);
});

test('a read fills the plan from the virtual radio; verify matches, then finds a change', async () => {
  const radio = newRadio();
  await runProcedure(core, openedPlan(), simulatedPort(radio), Procedure.Write);

  const plan = new core.Plan();
  const read = await runProcedure(core, plan, simulatedPort(radio), Procedure.Read);
  assert.deepEqual(read.messages, [{ kind: 'notice', text: 'Read Success!', detail: '' }]);
  assert.deepEqual([1, 2, 3, 4, 5, 6].map((c) => plan.cell(c, 2)), ['145.50000', '145.50000', 'D023N', 'OFF', 'High', 'Wide']);
  assert.deepEqual([1, 2, 3, 4, 5, 6].map((c) => plan.cell(c, 15)), ['461.42500', '146.25000', '67.0HZ', 'D754I', 'Low', 'Narrow']);
  assert.deepEqual([0, 1, 2, 3, 4].map((s) => plan.setting(s)), [2, 40, 9, 1, 8]);

  const same = await runProcedure(core, plan, simulatedPort(radio), Procedure.Verify);
  assert.deepEqual(same.messages, [{ kind: 'notice', text: 'Radio matches the channel plan.', detail: '' }]);

  // The read made UHF current (channel 15's RX); channel 2 is in VHF.
  assert.equal(plan.band(), 4);
  plan.setBand(1);
  assert.deepEqual(plan.commitFrequency(2, 2, '146'), noMessage);
  const changed = await runProcedure(core, plan, simulatedPort(radio), Procedure.Verify);
  assert.deepEqual(changed.messages, [{
    kind: 'notice', text: 'Radio differs from the channel plan in 1 channels or settings.',
    detail: 'channel 2: TX Frequency radio 145.50000, plan 146.00000',
  }]);

  // A verify that cannot finish names itself, as the desktop's does.
  radio.setSilentAfter(1);
  const failed = await runProcedure(core, plan, simulatedPort(radio), Procedure.Verify);
  assert.deepEqual(failed.messages, [{ kind: 'notice', text: 'Verify could not read the radio: Read Error!', detail: '' }]);
});

test('a backup restores into another radio, which then matches it', async () => {
  const first = newRadio();
  await runProcedure(core, openedPlan(), simulatedPort(first), Procedure.Write);
  const plan = new core.Plan();
  const backup = await runProcedure(core, plan, simulatedPort(first), Procedure.Backup);
  assert.deepEqual(backup, { succeeded: true, messages: [], differences: [] });
  assert.deepEqual(Buffer.from(plan.image()), Buffer.from(first.memory()));

  const second = newRadio();
  const restore = await runProcedure(core, plan, simulatedPort(second), Procedure.Restore, { imageName: 'radio.img' });
  assert.deepEqual(restore.messages, [{ kind: 'notice', text: 'Restore Success! The radio matches radio.img.', detail: '' }]);
  assert.equal(hex(second.memory().subarray(0x10, 0x150)), hex(first.memory().subarray(0x10, 0x150)));
});

test('a radio that stops answering ends the read with the desktop\'s words', async () => {
  const radio = newRadio();
  radio.setSilentAfter(2);
  const plan = new core.Plan();
  const progress = [];
  const report = await runProcedure(core, plan, simulatedPort(radio), Procedure.Read,
                                    { onProgress: (label, blocks) => progress.push(blocks) });
  assert.deepEqual(report, { succeeded: false, messages: [{ kind: 'notice', text: 'Read Error!', detail: '' }], differences: [] });
  assert.deepEqual(progress, [1, 2]);
});

test('a second transfer while one runs does not start', async () => {
  const radio = newRadio();
  const plan = new core.Plan();
  const other = new core.Plan();
  const first = runProcedure(core, plan, simulatedPort(radio), Procedure.Read);
  const second = await runProcedure(core, other, simulatedPort(newRadio()), Procedure.Write);
  assert.deepEqual(second, { succeeded: false, busy: true, messages: [], differences: [] });
  assert.equal((await first).succeeded, true);
  assert.equal(radio.sessionsEnded(), 1);
});
