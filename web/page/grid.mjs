// The sixteen channels as a table and the five settings as lists, drawn
// from the plan, edited with the core's rules: a frequency cell opens a
// box whose keys pass the editor's filter and which commits on Enter or
// when it loses the focus; a tone, power or bandwidth cell opens its list.
const kFrequencyColumns = [1, 2];

export class ChannelGrid {
  // busy() is true while nothing may change (a transfer runs).
  constructor(core, table, settingsPanel, { getPlan, onChange, show, busy }) {
    this.core = core;
    this.table = table;
    this.settingsPanel = settingsPanel;
    this.getPlan = getPlan;
    this.onChange = onChange;
    this.show = show;
    this.busy = busy;
    this.selected = { column: 1, row: 1 };
    this.lists = { 3: core.toneList(), 4: core.toneList(), 5: core.powerList(), 6: core.bandwidthList() };
    this.build();
  }

  build() {
    const headers = this.core.columnHeaders();
    const head = this.table.createTHead().insertRow();
    for (const text of headers) {
      const th = document.createElement('th');
      th.textContent = text;
      head.appendChild(th);
    }
    const body = this.table.createTBody();
    for (let row = 1; row <= 16; ++row) {
      const tr = body.insertRow();
      for (let column = 0; column < headers.length; ++column) {
        const cell = column === 0 ? document.createElement('th') : document.createElement('td');
        cell.dataset.column = column;
        cell.dataset.row = row;
        if (column > 0) {
          cell.tabIndex = -1;
          cell.addEventListener('click', () => this.open(column, row));
        }
        tr.appendChild(cell);
      }
    }
    this.table.addEventListener('keydown', (event) => this.key(event));

    for (let setting = 0; setting < 5; ++setting) {
      const label = document.createElement('label');
      label.textContent = `${this.core.settingLabel(setting)} `;
      const select = document.createElement('select');
      select.id = `c${setting + 1}`;
      for (const item of this.core.settingsList(setting))
        select.add(new Option(item, item));
      select.addEventListener('change', () => {
        if (this.busy())
          return;
        this.getPlan().setSetting(setting, select.selectedIndex);
        this.onChange();
      });
      label.appendChild(select);
      this.settingsPanel.appendChild(label);
    }
  }

  cellElement(column, row) {
    return this.table.tBodies[0].rows[row - 1].cells[column];
  }

  // Shows the plan; an open editor stays open.
  refresh() {
    const plan = this.getPlan();
    for (let row = 1; row <= 16; ++row)
      for (let column = 0; column < 7; ++column) {
        const cell = this.cellElement(column, row);
        if (!cell.querySelector('input, select'))
          cell.textContent = plan.cell(column, row);
        cell.classList.toggle('selected', column === this.selected.column && row === this.selected.row);
      }
    for (let setting = 0; setting < 5; ++setting)
      this.settingsPanel.querySelector(`#c${setting + 1}`).selectedIndex = plan.setting(setting);
  }

  select(column, row) {
    this.selected = { column: Math.min(6, Math.max(1, column)), row: Math.min(16, Math.max(1, row)) };
    this.refresh();
    this.cellElement(this.selected.column, this.selected.row).focus();
  }

  key(event) {
    if (event.target.closest('input, select'))
      return;
    const { column, row } = this.selected;
    const moves = { ArrowUp: [0, -1], ArrowDown: [0, 1], ArrowLeft: [-1, 0], ArrowRight: [1, 0] };
    if (this.busy())
      return;
    if (moves[event.key]) {
      event.preventDefault();
      this.select(column + moves[event.key][0], row + moves[event.key][1]);
    } else if (event.key === 'Enter' || event.key === 'F2') {
      event.preventDefault();
      this.open(column, row);
    }
  }

  open(column, row) {
    if (this.busy())
      return;
    this.selected = { column, row };
    this.refresh();
    const cell = this.cellElement(column, row);
    if (cell.querySelector('input, select'))
      return;
    if (kFrequencyColumns.includes(column))
      this.openFrequencyBox(cell, column, row);
    else
      this.openList(cell, column, row);
  }

  openFrequencyBox(cell, column, row) {
    const box = document.createElement('input');
    box.value = this.getPlan().cell(column, row);
    cell.textContent = '';
    cell.appendChild(box);
    let done = false;
    const commit = () => {
      if (done)
        return;
      done = true;
      const message = this.getPlan().commitFrequency(column, row, box.value);
      box.remove();
      this.onChange();
      this.show(message);
    };
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        done = true;
        box.remove();
        this.refresh();
        return;
      }
      const typed = event.key === 'Enter' ? 13 : event.key === 'Backspace' ? 8 : event.key.length === 1 ? event.key.codePointAt(0) : 0;
      if (typed === 0 || event.ctrlKey || event.metaKey)
        return;
      const action = this.core.filterKey(box.value.length, typed);
      if (action === 'end') {
        event.preventDefault();
        commit();
      } else if (action === 'drop') {
        event.preventDefault();
      }
    });
    // Text pasted or dropped in goes through the same filter as typing.
    let before = box.value;
    box.addEventListener('input', () => {
      const kept = this.core.filterInsertion(before, box.value);
      if (kept.text !== box.value) {
        box.value = kept.text;
        box.setSelectionRange(kept.cursor, kept.cursor);
      }
      before = box.value;
    });
    box.addEventListener('blur', commit);
    box.focus();
    box.select();
  }

  openList(cell, column, row) {
    const plan = this.getPlan();
    if (plan.cell(1, row) === '' && plan.cell(2, row) === '')
      return; // only a row with a frequency takes a tone, power or bandwidth
    const list = document.createElement('select');
    for (const item of this.lists[column])
      list.add(new Option(item, item));
    list.value = plan.cell(column, row);
    cell.textContent = '';
    cell.appendChild(list);
    let closed = false;
    const close = () => {
      if (closed)
        return;
      closed = true;
      list.remove();
      this.refresh();
    };
    list.addEventListener('change', () => {
      plan.pick(column, row, list.value);
      close();
      this.onChange();
    });
    list.addEventListener('blur', close);
    list.focus();
  }
}
