// The page of vekhost configure --serve: a thin renderer of the window-tree snapshot the host
// publishes, and a source of raw input. Every hit test happens in the host: the page sends
// pointer events at screen points, keys as Windows virtual-key codes and typed text, and draws
// whatever state comes back. The protocol is described in docs/browser-front-end.md.
'use strict';

(function () {
  const token = new URLSearchParams(window.location.search).get('token') || '';
  const screenEl = document.getElementById('screen');
  const statusEl = document.getElementById('status');
  const overlayEl = document.createElement('div');
  overlayEl.id = 'overlay';
  document.body.appendChild(overlayEl);

  const MOD_SHIFT = 1;
  const MOD_CONTROL = 2;
  const MOD_ALT = 4;

  let drawnVersion = 0;
  let phase = 'connecting';
  let pendingBoxId = null;
  let metrics = { cxChar: 6, cyChar: 13 };

  // ---------------------------------------------------------------------------------------
  // Text metrics: every character takes exactly cxChar pixels, as the host hit-tests it. The
  // font's own advance is measured once and letter spacing makes up the difference.
  function fitFont() {
    const canvas = document.createElement('canvas');
    const context = canvas.getContext('2d');
    const family = window.getComputedStyle(screenEl).fontFamily;
    context.font = `10px ${family}`;
    const advance = context.measureText('M'.repeat(100)).width / 100;
    document.documentElement.style.setProperty('--letter-spacing', `${metrics.cxChar - advance}px`);
  }

  // ---------------------------------------------------------------------------------------
  // Talking to the host.
  function request(path, options = {}) {
    const headers = Object.assign({ 'X-Vek-Token': token }, options.headers || {});
    return fetch(path, Object.assign({}, options, { headers, cache: 'no-store' }));
  }

  function setStatus(text, newPhase) {
    statusEl.textContent = text;
    if (newPhase) {
      phase = newPhase;
      document.body.dataset.phase = newPhase;
    }
  }

  function accept(body) {
    if (!body || body.version <= drawnVersion) return;
    drawnVersion = body.version;
    document.body.dataset.version = String(body.version);
    const state = body.state;
    if (!state) return;
    if (state.phase === 'ended') {
      showEnded(state);
      return;
    }
    pendingBoxId = state.messageBoxId;
    render(state.snapshot);
  }

  // Waits for each newer state in turn; the host holds the request until one exists.
  async function poll() {
    let failures = 0;
    while (phase !== 'ended') {
      try {
        const response = await request(`/state?after=${drawnVersion}`);
        if (!response.ok) throw new Error(`HTTP ${response.status}`);
        accept(await response.json());
        failures = 0;
      } catch (error) {
        if (phase === 'ended') break;
        failures += 1;
        if (failures >= 3) {
          setStatus('vekhost does not answer any more (it has ended or was stopped).', 'lost');
          break;
        }
        await new Promise((resolve) => setTimeout(resolve, 1000));
      }
    }
  }

  // Events go out in order, one request at a time; what piles up meanwhile goes in the next.
  let queue = [];
  let sending = false;
  // How many events are not yet answered, for whoever waits until the page has settled.
  function markBusy() {
    document.body.dataset.busy = String(queue.length + (sending ? 1 : 0));
  }

  function send(event) {
    if (phase === 'ended' || phase === 'lost') return;
    const last = queue[queue.length - 1];
    if (event.type === 'pointermove' && last && last.type === 'pointermove') {
      queue[queue.length - 1] = event; // only the latest position of a drag matters
    } else {
      queue.push(event);
    }
    flush();
  }

  async function flush() {
    if (sending || queue.length === 0) {
      markBusy();
      return;
    }
    sending = true;
    const events = queue;
    queue = [];
    markBusy();
    try {
      const response = await request('/input', {
        method: 'POST',
        headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ events }),
      });
      if (response.ok) accept(await response.json());
    } catch (error) {
      // The waiting request notices a host that went away.
    } finally {
      sending = false;
      markBusy();
      if (queue.length) flush();
    }
  }

  function eventTime(domEvent) {
    return Math.round(performance.timeOrigin + domEvent.timeStamp);
  }

  function modifiers(domEvent) {
    return (domEvent.shiftKey ? MOD_SHIFT : 0) | (domEvent.ctrlKey ? MOD_CONTROL : 0) |
      (domEvent.altKey ? MOD_ALT : 0);
  }

  // ---------------------------------------------------------------------------------------
  // Pointer and wheel: screen points are page pixels, the screen starting at the page's corner.
  function screenPoint(domEvent) {
    const box = screenEl.getBoundingClientRect();
    return { x: Math.floor(domEvent.clientX - box.left), y: Math.floor(domEvent.clientY - box.top) };
  }

  function pointerEvent(type, domEvent) {
    const point = screenPoint(domEvent);
    const event = { type, x: point.x, y: point.y, mods: modifiers(domEvent), time: eventTime(domEvent) };
    if (type !== 'pointermove') event.button = domEvent.button;
    return event;
  }

  screenEl.addEventListener('pointerdown', (domEvent) => {
    if (domEvent.button !== 0 && domEvent.button !== 2) return;
    domEvent.preventDefault();
    screenEl.setPointerCapture(domEvent.pointerId);
    send(pointerEvent('pointerdown', domEvent));
  });
  screenEl.addEventListener('pointerup', (domEvent) => {
    if (domEvent.button !== 0 && domEvent.button !== 2) return;
    domEvent.preventDefault();
    send(pointerEvent('pointerup', domEvent));
  });
  // Moves matter to the host while a button is held (a scroll thumb dragged); without a
  // button they would only load the host.
  screenEl.addEventListener('pointermove', (domEvent) => {
    if (domEvent.buttons & 3) send(pointerEvent('pointermove', domEvent));
  });
  screenEl.addEventListener('contextmenu', (domEvent) => domEvent.preventDefault());
  screenEl.addEventListener('wheel', (domEvent) => {
    domEvent.preventDefault();
    // 120 per notch, positive away from the user; a notch is 100 pixels in Chromium, 3 lines.
    const perUnit = domEvent.deltaMode === 1 ? 40 : domEvent.deltaMode === 2 ? 120 : 1.2;
    const delta = Math.round(-domEvent.deltaY * perUnit);
    if (delta === 0) return;
    const point = screenPoint(domEvent);
    send({ type: 'wheel', delta, x: point.x, y: point.y, mods: modifiers(domEvent),
      time: eventTime(domEvent) });
  }, { passive: false });

  // ---------------------------------------------------------------------------------------
  // Keys. A key the host knows goes as its virtual-key code; the host's key press then types
  // the character itself (TranslateMessage), so that character is not sent again. A character
  // the host would type differently from the page's keyboard layout goes as text instead.
  const NAMED_KEYS = {
    Backspace: 0x08, Tab: 0x09, Enter: 0x0D, Shift: 0x10, Control: 0x11, Alt: 0x12,
    Escape: 0x1B, ' ': 0x20, PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24,
    ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, Insert: 0x2D,
    Delete: 0x2E, ContextMenu: 0x5D,
    F1: 0x70, F2: 0x71, F3: 0x72, F4: 0x73, F6: 0x75, F7: 0x76, F8: 0x77, F9: 0x78, F10: 0x79,
  };
  const CODE_KEYS = {
    Period: 0xBE, Comma: 0xBC, Minus: 0xBD, Equal: 0xBB, NumpadDecimal: 0x6E,
  };

  function virtualKey(domEvent) {
    if (Object.prototype.hasOwnProperty.call(NAMED_KEYS, domEvent.key)) return NAMED_KEYS[domEvent.key];
    const code = domEvent.code || '';
    let match = /^Key([A-Z])$/.exec(code);
    if (match) return match[1].charCodeAt(0);
    match = /^Digit([0-9])$/.exec(code);
    if (match) return match[1].charCodeAt(0);
    match = /^Numpad([0-9])$/.exec(code);
    if (match) return 0x60 + Number(match[1]);
    if (Object.prototype.hasOwnProperty.call(CODE_KEYS, code)) return CODE_KEYS[code];
    // A letter of a layout whose keys the codes do not name.
    if (/^[a-zA-Z]$/.test(domEvent.key)) return domEvent.key.toUpperCase().charCodeAt(0);
    return 0;
  }

  // The character the host's key translation types for a key, or null for none.
  function hostCharacter(vk, mods) {
    const shift = (mods & MOD_SHIFT) !== 0;
    if (vk >= 0x41 && vk <= 0x5A) return shift ? String.fromCharCode(vk) : String.fromCharCode(vk + 32);
    if (vk >= 0x30 && vk <= 0x39) return String.fromCharCode(vk);
    switch (vk) {
      case 0x20: return ' ';
      case 0xBE: case 0x6E: return '.';
      case 0xBC: return ',';
      case 0xBD: return '-';
      case 0xBB: return shift ? '+' : '=';
      default: return null;
    }
  }

  const keysSentDown = new Set();
  window.addEventListener('keydown', (domEvent) => {
    if (phase !== 'running') return;
    if (domEvent.isComposing || domEvent.key === 'Dead' || domEvent.key === 'Process') return;
    const mods = modifiers(domEvent);
    const time = eventTime(domEvent);
    const vk = virtualKey(domEvent);
    const printable = [...domEvent.key].length === 1 && !(mods & (MOD_CONTROL | MOD_ALT));
    if (printable) {
      const typed = vk ? hostCharacter(vk, mods) : null;
      domEvent.preventDefault();
      if (vk && typed === domEvent.key) {
        send({ type: 'keydown', key: vk, mods, time });
        keysSentDown.add(domEvent.code);
      } else if (vk && typed === null) {
        send({ type: 'keydown', key: vk, mods, time });
        send({ type: 'text', text: domEvent.key, time });
        keysSentDown.add(domEvent.code);
      } else {
        send({ type: 'text', text: domEvent.key, time });
      }
      return;
    }
    if (!vk) return;
    // Ctrl+V is the browser's: the paste event below brings the text.
    if ((mods & MOD_CONTROL) && vk === 0x56) return;
    domEvent.preventDefault();
    send({ type: 'keydown', key: vk, mods, time });
    keysSentDown.add(domEvent.code || domEvent.key);
  });
  window.addEventListener('keyup', (domEvent) => {
    const id = domEvent.code || domEvent.key;
    if (!keysSentDown.has(id)) return;
    keysSentDown.delete(id);
    domEvent.preventDefault();
    send({ type: 'keyup', key: virtualKey(domEvent), mods: modifiers(domEvent), time: eventTime(domEvent) });
  });
  window.addEventListener('paste', (domEvent) => {
    if (phase !== 'running') return;
    const text = domEvent.clipboardData ? domEvent.clipboardData.getData('text/plain') : '';
    domEvent.preventDefault();
    if (text) send({ type: 'text', text, time: eventTime(domEvent) });
  });
  window.addEventListener('compositionend', (domEvent) => {
    if (phase === 'running' && domEvent.data) {
      send({ type: 'text', text: domEvent.data, time: eventTime(domEvent) });
    }
  });

  // ---------------------------------------------------------------------------------------
  // Drawing. Every window is an absolutely placed element at its rectangle; children sit in
  // their parent's client area and are clipped by it, as the window system clips them.
  function el(tag, className, parent) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (parent) parent.appendChild(node);
    return node;
  }

  function place(node, left, top, width, height) {
    node.style.left = `${left}px`;
    node.style.top = `${top}px`;
    if (width !== undefined) node.style.width = `${Math.max(0, width)}px`;
    if (height !== undefined) node.style.height = `${Math.max(0, height)}px`;
  }

  function textSpan(parent, text, className) {
    const span = el('span', className || '', parent);
    span.textContent = text;
    return span;
  }

  // A label's text with its mnemonic: "&&" is one "&", "&x" underlines x.
  function labelSpan(parent, text, className) {
    const span = el('span', className || '', parent);
    const parts = text.split(/(&&|&.)/s);
    for (const part of parts) {
      if (part === '&&') span.append('&');
      else if (part.length === 2 && part[0] === '&') el('u', '', span).textContent = part[1];
      else if (part) span.append(part);
    }
    return span;
  }

  const SS_NOPREFIX = 0x80;

  function drawWindow(win, container, originX, originY, isTop) {
    if (!win.visible) return;
    const rect = win.rect;
    const node = el('div', `win cls-${cssClass(win.class)}${isTop ? ' top' : ''}`, container);
    place(node, rect.left - originX, rect.top - originY, rect.right - rect.left, rect.bottom - rect.top);
    node.dataset.hwnd = String(win.hwnd);
    node.dataset.class = win.class;
    node.dataset.id = String(win.id);
    node.dataset.text = win.text;
    if (!win.enabled) node.classList.add('disabled');
    if (win.focus) node.dataset.focus = 'true';

    const styles = new Set(win.styles || []);
    const frame = win.client.left - rect.left;
    if (frame > 0) {
      const color = styles.has('WS_EX_CLIENTEDGE') || styles.has('WS_EX_STATICEDGE') ? '#a0a0a0' : '#696969';
      node.style.boxShadow = `inset 0 0 0 1px ${color}` + (isTop ? ', 2px 2px 8px rgba(0,0,0,0.45)' : '');
    }
    if (styles.has('WS_CAPTION')) {
      const caption = el('div', 'caption', node);
      place(caption, frame, frame, undefined, metrics.cyCaption || 20);
      caption.style.left = `${frame}px`;
      caption.style.right = `${frame}px`;
      caption.textContent = win.text;
      if (win.hwnd !== activeDialog) caption.classList.add('inactive');
      if (styles.has('WS_EX_CONTEXTHELP')) textSpan(caption, '?', 'caption-help');
    }
    // A combo box's WS_VSCROLL is meant for its drop-down list, which draws its own bar.
    if (win.vscroll && win.class.toLowerCase() !== 'combobox') drawScrollBar(win.vscroll, node, rect);

    const client = el('div', 'client', node);
    place(client, win.client.left - rect.left, win.client.top - rect.top,
      win.client.right - win.client.left, win.client.bottom - win.client.top);
    drawControl(win, client, node);
    for (const child of win.children || []) {
      drawWindow(child, client, win.client.left, win.client.top, false);
    }
  }

  function cssClass(name) {
    return name.replace(/[^A-Za-z0-9]/g, '_');
  }

  function drawScrollBar(bar, node, rect) {
    const barEl = el('div', 'vscroll', node);
    const height = bar.rect.bottom - bar.rect.top;
    place(barEl, bar.rect.left - rect.left, bar.rect.top - rect.top, bar.rect.right - bar.rect.left, height);
    const up = el('div', 'arrow', barEl);
    place(up, 0, 0, undefined, bar.arrowHeight);
    up.textContent = '▲';
    const down = el('div', 'arrow', barEl);
    place(down, 0, height - bar.arrowHeight, undefined, bar.arrowHeight);
    down.textContent = '▼';
    if (bar.enabled && bar.thumbBottom > bar.thumbTop) {
      const thumb = el('div', 'thumb', barEl);
      place(thumb, 1, bar.thumbTop, undefined, bar.thumbBottom - bar.thumbTop);
    }
  }

  function clientSize(win) {
    return { width: win.client.right - win.client.left, height: win.client.bottom - win.client.top };
  }

  function drawControl(win, client, node) {
    const control = win.control || {};
    switch (win.class.toLowerCase()) {
      case '#32770':
        node.classList.add('dialog');
        break;
      case 'button':
        drawButton(win, control, client);
        break;
      case 'static':
        client.style.textAlign = control.align || 'left';
        if (win.style & SS_NOPREFIX) textSpan(client, win.text);
        else labelSpan(client, win.text);
        break;
      case 'edit':
        drawEdit(win, control, client);
        break;
      case 'combobox':
        drawCombo(win, control, client);
        break;
      case 'listbox':
      case 'combolbox':
        drawListBox(win, control, client);
        break;
      case 'syslistview32':
        drawListView(win, control, client);
        break;
      case 'sysheader32':
        drawHeader(win, control, client);
        break;
      case 'systreeview32':
        drawTree(win, control, client);
        break;
      default:
        textSpan(client, win.text);
    }
  }

  function drawButton(win, control, client) {
    const kind = control.kind || 'push';
    if (kind === 'push' || kind === 'defPush' || kind === 'other') {
      client.classList.add('push');
      if (win.default) client.classList.add('default');
      if (control.pushed) client.classList.add('pushed');
      if (win.focus) client.classList.add('focus-ring');
      labelSpan(client, win.text);
      return;
    }
    if (kind === 'groupBox') {
      const size = clientSize(win);
      const frame = el('div', 'win group', client);
      place(frame, 0, 6, size.width, size.height - 6);
      const label = labelSpan(client, win.text, 'group-label');
      label.style.position = 'absolute';
      return;
    }
    client.classList.add('check');
    const box = el('span', kind === 'radio' ? 'box radio' : 'box', client);
    box.textContent = control.check === 1 ? (kind === 'radio' ? '●' : '✓') : control.check === 2 ? '■' : '';
    box.dataset.check = String(control.check);
    const label = labelSpan(client, win.text);
    if (win.focus) label.classList.add('focus-ring');
  }

  function drawEdit(win, control, client) {
    client.classList.add('field');
    if (control.readOnly) client.classList.add('readonly');
    let text = win.text;
    if (control.password) text = '*'.repeat([...text].length);
    const size = clientSize(win);
    if (control.multiline) {
      textSpan(client, text.replace(/\r\n/g, '\n'));
      return;
    }
    const line = el('div', '', client);
    line.style.position = 'absolute';
    line.style.left = '0px';
    line.style.top = `${Math.max(0, Math.floor((size.height - metrics.cyChar) / 2))}px`;
    line.style.height = `${metrics.cyChar}px`;
    const chars = [...text];
    const showSelection = win.focus && control.selEnd > control.selStart;
    if (showSelection) {
      textSpan(line, chars.slice(0, control.selStart).join(''));
      textSpan(line, chars.slice(control.selStart, control.selEnd).join(''), 'sel');
      textSpan(line, chars.slice(control.selEnd).join(''));
    } else {
      textSpan(line, text);
    }
    if (win.focus && control.selStart === control.selEnd) {
      const caret = el('div', 'caret', line);
      place(caret, control.caret * metrics.cxChar, 0);
    }
  }

  function drawCombo(win, control, client) {
    client.classList.add('field');
    const size = clientSize(win);
    const field = Math.min(size.height, metrics.cyComboField || 20);
    if (control.type === 'dropDownList') {
      const text = el('div', '', client);
      text.style.position = 'absolute';
      place(text, 3, Math.floor((field - metrics.cyChar) / 2));
      const span = textSpan(text, win.text);
      if (win.focus && !control.dropped) span.classList.add('sel');
    }
    if (control.type !== 'simple') {
      const arrow = el('div', 'combo-arrow', client);
      arrow.style.height = `${field}px`;
      arrow.textContent = '▼';
    }
  }

  function drawListBox(win, control, client) {
    client.classList.add('field');
    const size = clientSize(win);
    const items = control.items || [];
    const height = control.itemHeight || metrics.cyListItem || 16;
    const selected = new Set(control.selected || []);
    if (control.selection >= 0) selected.add(control.selection);
    for (let i = control.top || 0; i < items.length; i += 1) {
      const y = (i - (control.top || 0)) * height;
      if (y >= size.height) break;
      const row = el('div', 'row', client);
      place(row, 0, y, undefined, height);
      row.dataset.index = String(i);
      row.dataset.text = items[i];
      if (selected.has(i)) row.classList.add('sel');
      if (win.focus && control.caret === i) row.classList.add('caret-row');
      const text = textSpan(row, items[i]);
      text.style.position = 'absolute';
      text.style.left = '2px';
      text.style.top = `${Math.floor((height - metrics.cyChar) / 2)}px`;
    }
  }

  function drawListView(win, control, client) {
    client.classList.add('field');
    const size = clientSize(win);
    const columns = control.columns || [];
    const rows = control.rows || [];
    const top = control.top || 0;
    const rowHeight = control.rowHeight || 16;
    const headerHeight = control.headerHeight || 0;
    const lefts = [];
    let x = 0;
    for (const column of columns) {
      lefts.push(x);
      x += column.width;
    }
    for (let r = top; r < rows.length; r += 1) {
      const y = headerHeight + (r - top) * rowHeight;
      if (y >= size.height) break;
      const row = rows[r];
      const rowEl = el('div', 'row', client);
      place(rowEl, 0, y, x, rowHeight);
      rowEl.style.right = 'auto';
      rowEl.dataset.row = String(r);
      const highlight = row.selected && (win.focus || control.showSelAlways);
      if (highlight && control.fullRowSelect) rowEl.classList.add(win.focus ? 'sel' : 'sel-inactive');
      if (row.focused && win.focus) rowEl.classList.add('caret-row');
      columns.forEach((column, c) => {
        const cell = el('div', control.gridLines ? 'cell grid' : 'cell', rowEl);
        place(cell, lefts[c], 0, column.width, rowHeight);
        cell.dataset.column = String(c);
        let pad = c === 0 ? (metrics.cxListViewLabelPad || 2) : 0;
        if (c === 0 && control.checkBoxes) {
          const box = el('span', 'tree-box', cell);
          place(box, 2, 1);
          box.textContent = row.checked ? '✓' : '';
          pad += metrics.cxTreeStateIcon || 16;
        }
        const text = textSpan(cell, (row.texts || [])[c] || '');
        text.style.position = 'absolute';
        text.style.left = `${pad}px`;
        text.style.top = `${Math.floor((rowHeight - metrics.cyChar) / 2)}px`;
        text.style.textAlign = column.format || 'left';
        if (c === 0 && highlight && !control.fullRowSelect) text.classList.add('sel');
      });
    }
  }

  function drawHeader(win, control, client) {
    for (const [i, item] of (control.items || []).entries()) {
      const itemEl = el('div', 'header-item', client);
      place(itemEl, item.left, 0, item.right - item.left);
      if (control.pressed === i) itemEl.classList.add('pressed');
      itemEl.textContent = item.text;
    }
  }

  function drawTree(win, control, client) {
    client.classList.add('field');
    const size = clientSize(win);
    const rows = control.rows || [];
    const top = control.top || 0;
    const rowHeight = control.rowHeight || 16;
    for (let i = top; i < rows.length; i += 1) {
      const y = (i - top) * rowHeight;
      if (y >= size.height) break;
      const row = rows[i];
      const rowEl = el('div', 'row', client);
      place(rowEl, 0, y, undefined, rowHeight);
      rowEl.dataset.item = String(row.item);
      rowEl.dataset.text = row.text;
      rowEl.dataset.depth = String(row.depth);
      const layout = row.x || {};
      if (layout.button !== null && layout.button !== undefined && row.hasChildren) {
        const button = el('span', 'tree-button', rowEl);
        place(button, layout.button + Math.floor(((metrics.cxTreeIndent || 19) - 9) / 2),
          Math.floor((rowHeight - 9) / 2));
        button.textContent = row.expanded ? '−' : '+';
        button.dataset.part = 'button';
      }
      if (layout.state !== null && layout.state !== undefined && row.checked !== null) {
        const box = el('span', 'tree-box', rowEl);
        place(box, layout.state + 1, Math.floor((rowHeight - 13) / 2));
        box.textContent = row.checked ? '✓' : '';
        box.dataset.part = 'check';
        box.dataset.check = row.checked ? '1' : '0';
      }
      const label = el('span', 'tree-label', rowEl);
      place(label, layout.label, 1, layout.right - layout.label);
      label.textContent = row.text;
      label.dataset.part = 'label';
      if (row.selected && (win.focus || control.showSelAlways)) label.classList.add(win.focus ? 'sel' : 'sel-inactive');
    }
  }

  // A message box is not a window: it is laid out here, centred on its owner, and answered
  // with one of its buttons.
  function drawMessageBox(box, windowsByHwnd) {
    const shade = el('div', 'msgbox-shade', overlayEl);
    shade.addEventListener('pointerdown', (domEvent) => domEvent.preventDefault());
    const boxEl = el('div', 'msgbox', shade);
    boxEl.dataset.caption = box.caption;
    boxEl.setAttribute('role', 'alertdialog');
    const caption = el('div', 'caption', boxEl);
    caption.textContent = box.caption;
    const body = el('div', 'msgbox-body', boxEl);
    if (box.icon) {
      const icon = el('div', `msgbox-icon ${box.icon}`, body);
      icon.textContent = box.icon === 'error' ? '×' : box.icon === 'question' ? '?' : box.icon === 'warning' ? '!' : 'i';
    }
    const text = el('div', 'msgbox-text', body);
    text.textContent = box.text;
    const buttons = el('div', 'msgbox-buttons', boxEl);
    for (const button of box.buttons || []) {
      const buttonEl = el('button', button.id === box.defaultButton ? 'default' : '', buttons);
      buttonEl.type = 'button';
      buttonEl.textContent = button.text;
      buttonEl.dataset.answer = String(button.id);
      buttonEl.addEventListener('click', (domEvent) => {
        domEvent.preventDefault();
        if (pendingBoxId !== null) send({ type: 'answer', box: pendingBoxId, button: button.id });
      });
    }
    const owner = windowsByHwnd.get(box.owner) || windowsByHwnd.get(activeDialog);
    const width = boxEl.offsetWidth;
    const height = boxEl.offsetHeight;
    let left = 200;
    let topPx = 150;
    if (owner) {
      left = Math.round((owner.rect.left + owner.rect.right - width) / 2);
      topPx = Math.round((owner.rect.top + owner.rect.bottom - height) / 2);
    }
    place(boxEl, Math.max(0, left), Math.max(0, topPx));
  }

  let activeDialog = null;

  function render(snapshot) {
    if (!snapshot) return;
    if (snapshot.metrics) metrics = Object.assign({}, metrics, snapshot.metrics);
    activeDialog = snapshot.activeDialog;
    screenEl.dataset.change = String(snapshot.change);
    screenEl.replaceChildren();
    overlayEl.replaceChildren();
    const windowsByHwnd = new Map();
    for (const win of snapshot.windows || []) {
      windowsByHwnd.set(win.hwnd, win);
      drawWindow(win, screenEl, 0, 0, true);
    }
    if (snapshot.messageBox) drawMessageBox(snapshot.messageBox, windowsByHwnd);
    const dialog = windowsByHwnd.get(activeDialog);
    setStatus(dialog ? `Running: ${dialog.text}` : 'Running', 'running');
    document.body.dataset.messageBox = snapshot.messageBox ? 'open' : 'none';
  }

  function showEnded(state) {
    screenEl.replaceChildren();
    overlayEl.replaceChildren();
    const message = state.timedOut
      ? `Nobody used the page for a while: the dialog was cancelled. ${state.message}`
      : state.message;
    setStatus(`vekhost has finished (exit code ${state.exitCode}): ${message}`,
      state.exitCode === 0 ? 'ended' : 'failed');
    phase = 'ended';
    document.body.dataset.exitCode = String(state.exitCode);
  }

  fitFont();
  poll();
})();
