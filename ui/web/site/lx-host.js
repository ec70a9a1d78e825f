// The page's side of the browser host (ui/web/web_host.cpp): draws each dialog template as
// positioned elements at its dialog-unit layout, mirrors the dialog model's control states, and
// queues the visitor's input for the program's modal loop. Nothing here decides what input
// does: the dialog model does, as on every host.
'use strict';

const LxPage = (() => {
  const kWorkDir = '/home/web_user';
  const windows = new Map();  // handle -> window record
  const order = [];           // open handles, topmost last
  const queue = [];
  let waiter = null;
  let module = null;
  let messageBox = null;      // the open message box: {resolve, element}
  const pendingSaves = new Map();  // page file -> {handle|null, since}
  let scenarioResult = null;
  const {S, fontPx, unitsFor, ux, uy, el, setMnemonicText, picturePath, renderers} = LxControls;

  function push(event) {
    if (waiter) {
      const w = waiter;
      waiter = null;
      w(event);
    } else {
      queue.push(event);
    }
  }
  LxControls.attach(push);

  function topHandle() { return order.length ? order[order.length - 1] : 0; }

  function windowFrame(caption, withMinimize, onClose) {
    const frame = el('div', 'lx-window');
    const bar = el('div', 'lx-caption', frame);
    el('span', 'lx-caption-icon', bar);
    el('span', 'lx-caption-text', bar).textContent = caption;
    if (withMinimize) el('button', 'lx-caption-button lx-minimize', bar).tabIndex = -1;
    const close = el('button', 'lx-caption-button lx-close', bar);
    close.tabIndex = -1;
    close.title = '关闭';
    close.addEventListener('click', onClose);
    // The caption bar moves the window, as a frame's does.
    bar.addEventListener('mousedown', (ev) => {
      if (ev.target.closest('button')) return;
      const x0 = ev.clientX - frame.offsetLeft, y0 = ev.clientY - frame.offsetTop;
      const move = (m) => {
        frame.style.left = `${m.clientX - x0}px`;
        frame.style.top = `${Math.max(0, m.clientY - y0)}px`;
      };
      const up = () => {
        document.removeEventListener('mousemove', move);
        document.removeEventListener('mouseup', up);
      };
      document.addEventListener('mousemove', move);
      document.addEventListener('mouseup', up);
    });
    return frame;
  }

  function place(frame, owner) {
    const desktop = document.getElementById('lx-desktop') || document.body;
    if (owner) {
      const blocker = el('div', 'lx-blocker', desktop);
      frame.blocker = blocker;
    }
    desktop.appendChild(frame);
    const w = frame.offsetWidth, h = frame.offsetHeight;
    const area = desktop.getBoundingClientRect();
    if (owner) {
      // Centred over the window it was opened from.
      const o = owner.frame;
      frame.style.left = `${Math.max(0, o.offsetLeft + (o.offsetWidth - w) / 2)}px`;
      frame.style.top = `${Math.max(0, o.offsetTop + (o.offsetHeight - h) / 2)}px`;
    } else {
      frame.style.left = `${Math.max(0, (area.width - w) / 2)}px`;
      frame.style.top = '16px';
    }
  }

  function open(handle, t) {
    const owner = order.length ? windows.get(topHandle()) : null;
    const win = {handle, tool: t.tool, tpl: t, controls: [], focusIndex: -1, caption: t.caption,
      menuTitle: -1, menuItem: -1};
    const px = fontPx(t.points || 9);
    const u = unitsFor(px);
    LxControls.layOutIn(u);
    win.frame = windowFrame(t.caption, t.minimizeBox, () => push({w: handle, k: 'close'}));
    win.frame.dataset.window = t.id;
    win.menubar = el('div', 'lx-menubar', win.frame);
    win.menubar.style.display = 'none';
    win.client = el('div', 'lx-client', win.frame);
    win.client.style.fontSize = `${px}px`;
    win.units = u;
    win.client.style.width = `${ux(t.cx)}px`;
    win.client.style.height = `${uy(t.cy)}px`;
    if (t.background && t.background.picture) {
      win.client.style.backgroundImage = `url(${picturePath(win, t.background.picture)})`;
      win.client.style.backgroundRepeat = 'no-repeat';
      // Stretched onto a fixed rectangle from the top-left corner, whatever the window's size.
      win.client.style.backgroundSize = `${t.background.w}px ${t.background.h}px`;
    }
    t.controls.forEach((c, index) => {
      const r = renderers[c.kind];
      const ctl = {index, win, tpl: c, kind: c.kind, state: {text: '', enabled: true, visible: true, items: [], curSel: -1, pos: 0}};
      ctl.element = r ? r.make(win, ctl) : el('div', 'lx-unknown');
      ctl.element.classList.add('lx-control');
      ctl.element.dataset.id = c.id;
      ctl.element.dataset.kind = c.kind;
      Object.assign(ctl.element.style, {left: `${ux(c.x)}px`, top: `${uy(c.y)}px`, width: `${ux(c.cx)}px`,
        height: `${c.kind === 'combo' ? uy(12) + 2 : uy(c.cy)}px`});
      win.client.appendChild(ctl.element);
      win.controls.push(ctl);
      if (c.state) {
        ctl.state = c.state;
        dirty.add(ctl);
      }
    });
    windows.set(handle, win);
    order.push(handle);
    place(win.frame, owner);
    if (owner) owner.frame.classList.add('lx-inactive');
    if (typeof LxPage.onWindowOpened === 'function') LxPage.onWindowOpened(win);
  }

  function close(handle) {
    const win = windows.get(handle);
    if (!win) return;
    windows.delete(handle);
    order.splice(order.indexOf(handle), 1);
    for (const c of win.controls) dirty.delete(c);
    if (win.frame.blocker) win.frame.blocker.remove();
    win.frame.remove();
    const top = windows.get(topHandle());
    if (top) top.frame.classList.remove('lx-inactive');
    if (typeof LxPage.onWindowClosed === 'function') LxPage.onWindowClosed(win.tpl.id);
  }

  // The model's state is taken at once; the elements follow when the program next waits, so
  // a control changed several times by one handler is drawn once.
  const dirty = new Set();
  function sync(handle, index, s) {
    const win = windows.get(handle);
    const ctl = win && win.controls[index];
    if (!ctl) return;
    ctl.state = s;
    dirty.add(ctl);
  }

  function render() {
    for (const ctl of dirty) {
      const s = ctl.state;
      const r = renderers[ctl.kind];
      if (r) r.show(ctl, s);
      ctl.element.style.display = s.visible ? '' : 'none';
      ctl.element.classList.toggle('lx-disabled', !s.enabled);
      if ('disabled' in ctl.element) ctl.element.disabled = !s.enabled;
    }
    dirty.clear();
    // The page's focus on the control the model focused, now that it shows.
    const win = windows.get(topHandle());
    const ctl = win && win.controls[win.focusIndex];
    const target = ctl && (ctl.focusTarget || ctl.element);
    if (target && !messageBox && document.activeElement !== target) target.focus({preventScroll: true});
  }

  function focus(handle, index) {
    const win = windows.get(handle);
    if (!win) return;
    const old = win.controls[win.focusIndex];
    if (old) old.element.classList.remove('lx-focus');
    win.focusIndex = index;
    const ctl = win.controls[index];
    if (!ctl) return;
    ctl.element.classList.add('lx-focus');
    dirty.add(ctl);  // the page's focus follows when the elements are drawn
  }

  function menu(handle, popups) {
    const win = windows.get(handle);
    if (!win) return;
    win.menubar.textContent = '';
    win.menubar.style.display = popups.length ? '' : 'none';
    for (const p of popups) {
      const entry = el('div', 'lx-menu-entry', win.menubar);
      setMnemonicText(entry, p.text, false);
      entry.dataset.text = p.text;
      const drop = el('div', 'lx-menu-popup', entry);
      drop.style.display = 'none';
      for (const item of p.items) {
        const row = el('div', 'lx-menu-item', drop);
        setMnemonicText(row, item.text, false);
        row.dataset.text = item.text;
        row.dataset.command = item.command;
        row.addEventListener('mouseup', (ev) => {
          ev.stopPropagation();
          closeMenus();
          push({w: handle, k: 'menu', v: item.command});
        });
      }
      entry.addEventListener('mousedown', (ev) => {
        if (ev.target !== entry && !entry.contains(ev.target)) return;
        if (ev.target.closest('.lx-menu-popup')) return;
        ev.preventDefault();
        // The mouse takes the menu bar out of its keyboard mode (Alt there leaves it).
        if (win.menuTitle >= 0) {
          push({w: handle, k: 'key', t: 'alt'});
          menuState(handle, -1, -1);  // the menu opened next is the mouse's
        }
        const wasOpen = drop.style.display !== 'none';
        closeMenus();
        if (!wasOpen) {
          drop.style.display = '';
          entry.classList.add('lx-open');
        }
      });
    }
    showMenuState(win);
  }

  // The menu bar's keyboard mode, as the model has it: the highlighted title (-1: none) and
  // the highlighted item of its open menu (-1: closed).
  function menuState(handle, title, item) {
    const win = windows.get(handle);
    if (!win) return;
    win.menuTitle = title;
    win.menuItem = item;
    showMenuState(win);
  }

  function showMenuState(win) {
    const title = win.menuTitle === undefined ? -1 : win.menuTitle;
    const item = win.menuItem === undefined ? -1 : win.menuItem;
    // Leaving the mode closes the menu it opened; a menu the mouse opens is the page's own.
    const left = win.menubar.classList.contains('lx-keyboard') && title < 0;
    win.menubar.classList.toggle('lx-keyboard', title >= 0);
    [...win.menubar.children].forEach((entry, t) => {
      const popup = entry.querySelector('.lx-menu-popup');
      const hot = t === title;
      entry.classList.toggle('lx-hot', hot);
      if (title >= 0 || left) {
        entry.classList.toggle('lx-open', hot && item >= 0);
        popup.style.display = hot && item >= 0 ? '' : 'none';
      }
      [...popup.children].forEach((row, i) => row.classList.toggle('lx-hot', hot && i === item));
    });
  }

  // What the menu bar shows in its keyboard mode: {title, item} ("" with the menu closed), or null.
  function menuShown(handle) {
    const win = windows.get(handle);
    const entry = win && win.menubar.querySelector('.lx-menu-entry.lx-hot');
    if (!entry) return null;
    const popup = entry.querySelector('.lx-menu-popup');
    const row = popup.style.display !== 'none' && popup.querySelector('.lx-menu-item.lx-hot');
    return {title: entry.dataset.text, item: row ? row.dataset.text : ''};
  }

  // Closes the menus the mouse opened; a menu the keyboard opened stays as the model has it.
  function closeMenus() {
    document.querySelectorAll('.lx-menu-popup').forEach((p) => { p.style.display = 'none'; });
    document.querySelectorAll('.lx-menu-entry').forEach((e) => e.classList.remove('lx-open'));
    for (const win of windows.values()) showMenuState(win);
  }

  // The page's keys as the scripts name them; null: the key is the browser's own here.
  function keyName(ev, ctl) {
    const text = ctl && (ctl.kind === 'edit' || ctl.kind === 'combo');
    if (ev.altKey && !ev.ctrlKey && !ev.metaKey) {
      if (ev.key === 'ArrowDown') return 'alt+down';
      if (ev.key === 'ArrowUp') return 'alt+up';
      return null;
    }
    if (ev.ctrlKey || ev.metaKey) return null;
    switch (ev.key) {
      case 'F4': return 'f4';
      case 'F10': return ev.shiftKey ? null : 'f10';
      case 'Tab': return ev.shiftKey ? 'backtab' : 'tab';
      case 'Enter': return ctl && ctl.kind === 'edit' && (ctl.tpl.style & S.multiLine) ? null : 'enter';
      case 'Escape': return 'escape';
      case 'ArrowUp': return ctl && ctl.kind === 'edit' ? null : 'up';
      case 'ArrowDown': return ctl && ctl.kind === 'edit' ? null : 'down';
      case 'PageUp': return ctl && ctl.kind === 'edit' ? null : 'pageup';
      case 'PageDown': return ctl && ctl.kind === 'edit' ? null : 'pagedown';
      case 'ArrowLeft': return text ? null : 'left';
      case 'ArrowRight': return text ? null : 'right';
      case 'Home': return text ? null : 'home';
      case 'End': return text ? null : 'end';
      case ' ': return text ? null : 'space';
      default:
        if (!text && ev.key.length === 1 && !ev.ctrlKey && !ev.altKey && !ev.metaKey) return ev.key;
        return null;
    }
  }

  document.addEventListener('keydown', (ev) => {
    if (messageBox) {
      if (['Enter', 'Escape', ' '].includes(ev.key)) {
        ev.preventDefault();
        messageBox.dismiss();
      } else if (ev.key === 'Tab') {
        ev.preventDefault();
      }
      return;
    }
    const win = windows.get(topHandle());
    if (!win) return;
    // Alt pressed and released with no key between is the menu bar's key.
    altAlone = ev.key === 'Alt' && !ev.repeat && !ev.ctrlKey && !ev.shiftKey && !ev.metaKey;
    if (ev.key === 'Alt') {
      ev.preventDefault();
      return;
    }
    // A menu the mouse opened takes the keys itself: Escape closes only the menu.
    if (win.menuTitle < 0 && document.querySelector('.lx-menu-entry.lx-open')) {
      ev.preventDefault();
      if (ev.key === 'Escape') closeMenus();
      return;
    }
    const ctl = win.controls[win.focusIndex];
    // The menu bar in its keyboard mode holds every key; so the boxes' own keys go to the model.
    const name = keyName(ev, win.menuTitle >= 0 ? null : ctl);
    if (name === null) return;
    ev.preventDefault();
    push({w: win.handle, k: 'key', t: name});
  }, true);

  let altAlone = false;
  document.addEventListener('keyup', (ev) => {
    if (ev.key !== 'Alt') return;
    const alone = altAlone;
    altAlone = false;
    ev.preventDefault();
    const win = windows.get(topHandle());
    if (alone && win && !messageBox) push({w: win.handle, k: 'key', t: 'alt'});
  }, true);
  window.addEventListener('blur', () => { altAlone = false; });

  // A focused page button would click itself on the Space key's release: the dialog model has
  // already taken the key.
  document.addEventListener('keyup', (ev) => {
    if (ev.key === ' ' && ev.target.closest && ev.target.closest('.lx-window') && ev.target.tagName === 'BUTTON')
      ev.preventDefault();
  }, true);

  // A click beside an open list only closes it: the click goes no further, as on the platform.
  let swallowClick = false;
  document.addEventListener('mousedown', (ev) => {
    swallowClick = false;
    altAlone = false;
    const win = windows.get(topHandle());
    const open = win && !messageBox && win.controls.find((c) => c.kind === 'combo' && c.state.dropped);
    if (open && !open.list.contains(ev.target) && !open.arrow.contains(ev.target)) {
      ev.preventDefault();
      ev.stopPropagation();
      swallowClick = true;
      push({w: win.handle, k: 'droplist', i: open.index, v: 0});
      return;
    }
    if (!ev.target.closest('.lx-menubar')) closeMenus();
  }, true);
  document.addEventListener('click', (ev) => {
    if (!swallowClick) return;
    swallowClick = false;
    ev.preventDefault();
    ev.stopPropagation();
  }, true);

  // A header dropped on the page opens as File > Open does.
  document.addEventListener('dragover', (ev) => ev.preventDefault());
  document.addEventListener('drop', async (ev) => {
    ev.preventDefault();
    const file = ev.dataTransfer && ev.dataTransfer.files[0];
    const win = windows.get(topHandle());
    if (!file || !win || !module) return;
    const path = `${kWorkDir}/${file.name}`;
    module.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
    push({w: win.handle, k: 'drop', t: path});
  });

  function message(owner, title, text) {
    render();
    return new Promise((resolve) => {
      const desktop = document.getElementById('lx-desktop') || document.body;
      const blocker = el('div', 'lx-blocker', desktop);
      const frame = windowFrame(title, false, () => dismiss());
      frame.classList.add('lx-message');
      const body = el('div', 'lx-message-body', frame);
      el('div', 'lx-message-text', body).textContent = text;
      const ok = el('button', 'lx-button lx-default lx-focus', el('div', 'lx-message-buttons', body));
      ok.textContent = '确定';
      ok.addEventListener('click', () => dismiss());
      const ownerWin = windows.get(owner);
      if (ownerWin) ownerWin.frame.classList.add('lx-inactive');
      place(frame, ownerWin || null);
      ok.focus();
      function dismiss() {
        messageBox = null;
        blocker.remove();
        frame.remove();
        if (ownerWin) ownerWin.frame.classList.remove('lx-inactive');
        resolve();
      }
      messageBox = {dismiss, frame};
    });
  }

  function acceptOf(filters) {
    const exts = [];
    for (const f of filters)
      for (const p of f.patterns.split(';')) {
        const m = /^\*(\.[^*?]+)$/.exec(p.trim());
        if (m) exts.push(m[1]);
        else return '';  // "*.*": anything
      }
    return exts.join(',');
  }

  function basename(path) { return path.slice(path.lastIndexOf('/') + 1); }

  async function askFile(owner, request) {
    render();
    if (!request.save) {
      const input = el('input', 'lx-file-input', document.body);
      input.type = 'file';
      input.accept = acceptOf(request.filters);
      input.style.display = 'none';
      const file = await new Promise((resolve) => {
        input.addEventListener('change', () => resolve(input.files[0] || null));
        input.addEventListener('cancel', () => resolve(null));
        input.click();
      });
      input.remove();
      if (!file) return null;
      const path = `${kWorkDir}/${file.name}`;
      module.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
      return path;
    }
    let handle = null;
    let name = request.proposedName;
    if (window.showSaveFilePicker) {
      const types = [];
      for (const f of request.filters) {
        const exts = f.patterns.split(';').map((p) => p.trim().replace(/^\*/, '')).filter((e) => /^\.[^*?]+$/.test(e));
        if (exts.length) types.push({description: f.description, accept: {'application/octet-stream': exts}});
      }
      try {
        handle = await window.showSaveFilePicker({suggestedName: request.proposedName, types});
      } catch (e) {
        return null;  // cancelled
      }
      name = handle.name;
    }
    const path = `${kWorkDir}/${basename(name)}`;
    let since = 0;
    try { since = module.FS.stat(path).mtime.getTime(); } catch (e) { /* not there yet */ }
    pendingSaves.clear();
    pendingSaves.set(path, {handle, since});
    return path;
  }

  // Files the program wrote to a name a save dialog gave go out to where the visitor chose.
  function deliverSaves() {
    for (const [path, save] of pendingSaves) {
      let stat = null;
      try { stat = module.FS.stat(path); } catch (e) { continue; }
      if (stat.mtime.getTime() <= save.since && save.since) continue;
      pendingSaves.delete(path);
      const data = module.FS.readFile(path);
      if (save.handle) {
        save.handle.createWritable().then(async (w) => {
          await w.write(data);
          await w.close();
        });
      } else {
        const a = document.createElement('a');
        a.href = URL.createObjectURL(new Blob([data], {type: 'application/octet-stream'}));
        a.download = basename(path);
        document.body.appendChild(a);
        a.click();
        a.remove();
        setTimeout(() => URL.revokeObjectURL(a.href), 10000);
      }
    }
  }

  function copy(text) {
    if (navigator.clipboard) navigator.clipboard.writeText(text).catch(() => {});
  }

  // ---- The script host's side: input on a window as a visitor gives it, and what it shows.
  function input(handle, index, kind, value, text) {
    const win = windows.get(handle);
    const ctl = win && win.controls[index];
    if (kind === 'type' && ctl) {
      const box = ctl.edit || ctl.element;
      if (!box.readOnly && ctl.state.enabled && ctl.state.visible) box.value = text;
    }
    push({w: handle, k: kind, i: index, v: value, t: text});
  }

  function snapshot(handle) {
    render();
    const win = windows.get(handle);
    if (!win) return [];
    return win.controls.map((ctl, i) => {
      const r = renderers[ctl.kind];
      const s = ctl.state;
      return {
        text: r && r.value ? r.value(ctl) : s.text,
        enabled: !ctl.element.classList.contains('lx-disabled'),
        visible: ctl.element.style.display !== 'none',
        checked: ctl.element.classList.contains('lx-checked'),
        focused: i === win.focusIndex && ctl.tpl.id !== -1,
        curSel: s.curSel, pos: s.pos, items: s.items || [],
        dropped: ctl.kind === 'combo' && ctl.list.style.display !== 'none',
      };
    });
  }

  return {
    S, open, close, sync, focus, menu, menuState, menuShown, message, askFile, deliverSaves, copy, input, snapshot,
    caption(handle) { const w = windows.get(handle); return w ? w.caption : ''; },
    recordMessage() {},
    takeEvent() {
      render();
      return queue.length ? queue.shift() : null;
    },
    waitEvent() {
      // The program has done everything the last input asked for and waits for the next.
      render();
      if (typeof LxPage.onIdle === 'function') LxPage.onIdle();
      return queue.length ? Promise.resolve(queue.shift()) : new Promise((r) => { waiter = r; });
    },
    scenarioDone(status, transcript) { scenarioResult = {status, transcript}; },
    takeScenarioResult() { const r = scenarioResult; scenarioResult = null; return r; },
    attach(m) { module = m; },
    windowsOpen() { return order.map((h) => windows.get(h).tpl.id); },
    topWindow() { return windows.get(topHandle()) || null; },
    workDir: kWorkDir,
  };
})();
