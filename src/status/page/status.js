// The status page's own script: it reads /api/status every two seconds and builds the page from
// it. Every value from the station is set as text (textContent), never as HTML, so an order's
// customer named "<script>" shows as those characters.
'use strict';

(function () {
  const TOKEN_KEY = 'rfstation.token';
  const POLL_MS = 2000;
  let token = '';
  let status = null;
  let pollTimer = 0;

  try {
    token = window.localStorage.getItem(TOKEN_KEY) || '';
  } catch (e) {
    token = ''; // storage refused (private window): the token is asked for again after a reload
  }

  const $ = (id) => document.getElementById(id);

  function headers(withBody) {
    const list = {};
    if (token) list.Authorization = 'Bearer ' + token;
    if (withBody) list['Content-Type'] = 'application/json';
    return list;
  }

  function setText(element, value) {
    element.textContent = value === null || value === undefined ? '' : String(value);
  }

  function when(iso) {
    if (!iso) return '';
    const date = new Date(iso);
    return Number.isNaN(date.getTime()) ? iso : date.toLocaleString();
  }

  function showMessage(text, isError) {
    const box = $('message');
    setText(box, text);
    box.classList.toggle('error', !!isError);
    box.hidden = !text;
  }

  function askToken(why) {
    setText($('tokenWhy'), why);
    $('tokenForm').hidden = false;
    $('token').focus();
  }

  function keepToken(value) {
    token = value;
    try {
      if (value) window.localStorage.setItem(TOKEN_KEY, value);
      else window.localStorage.removeItem(TOKEN_KEY);
    } catch (e) {
      // kept for this page only
    }
    $('forget').hidden = !token;
  }

  function cell(row, label, value, className) {
    const td = document.createElement('td');
    td.setAttribute('data-label', label);
    setText(td, value);
    if (className) td.className = className;
    row.appendChild(td);
    return td;
  }

  function renderQueue(data) {
    const rows = [];
    for (const order of data.queue) {
      const tr = document.createElement('tr');
      cell(tr, 'Terminal', order.terminal);
      cell(tr, 'Order To Process', order.orderFile);
      cell(tr, 'Customer #', order.customerNo);
      cell(tr, 'Customer Name', order.customerName);
      cell(tr, 'Print?', order.printQty);
      cell(tr, 'Status', order.status, order.status ? 'status' : '');
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.textContent = 'Remove';
      remove.addEventListener('click', () => {
        act('/api/remove', { orderFile: order.orderFile },
          'Remove ' + order.orderFile + ' from the queue? Its files move to ordremoved.');
      });
      cell(tr, '', '').appendChild(remove);
      rows.push(tr);
    }
    $('queueRows').replaceChildren(...rows);
    const more = data.queueLength > data.queue.length ? ' (the first ' + data.queue.length + ' shown)' : '';
    setText($('queueCount'), data.queueLength + more);
    $('queueEmpty').hidden = data.queueLength > 0;
  }

  function renderDone(data) {
    const rows = [];
    for (const order of data.done) {
      const tr = document.createElement('tr');
      cell(tr, 'Terminal', order.terminal);
      cell(tr, 'Order File', order.orderFile);
      cell(tr, 'Sales Order', order.soNo);
      cell(tr, 'Customer #', order.customerNo);
      cell(tr, 'Customer Name', order.customerName);
      cell(tr, 'Print?', order.printQty);
      cell(tr, 'Print Status', order.printStatus);
      rows.push(tr);
    }
    $('doneRows').replaceChildren(...rows);
    const more = data.doneLength > data.done.length ? ' (the newest ' + data.done.length + ' shown)' : '';
    setText($('doneCount'), data.doneLength + more);
    $('doneEmpty').hidden = data.doneLength > 0;
  }

  function render(data) {
    status = data;
    setText($('title'), data.title);
    document.title = data.healthy ? 'RF Order Station' : '(!) RF Order Station';
    const state = $('state');
    setText(state, data.statusText);
    state.className = 'badge ' + (data.healthy ? 'ok' : data.running ? 'bad' : 'warn');

    setText($('processing'), data.running ? 'running' : 'stopped');
    const database = $('database');
    setText(database, data.database.connected ? 'connected' : 'not connected: ' + data.database.problem);
    database.classList.toggle('bad-text', !data.database.connected);
    const folder = $('queueFolder');
    setText(folder, data.queueFolder.path + (data.queueFolder.missing ? ' (missing)' : ''));
    folder.classList.toggle('bad-text', data.queueFolder.missing);
    setText($('lastSave'), data.lastSave
      ? when(data.lastSave.at) + ': ' + data.lastSave.orderFile + ' as ' + data.lastSave.soNo : 'none yet');
    setText($('lastFailure'), data.lastFailure
      ? when(data.lastFailure.at) + ': ' + data.lastFailure.orderFile + ': ' + data.lastFailure.reason : 'none');
    const health = $('health');
    setText(health, data.healthy ? 'ok' : data.problems.join('; '));
    health.classList.toggle('bad-text', !data.healthy);
    setText($('toggle'), data.running ? 'Stop processing' : 'Start processing');
    setText($('tokenFile'), data.tokenFile);

    renderQueue(data);
    renderDone(data);
    setText($('updated'), 'Updated ' + new Date().toLocaleTimeString());
    document.body.dataset.loaded = 'yes';
  }

  async function poll() {
    window.clearTimeout(pollTimer);
    try {
      const response = await fetch('/api/status', { headers: headers(false), cache: 'no-store' });
      if (response.status === 401) {
        askToken(token ? 'The token was not accepted.' : 'Reading this station from another machine needs its token.');
      } else if (response.ok) {
        render(await response.json());
        loadPrinters();
      } else {
        setText($('updated'), 'The station answered ' + response.status + '.');
      }
    } catch (e) {
      setText($('updated'), 'The station does not answer (' + new Date().toLocaleTimeString() + ').');
    }
    pollTimer = window.setTimeout(poll, POLL_MS);
  }

  let printersLoaded = false;
  async function loadPrinters() {
    if (printersLoaded) return;
    printersLoaded = true;
    try {
      const response = await fetch('/api/printers', { headers: headers(false), cache: 'no-store' });
      if (!response.ok) {
        printersLoaded = false;
        return;
      }
      const data = await response.json();
      const options = data.printers.map((name) => {
        const option = document.createElement('option');
        option.value = name;
        option.textContent = name;
        option.selected = name === data.selected;
        return option;
      });
      $('printer').replaceChildren(...options);
      setText($('style'), 'In the suite\'s layout style ' + (data.style || 'REG') + '.');
    } catch (e) {
      printersLoaded = false;
    }
  }

  async function act(path, body, question) {
    if (question && !window.confirm(question)) return;
    if (!token) {
      askToken('The actions need the station\'s token.');
      return;
    }
    showMessage('Working ..', false);
    try {
      const response = await fetch(path, { method: 'POST', headers: headers(true), body: JSON.stringify(body || {}) });
      let answer = {};
      try {
        answer = await response.json();
      } catch (e) {
        answer = {};
      }
      if (response.status === 401) {
        keepToken('');
        showMessage('', false);
        askToken('The token was not accepted.');
        return;
      }
      showMessage(response.ok ? answer.message : (answer.error || 'The station answered ' + response.status + '.'),
        !response.ok);
      if (answer.warning) showMessage(answer.message + ' ' + answer.warning, true);
    } catch (e) {
      showMessage('The station does not answer.', true);
    }
    poll();
  }

  function checked(name) {
    const input = document.querySelector('input[name="' + name + '"]:checked');
    return input ? input.value : '';
  }

  function updatePrintForm() {
    $('range').hidden = checked('which') === 'new';
    $('sheetKind').hidden = checked('kind') !== 'sheets';
  }

  function setUp() {
    $('forget').hidden = !token;
    $('tokenForm').addEventListener('submit', (event) => {
      event.preventDefault();
      keepToken($('token').value.trim());
      $('token').value = '';
      $('tokenForm').hidden = true;
      printersLoaded = false;
      poll();
    });
    $('forget').addEventListener('click', () => keepToken(''));
    $('toggle').addEventListener('click', () => {
      act(status && status.running ? '/api/stop' : '/api/start', {}, '');
    });
    $('pass').addEventListener('click', () => act('/api/pass', {}, ''));
    for (const input of document.querySelectorAll('#printForm input[type="radio"]'))
      input.addEventListener('change', updatePrintForm);
    for (const id of ['from', 'to'])
      $(id).addEventListener('input', () => { $(id).value = $(id).value.toUpperCase(); });
    $('printForm').addEventListener('submit', (event) => {
      event.preventDefault();
      const request = {
        pickingSheets: checked('kind') === 'sheets',
        printer: $('printer').value,
        copies: Number($('copies').value) || 1,
      };
      if (request.pickingSheets) request.sheet = checked('sheet');
      if (checked('which') === 'new') request.allNew = true;
      else {
        request.from = $('from').value.trim();
        request.to = $('to').value.trim();
      }
      act('/api/print', request, '');
    });
    updatePrintForm();
    poll();
  }

  setUp();
}());
