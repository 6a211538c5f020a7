// The live phone's page: shows the frames the server pushes, turns clicks, drags and the
// side controls into scenario lines, and shows the event log and the view tree.
'use strict';

const $ = (selector) => document.querySelector(selector);
const page = {
  status: null,
  points: [375, 812],      // the screen in points (from the newest inspection)
  frameShown: 0,           // the frame on screen
  painting: Promise.resolve(), // frames and pieces decoded and painted in turn
  pending: 0,              // frames and pieces not painted yet
  generation: 0,           // whole frames so far: pieces before the newest are moot
  piecesPainted: 0,
  events: null,
  clicks: [],              // taps waiting for their frame: {after, at, marks}
  clickToFrame: [],        // milliseconds from each tap to its frame on screen
  tapStages: [],           // each tap's marks, ms after it: {arrived, decoded, drawn, answered}
  stoppedSaid: false,      // the message line says the phone stopped
  deviceChosen: null,      // a device the user picked and has not restarted on yet
  streamRetry: null,
  logNext: 0,
  logLoading: false,
  inspection: null,
  inspectionText: '',
  inspectTimer: null,
  lastInspect: 0,
  expanded: new Set(),
  nodesById: new Map(),
  hoverId: null,
  selectedId: null,
};

// MARK: Talking to the server

function say(text, ok) {
  const message = $('#message');
  message.textContent = text || '';
  message.className = ok ? 'ok' : '';
}

async function post(path, body) {
  const response = await fetch(path, { method: 'POST', body, headers: { 'Content-Type': 'text/plain' } });
  let reply = {};
  try { reply = await response.json(); } catch (error) { /* no body */ }
  return { ok: response.ok, status: response.status, reply };
}

// Every action is one scenario line: what runs is what a recording says.
async function runLine(line) {
  const click = line.startsWith('tap ') ? { after: page.frameShown, at: performance.now(), marks: {} } : null;
  if (click)
    page.clicks.push(click);
  let answer = { ok: false, reply: {} };
  try {
    answer = await post('/api/action', line);
  } finally {
    if (click)
      click.marks.answered = performance.now() - click.at;
  }
  const { ok, reply } = answer;
  if (!ok) {
    say(`${line}: ${reply.error || 'refused'}`);
    return false;
  }
  // The interpreter counts what could not be done (a refused entry, an app not open) as
  // a failed expectation; its message is on the serving terminal.
  say(reply.failures ? `${line}: did not go through (see the Settings pane or the terminal)` : `ran: ${line}`, !reply.failures);
  return true;
}

function quoted(text) {
  return '"' + text.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';
}

// MARK: Frames

// Whole frames and pieces (the part of the screen that changed) come on the event
// stream and are painted onto the canvas in the order they came; each starts decoding as
// soon as it arrives. A page that falls far behind, or cannot paint a piece, starts over
// from a whole frame, which the server sends first on every stream.
const kMostPending = 90;

function paint(update, isPiece, arrived) {
  if (page.pending >= kMostPending) {
    restartStream();
    return;
  }
  ++page.pending;
  const generation = isPiece ? page.generation : ++page.generation;
  // An image element decodes a small JPEG in well under a millisecond, several times
  // sooner than createImageBitmap hands one back. A data URL loads as its source is set,
  // so the image is drawn at once rather than a task later, when its load event comes.
  const image = new Image();
  let decoded = new Promise((resolve, reject) => {
    image.onload = () => resolve(image);
    image.onerror = reject;
  });
  image.src = `data:${update.type};base64,${update.image}`;
  if (image.complete && image.naturalWidth > 0)
    decoded = Promise.resolve(image);
  let decodedAt = 0;
  decoded.then(() => { decodedAt = performance.now(); }, () => {});
  page.painting = page.painting.then(() => decoded).then(() => {
    --page.pending;
    // A whole frame that came later covers what this would paint.
    if (generation !== page.generation)
      return;
    const canvas = $('#screen');
    if (!isPiece && (canvas.width !== image.naturalWidth || canvas.height !== image.naturalHeight)) {
      canvas.width = image.naturalWidth;
      canvas.height = image.naturalHeight;
    }
    canvas.getContext('2d').drawImage(image, isPiece ? update.x : 0, isPiece ? update.y : 0);
    if (isPiece)
      page.piecesPainted += 1;
    shown(update.n, { arrived, decoded: decodedAt });
  }, () => {
    --page.pending;
    if (isPiece && generation === page.generation)
      restartStream();
  });
}

// Runs `work` at once when no frame is being painted, else once the painting has been
// done (and the browser has had a turn to show it).
function afterPainting(work) {
  if (!page.pending) {
    work();
    return;
  }
  page.painting.then(() => setTimeout(work, 0), () => setTimeout(work, 0));
}

function shown(number, marks) {
  page.frameShown = number;
  $('#screen').dataset.frame = String(number);
  $('#frame-number').textContent = String(number);
  const now = performance.now();
  while (page.clicks.length && page.clicks[0].after < number) {
    const click = page.clicks.shift();
    page.clickToFrame.push(now - click.at);
    Object.assign(click.marks, { arrived: marks.arrived - click.at, decoded: marks.decoded - click.at, drawn: now - click.at });
    page.tapStages.push(click.marks);
  }
  scheduleInspection();
}

// For whoever measures the page (the browser test): each tap's time to its frame.
window.lumetrixTimings = () => ({ clickToFrame: page.clickToFrame.slice(), tapStages: page.tapStages.slice(), frameShown: page.frameShown, piecesPainted: page.piecesPainted });

// MARK: Status and controls

function formatTime(seconds) {
  const whole = Math.max(0, Math.floor(seconds));
  return `${Math.floor(whole / 60)}:${String(whole % 60).padStart(2, '0')}`;
}

function renderStatus(status) {
  page.status = status;
  const clock = status.clock || {};
  $('#time').textContent = status.live ? `t = ${(clock.t || 0).toFixed(1)} s` : (status.ended ? 'the phone stopped' : 'starting…');
  for (const button of document.querySelectorAll('[data-speed]')) {
    const speed = button.dataset.speed === 'pause' ? 0 : Number(button.dataset.speed);
    button.classList.toggle('active', speed === status.speed);
  }
  const recording = status.recording || {};
  $('#record').classList.toggle('active', !!recording.active);
  $('#record').textContent = recording.active ? 'Stop recording' : 'Record';
  $('#record-state').textContent = `${recording.lines || 0} lines`;

  const device = $('#device');
  if (status.devices && device.options.length !== status.devices.length) {
    device.replaceChildren(...status.devices.map((name) => new Option(name, name)));
  }
  const phone = status.phone || {};
  // The picker shows the phone's device until the user picks another; that choice
  // stays until the phone runs on it.
  if (page.deviceChosen && phone.device === page.deviceChosen && status.live)
    page.deviceChosen = null;
  if (phone.device && !page.deviceChosen)
    device.value = phone.device;
  $('#phone-state').textContent = phone.device
    ? `${phone.device} · ${phone.locked ? 'locked' : 'unlocked'} · ${phone.dark ? 'dark' : 'light'} · in front: ${phone.front || (phone.locked ? 'lock screen' : 'home screen')}`
    : '';
  const apps = $('#open-apps');
  apps.replaceChildren(...(phone.apps || []).map((app) => {
    const item = document.createElement('li');
    item.textContent = app + ' ';
    const close = document.createElement('button');
    close.textContent = 'Close';
    close.addEventListener('click', () => runLine(`close ${app}`));
    item.append(close);
    return item;
  }));
  renderMusic(status.music, clock.t || 0);
  renderPane(status.settings);
  if (status.ended) {
    const why = status.ended.error || (status.ended.said || []).join(' · ');
    say(why ? `The phone stopped: ${why}. Restart it on a device.` : 'The phone stopped; restart it on a device.');
    page.stoppedSaid = true;
  } else if (page.stoppedSaid && status.live) {
    say('The phone is running again.', true);
    page.stoppedSaid = false;
  }
}

function renderMusic(music, now) {
  const list = $('#tracks');
  if (!music) {
    list.replaceChildren();
    $('#music-state').textContent = 'No music app state yet.';
    return;
  }
  const key = JSON.stringify(music.tracks) + music.current;
  if (list.dataset.key !== key) {
    list.dataset.key = key;
    list.replaceChildren(...music.tracks.map((track, index) => {
      const item = document.createElement('li');
      item.classList.toggle('current', index === music.current);
      let art;
      if (track.artworkShown) {
        art = document.createElement('img');
        art.src = `/api/artwork/${index}`;
        art.alt = '';
      } else {
        art = document.createElement('span');
        art.className = 'no-art';
      }
      const words = document.createElement('span');
      words.textContent = `${track.title ?? '(untitled)'} – ${track.artist ?? '(unknown)'} · ${formatTime(track.duration)}`;
      item.append(art, words);
      return item;
    }));
  }
  const track = music.tracks[music.current];
  let elapsed = music.elapsed || 0;
  if (music.playing)
    elapsed += Math.max(0, now - music.t);
  if (track && track.duration)
    elapsed = Math.min(elapsed, track.duration);
  $('#music-state').textContent = !track || music.stopped
    ? 'Nothing playing.'
    : `${music.playing ? 'Playing' : 'Paused'} · ${formatTime(elapsed)} of ${formatTime(track.duration)}`;
}

// The pane's cells as controls: what the user does becomes `settings set KEY VALUE`.
function renderPane(settings) {
  const pane = $('#pane');
  const app = settings && settings.settingsApp;
  const key = JSON.stringify(app || null);
  if (pane.dataset.key === key)
    return;
  pane.dataset.key = key;
  if (!app || !app.open) {
    pane.replaceChildren(Object.assign(document.createElement('p'), { className: 'small', textContent: 'The pane is not open.' }));
    return;
  }
  const rows = [];
  for (const cell of app.cells || []) {
    if (cell.type === 'group') {
      rows.push(Object.assign(document.createElement('div'), { className: 'group-title', textContent: cell.label || '' }));
      continue;
    }
    const row = document.createElement('div');
    row.className = 'cell';
    row.dataset.key = cell.key || '';
    const label = document.createElement('label');
    label.textContent = cell.label || cell.key || '';
    row.append(label);
    if (cell.type === 'switch' && cell.key) {
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = !!cell.value;
      box.setAttribute('aria-label', cell.key);
      box.addEventListener('change', () => runLine(`settings set ${cell.key} ${box.checked}`));
      row.append(box);
    } else if ((cell.type === 'number' || cell.type === 'text') && cell.key) {
      const field = document.createElement('input');
      field.type = 'text';
      field.value = cell.value ?? '';
      field.setAttribute('aria-label', cell.key);
      field.addEventListener('change', () => {
        // Typed as a user types: a number goes as a number, anything else as the text
        // typed, for the pane to take or refuse.
        const typed = field.value.trim();
        const value = /^-?(\d+\.?\d*|\.\d+)$/.test(typed) ? typed : quoted(typed);
        runLine(`settings set ${cell.key} ${value}`);
      });
      row.append(field);
    } else if (cell.type === 'button') {
      const button = document.createElement('button');
      button.textContent = cell.label || 'Button';
      const action = /reset/i.test(JSON.stringify(cell)) ? 'settings reset' : 'settings respring';
      button.addEventListener('click', () => runLine(action));
      row.replaceChildren(button);
    }
    const problem = cell.message || cell.error || cell.problem;
    if (problem)
      row.append(Object.assign(document.createElement('div'), { className: 'red-line', textContent: problem }));
    rows.push(row);
  }
  const respring = document.createElement('button');
  respring.textContent = 'Respring (the pane\'s button)';
  respring.id = 'pane-respring';
  respring.addEventListener('click', () => runLine('settings respring'));
  rows.push(respring);
  // A message no cell shows (the pane's own) goes under the pane.
  if (app.message && !(app.cells || []).some((cell) => cell.problem === app.message || cell.message === app.message))
    rows.push(Object.assign(document.createElement('div'), { className: 'red-line', textContent: app.message }));
  pane.replaceChildren(...rows);
}

// MARK: Event log

async function fetchLog() {
  if (page.logLoading)
    return;
  page.logLoading = true;
  try {
    const response = await fetch(`/api/log?since=${page.logNext}`);
    const reply = await response.json();
    const log = $('#log');
    if (reply.next < page.logNext)
      log.replaceChildren();
    const atBottom = log.scrollTop + log.clientHeight >= log.scrollHeight - 4;
    for (const entry of reply.entries) {
      const item = document.createElement('li');
      item.className = entry.kind;
      const time = Object.assign(document.createElement('span'), { className: 't', textContent: `${Number(entry.t).toFixed(2)} s` });
      item.append(time, document.createTextNode(entry.text));
      log.append(item);
    }
    while (log.children.length > 1500)
      log.firstChild.remove();
    page.logNext = reply.next;
    if (atBottom)
      log.scrollTop = log.scrollHeight;
  } finally {
    page.logLoading = false;
  }
}

// MARK: Inspector

// At most a few inspections a second, and only after a new frame.
function scheduleInspection() {
  if (page.inspectTimer)
    return;
  const wait = Math.max(0, page.lastInspect + 300 - performance.now());
  page.inspectTimer = setTimeout(async () => {
    page.inspectTimer = null;
    page.lastInspect = performance.now();
    const response = await fetch('/api/inspect');
    if (!response.ok)
      return;
    const text = await response.text();
    // Read and drawn when the page has nothing else to do: a click's frame goes first.
    requestIdleCallback(() => {
      const inspection = JSON.parse(text);
      page.inspection = inspection;
      if (inspection.points)
        page.points = inspection.points;
      renderTree();
    }, { timeout: 1000 });
  }, wait);
}

function isNode(value) {
  return value && typeof value === 'object' && typeof value.class === 'string' && Array.isArray(value.frame);
}

function nodeLabel(node) {
  const fragment = document.createDocumentFragment();
  if (node.property)
    fragment.append(Object.assign(document.createElement('span'), { className: 'prop', textContent: node.property + ' ' }));
  let words = `${node.class} ${node.id}`;
  if (node.text)
    words += ` "${node.text}"`;
  fragment.append(document.createTextNode(words));
  return fragment;
}

// Tree items: {key, label, node (a view, for outlines), children, fields}.
function screenItems(node) {
  return {
    key: node.id,
    node,
    label: nodeLabel(node),
    hidden: node.hidden || node.presentationAlpha < 0.01,
    children: (node.subviews || []).map(screenItems),
  };
}

function playersItems(dump) {
  const player = (name, value) => ({
    key: `player:${name}`,
    label: document.createTextNode(name),
    fields: null,
    children: value ? Object.entries(value).filter(([, view]) => isNode(view)).map(([property, view]) => {
      const item = screenItems(view);
      item.key = `${name}.${property}:${view.id}`;
      item.label = Object.assign(document.createElement('span'), {});
      item.label.append(Object.assign(document.createElement('span'), { className: 'prop', textContent: property + ' ' }), document.createTextNode(`${view.class} ${view.id}`));
      return item;
    }) : [],
  });
  const items = [player('lockscreen', dump.lockscreen)];
  for (const [app, value] of Object.entries(dump.apps || {}))
    items.push(player(`app(${app})`, value));
  items.push({ key: 'globals', label: document.createTextNode('globals'), fields: dump.globals, children: [] });
  return items;
}

function renderTree() {
  const inspection = page.inspection;
  if (!inspection)
    return;
  const kind = $('#tree-kind').value;
  const source = kind === 'screen' ? inspection.screen : inspection.players;
  const text = kind + JSON.stringify(source);
  if (text === page.inspectionText)
    return;
  page.inspectionText = text;
  page.nodesById = new Map();
  const roots = kind === 'screen' ? (source ? [screenItems(source)] : []) : playersItems(source || {});
  const list = document.createElement('ul');
  for (const item of roots)
    list.append(treeItem(item, 0));
  const tree = $('#tree');
  const scroll = tree.scrollTop;
  tree.replaceChildren(list);
  tree.scrollTop = scroll;
  showOutline('#hover-outline', page.hoverId);
  showOutline('#select-outline', page.selectedId);
  showFields();
}

function treeItem(item, depth) {
  const li = document.createElement('li');
  li.setAttribute('role', 'treeitem');
  const row = document.createElement('div');
  row.className = 'node';
  row.dataset.key = item.key;
  if (item.node)
    row.dataset.id = item.node.id;
  if (item.hidden)
    row.classList.add('hidden-view');
  page.nodesById.set(item.key, item);
  if (item.node && !page.nodesById.has(item.node.id))
    page.nodesById.set(item.node.id, item);
  const open = page.expanded.has(item.key) || (!page.expanded.has('!' + item.key) && depth < 4);
  const toggle = Object.assign(document.createElement('span'), { className: 'toggle', textContent: item.children.length ? (open ? '▾' : '▸') : '' });
  toggle.addEventListener('click', (event) => {
    event.stopPropagation();
    if (open) {
      page.expanded.delete(item.key);
      page.expanded.add('!' + item.key);
    } else {
      page.expanded.add(item.key);
      page.expanded.delete('!' + item.key);
    }
    page.inspectionText = '';
    renderTree();
  });
  row.append(toggle, item.label);
  row.classList.toggle('selected', item.key === page.selectedId || !!(item.node && item.node.id === page.selectedId));
  row.addEventListener('mouseenter', () => {
    page.hoverId = item.key;
    showOutline('#hover-outline', item.key);
  });
  row.addEventListener('mouseleave', () => {
    page.hoverId = null;
    showOutline('#hover-outline', null);
  });
  row.addEventListener('click', () => select(item.key));
  li.append(row);
  if (item.children.length && open) {
    const children = document.createElement('ul');
    children.setAttribute('role', 'group');
    for (const child of item.children)
      children.append(treeItem(child, depth + 1));
    li.append(children);
  }
  return li;
}

function select(key) {
  page.selectedId = key;
  for (const row of document.querySelectorAll('#tree .node'))
    row.classList.toggle('selected', row.dataset.key === key || row.dataset.id === key);
  showOutline('#select-outline', key);
  showFields();
}

function showFields() {
  const item = page.selectedId && page.nodesById.get(page.selectedId);
  const pre = $('#node-fields');
  if (!item) {
    pre.textContent = 'Hover a view to outline it; click one (here or, picking, on the phone) to see its fields.';
    return;
  }
  const fields = item.node ? Object.fromEntries(Object.entries(item.node).filter(([name]) => name !== 'subviews')) : item.fields;
  if (item.node && item.node.subviews)
    fields.subviews = `${item.node.subviews.length} views`;
  pre.textContent = JSON.stringify(fields, null, 2);
}

function showOutline(selector, key) {
  const outline = $(selector);
  const item = key && page.nodesById.get(key);
  if (!item || !item.node) {
    outline.style.display = 'none';
    return;
  }
  const [x, y, w, h] = item.node.frame;
  const image = $('#screen');
  const scale = image.clientWidth / page.points[0];
  outline.style.display = 'block';
  outline.style.left = `${x * scale}px`;
  outline.style.top = `${y * scale}px`;
  outline.style.width = `${Math.max(1, w * scale)}px`;
  outline.style.height = `${Math.max(1, h * scale)}px`;
}

// The front-most visible view under a screen point, as a touch would find it.
function viewAt(node, x, y) {
  if (!node || node.hidden || node.presentationAlpha < 0.01)
    return null;
  const children = node.subviews || [];
  for (let i = children.length - 1; i >= 0; --i) {
    const hit = viewAt(children[i], x, y);
    if (hit)
      return hit;
  }
  const [fx, fy, fw, fh] = node.frame;
  return x >= fx && y >= fy && x < fx + fw && y < fy + fh ? node : null;
}

// MARK: Pointer on the phone

function screenPoint(event) {
  const image = $('#screen');
  const box = image.getBoundingClientRect();
  const scale = page.points[0] / box.width;
  return { x: (event.clientX - box.left) * scale, y: (event.clientY - box.top) * scale, cssX: event.clientX, cssY: event.clientY };
}

function round(value) {
  return Math.round(value * 10) / 10;
}

let pointerStart = null;

function onPointerDown(event) {
  event.preventDefault();
  pointerStart = screenPoint(event);
}

function onPointerUp(event) {
  if (!pointerStart)
    return;
  const start = pointerStart;
  pointerStart = null;
  const end = screenPoint(event);
  if ($('#pick').checked) {
    const view = page.inspection && viewAt(page.inspection.screen, start.x, start.y);
    if (view) {
      $('#tree-kind').value = 'screen';
      page.inspectionText = '';
      renderTree();
      select(view.id);
      const row = document.querySelector(`#tree .node[data-id="${CSS.escape(view.id)}"]`);
      if (row)
        row.scrollIntoView({ block: 'nearest' });
    }
    return;
  }
  const dx = end.cssX - start.cssX;
  const dy = end.cssY - start.cssY;
  if (Math.abs(dx) >= 30 && Math.abs(dx) > 2 * Math.abs(dy)) {
    const direction = dx > 0 ? 'right' : 'left';
    const phone = (page.status && page.status.phone) || {};
    if (phone.locked)
      runLine(`swipe lockscreen ${direction}`);
    else if (phone.front)
      runLine(`swipe app ${phone.front} ${direction}`);
    else
      say('Nothing to swipe on the home screen: open an app or lock the phone.');
    return;
  }
  runLine(`tap screen ${round(start.x)} ${round(start.y)}`);
}

function onPointerMove(event) {
  if (!$('#pick').checked || !page.inspection)
    return;
  const point = screenPoint(event);
  const view = viewAt(page.inspection.screen, point.x, point.y);
  page.hoverId = view ? view.id : null;
  showOutline('#hover-outline', page.hoverId);
}

// MARK: Wiring

function wire() {
  for (const button of document.querySelectorAll('[data-line]'))
    button.addEventListener('click', () => runLine(button.dataset.line));
  for (const button of document.querySelectorAll('[data-speed]')) {
    button.addEventListener('click', async () => {
      const { ok, reply } = await post('/api/clock', button.dataset.speed);
      if (!ok)
        say(reply.error);
    });
  }
  $('#open-app').addEventListener('click', () => runLine(`open ${$('#app').value}`));
  $('#seek-button').addEventListener('click', () => runLine(`seek ${Number($('#seek').value) || 0}`));
  $('#device').addEventListener('change', () => { page.deviceChosen = $('#device').value; });
  $('#restart').addEventListener('click', async () => {
    const { ok, reply } = await post('/api/device', $('#device').value);
    say(ok ? `Restarting on the ${reply.device}…` : reply.error, ok);
  });
  $('#record').addEventListener('click', async () => {
    const recording = page.status && page.status.recording && page.status.recording.active;
    const { ok, reply } = await post('/api/record', recording ? 'stop' : 'start');
    if (!ok)
      say(reply.error);
  });
  $('#line-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const line = $('#line').value.trim();
    if (line)
      runLine(line);
  });
  $('#tree-kind').addEventListener('change', () => {
    page.inspectionText = '';
    renderTree();
  });
  $('#tree').addEventListener('mouseleave', () => showOutline('#hover-outline', null));
  const image = $('#screen');
  image.addEventListener('pointerdown', onPointerDown);
  image.addEventListener('pointerup', onPointerUp);
  image.addEventListener('pointermove', onPointerMove);
  image.addEventListener('pointerleave', () => { if ($('#pick').checked) showOutline('#hover-outline', null); });
  showFields();

  follow();
}

// The server says when there is something new, frames included; nothing is polled. A
// stream the server refuses (too many pages) is explained and tried again.
function follow() {
  const events = new EventSource('/events?pieces=1');
  page.events = events;
  events.addEventListener('open', () => {
    if (page.streamRetry) {
      page.streamRetry = null;
      say('This page follows the phone again.', true);
    }
  });
  events.addEventListener('frame', (event) => paint(JSON.parse(event.data), false, performance.now()));
  events.addEventListener('piece', (event) => paint(JSON.parse(event.data), true, performance.now()));
  // Status and the log wait for frames being painted: a tap's frame is what the user
  // is looking for, and a log fetch or a status render in between holds it back.
  events.addEventListener('status', (event) => afterPainting(() => renderStatus(JSON.parse(event.data))));
  events.addEventListener('log', () => afterPainting(fetchLog));
  events.addEventListener('error', async () => {
    if (events.readyState !== EventSource.CLOSED)
      return; // the browser reconnects by itself
    events.close();
    let why = 'The server does not answer';
    try {
      const response = await fetch('/api/status');
      if (response.ok)
        why = 'The server refused this page its updates';
      const probe = new AbortController();
      const stream = await fetch('/events', { signal: probe.signal });
      if (stream.status === 503)
        why = (await stream.json()).error;
      probe.abort();
    } catch (error) { /* the server has gone: say so */ }
    say(`${why}. Trying again…`);
    page.streamRetry = setTimeout(follow, 2000);
  });
}

function restartStream() {
  if (page.events)
    page.events.close();
  page.generation += 1;
  follow();
}

wire();
