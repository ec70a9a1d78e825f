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
  const unitsByPx = new Map();
  let module = null;
  let messageBox = null;      // the open message box: {resolve, element}
  const pendingSaves = new Map();  // page file -> {handle|null, since}
  let scenarioResult = null;

  // Style bits of ui/template.h.
  const S = {group: 1 << 0, tabStop: 1 << 1, hidden: 1 << 2, disabled: 1 << 3, readOnly: 1 << 4,
    default: 1 << 5, ownerDraw: 1 << 6, multiLine: 1 << 7, border: 1 << 8, centreV: 1 << 11,
    noPrefix: 1 << 12, vertical: 1 << 13, ticksTop: 1 << 14, ticksBoth: 1 << 15, noTicks: 1 << 16,
    fixedPitch: 1 << 17};

  function push(event) {
    if (waiter) {
      const w = waiter;
      waiter = null;
      w(event);
    } else {
      queue.push(event);
    }
  }

  function topHandle() { return order.length ? order[order.length - 1] : 0; }

  // Dialog units to pixels with the template font, as the platform converts them: x by a
  // quarter of the average Latin letter width, y by an eighth of the character height.
  // Points at 96 dots per inch, as the platform sizes dialog fonts: 9 pt is 12 px.
  const fontPx = (points) => Math.floor((points * 96 + 36) / 72);
  function unitsFor(px) {
    if (unitsByPx.has(px)) return unitsByPx.get(px);
    const ctx = document.createElement('canvas').getContext('2d');
    ctx.font = `${px}px LxFont`;
    const m = ctx.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    const height = Math.round((m.fontBoundingBoxAscent || px * 0.8) + (m.fontBoundingBoxDescent || px * 0.2));
    const u = {bx: (Math.floor(m.width / 26) + 1) >> 1, by: Math.max(px, height)};
    unitsByPx.set(px, u);
    return u;
  }
  let current = unitsFor.bind(null, 12);  // the units of the window being laid out
  const ux = (du) => Math.floor((du * current().bx + 2) / 4);
  const uy = (du) => Math.floor((du * current().by + 4) / 8);

  function el(tag, cls, parent) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (parent) parent.appendChild(e);
    return e;
  }

  // "&File" shows F underlined; "&&" is one ampersand.
  function setMnemonicText(element, text, noPrefix) {
    element.textContent = '';
    if (noPrefix) {
      element.textContent = text;
      return;
    }
    let plain = '';
    for (let i = 0; i < text.length; ++i) {
      if (text[i] === '&' && i + 1 < text.length) {
        ++i;
        if (text[i] !== '&') {
          element.appendChild(document.createTextNode(plain));
          plain = '';
          el('u', '', element).textContent = text[i];
          continue;
        }
      }
      plain += text[i];
    }
    element.appendChild(document.createTextNode(plain));
  }

  function picturePath(win, id) { return id ? `pictures/${win.tool}/${id}.png` : ''; }

  function setPicture(img, win, id) {
    const src = picturePath(win, id);
    if (!src) {
      img.removeAttribute('src');
      img.style.visibility = 'hidden';
      return;
    }
    img.style.visibility = '';
    if (img.getAttribute('src') !== src) img.setAttribute('src', src);
  }

  function colourOf(c) { return `rgb(${c[0]},${c[1]},${c[2]})`; }

  // One renderer per control kind (the names of ui/script.cpp's KindName): `make` builds the
  // elements, `show` brings them to the model's state. A new kind is one entry here.
  const renderers = {
    button: {
      make(win, ctl) {
        const b = el('button', 'lx-button');
        if (ctl.tpl.style & S.default) b.classList.add('lx-default');
        b.tabIndex = -1;
        b.addEventListener('click', () => push({w: win.handle, k: 'click', i: ctl.index}));
        return b;
      },
      show(ctl, s) { setMnemonicText(ctl.element, s.text, false); },
    },
    picture: {
      make(win, ctl) {
        const b = el('button', 'lx-picture');
        b.tabIndex = -1;
        ctl.img = el('img', '', b);
        ctl.img.draggable = false;
        const face = (pressed) => setPicture(ctl.img, win, pressed ? ctl.state.pressed : ctl.state.normal);
        b.addEventListener('mousedown', () => ctl.state.enabled && face(true));
        b.addEventListener('mouseup', () => face(false));
        b.addEventListener('mouseleave', () => face(false));
        b.addEventListener('click', () => push({w: win.handle, k: 'click', i: ctl.index}));
        return b;
      },
      show(ctl, s) {
        setPicture(ctl.img, ctl.win, s.normal);
        if (s.face) Object.assign(ctl.element.style, {width: `${s.face[0]}px`, height: `${s.face[1]}px`});
      },
    },
    radio: {
      make(win, ctl) { return checkLike(win, ctl, 'lx-radio'); },
      show(ctl, s) { showCheckLike(ctl, s); },
    },
    check: {
      make(win, ctl) { return checkLike(win, ctl, 'lx-check'); },
      show(ctl, s) { showCheckLike(ctl, s); },
    },
    edit: {
      make(win, ctl) {
        const multi = ctl.tpl.style & S.multiLine;
        const e = el(multi ? 'textarea' : 'input', 'lx-edit');
        if (!multi) e.type = 'text';
        e.spellcheck = false;
        e.autocomplete = 'off';
        e.tabIndex = -1;
        if (ctl.tpl.style & S.readOnly) e.readOnly = true;
        if (ctl.tpl.style & S.fixedPitch) e.classList.add('lx-fixed');
        e.addEventListener('mousedown', () => push({w: win.handle, k: 'focus', i: ctl.index, v: 0}));
        e.addEventListener('input', () => push({w: win.handle, k: 'edited', i: ctl.index, t: e.value}));
        return e;
      },
      show(ctl, s) {
        if (ctl.element.value !== s.text) ctl.element.value = s.text;
        showSelection(ctl, ctl.element, s);
      },
      value(ctl) { return ctl.element.value; },
    },
    combo: {
      make(win, ctl) {
        const box = el('div', 'lx-combo');
        ctl.edit = el('input', 'lx-combo-edit', box);
        ctl.edit.type = 'text';
        ctl.edit.spellcheck = false;
        ctl.edit.autocomplete = 'off';
        ctl.edit.tabIndex = -1;
        const drop = el('button', 'lx-combo-drop', box);
        drop.tabIndex = -1;
        ctl.list = el('div', 'lx-combo-list', box);
        ctl.list.style.display = 'none';
        ctl.edit.addEventListener('mousedown', () => push({w: win.handle, k: 'focus', i: ctl.index, v: 0}));
        ctl.edit.addEventListener('input', () => {
          ctl.state.curSel = -1;
          push({w: win.handle, k: 'edited', i: ctl.index, t: ctl.edit.value});
        });
        ctl.arrow = drop;
        // The arrow opens or closes the list through the model, which also moves the focus.
        drop.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          if (!ctl.state.enabled) return;
          push({w: win.handle, k: 'droplist', i: ctl.index, v: ctl.state.dropped ? 0 : 1});
        });
        ctl.list.addEventListener('mousedown', (ev) => {
          ev.preventDefault();
          const item = ev.target.closest('.lx-combo-item');
          if (!item) return;
          // The list closes, then takes the item clicked.
          push({w: win.handle, k: 'droplist', i: ctl.index, v: 0});
          push({w: win.handle, k: 'select', i: ctl.index, v: Number(item.dataset.index)});
        });
        ctl.focusTarget = ctl.edit;
        return box;
      },
      show(ctl, s) {
        if (ctl.edit.value !== s.text) ctl.edit.value = s.text;
        ctl.edit.disabled = !s.enabled;
        showSelection(ctl, ctl.edit, s);
        const rows = ctl.list.children;
        if (rows.length !== s.items.length || [...rows].some((r, i) => r.textContent !== s.items[i])) {
          ctl.list.textContent = '';
          s.items.forEach((text, i) => {
            const row = el('div', 'lx-combo-item', ctl.list);
            row.textContent = text;
            row.dataset.index = i;
          });
        }
        [...ctl.list.children].forEach((r, i) => r.classList.toggle('lx-chosen', i === s.curSel));
        showList(ctl, !!s.dropped && s.visible);
      },
      value(ctl) { return ctl.edit.value; },
    },
    slider: {
      make(win, ctl) {
        const box = el('div', 'lx-slider');
        if (ctl.tpl.style & S.vertical) box.classList.add('lx-vertical');
        ctl.ticks = el('div', 'lx-ticks', box);
        el('div', 'lx-track', box);
        ctl.thumb = el('div', 'lx-thumb', box);
        box.tabIndex = -1;
        const posAt = (ev) => {
          const r = box.getBoundingClientRect();
          const vertical = ctl.tpl.style & S.vertical;
          const along = vertical ? (ev.clientY - r.top - 5) / Math.max(1, r.height - 10)
                                 : (ev.clientX - r.left - 5) / Math.max(1, r.width - 10);
          const s = ctl.state;
          return Math.round(s.min + Math.min(1, Math.max(0, along)) * (s.max - s.min));
        };
        box.addEventListener('mousedown', (ev) => {
          if (!ctl.state.enabled) return;
          ev.preventDefault();
          push({w: win.handle, k: 'focus', i: ctl.index, v: 0});
          push({w: win.handle, k: 'slide', i: ctl.index, v: posAt(ev)});
          const move = (m) => push({w: win.handle, k: 'slide', i: ctl.index, v: posAt(m)});
          const up = () => {
            document.removeEventListener('mousemove', move);
            document.removeEventListener('mouseup', up);
            push({w: win.handle, k: 'release', i: ctl.index});
          };
          document.addEventListener('mousemove', move);
          document.addEventListener('mouseup', up);
        });
        return box;
      },
      show(ctl, s) {
        const span = Math.max(1, s.max - s.min);
        const at = (Math.min(s.max, Math.max(s.min, s.pos)) - s.min) / span;
        const vertical = ctl.tpl.style & S.vertical;
        ctl.thumb.style[vertical ? 'top' : 'left'] = `calc(${at * 100}% - ${at * 10}px)`;
        // A tick at every position while they fit, else at each page.
        const key = `${s.min}/${s.max}/${s.page}`;
        if (ctl.tickKey !== key && !(ctl.tpl.style & S.noTicks)) {
          ctl.tickKey = key;
          ctl.ticks.textContent = '';
          const step = span <= 50 ? 1 : Math.max(1, s.page);
          for (let p = 0; p <= span; p += step) {
            const t = el('div', 'lx-tick', ctl.ticks);
            t.style[vertical ? 'top' : 'left'] = `calc(${(p / span) * 100}% - ${(p / span) * 10}px + 5px)`;
          }
        }
      },
    },
    group: {
      make(win, ctl) {
        const f = el('fieldset', 'lx-group');
        ctl.legend = el('legend', '', f);
        return f;
      },
      show(ctl, s) {
        setMnemonicText(ctl.legend, s.text, false);
        ctl.legend.style.display = s.text ? '' : 'none';
      },
    },
    label: {
      make(win, ctl) {
        const d = el('div', 'lx-label');
        if (ctl.tpl.style & S.centreV) d.classList.add('lx-centre-v');
        if (ctl.tpl.style & S.border) d.classList.add('lx-sunken');
        return d;
      },
      show(ctl, s) { setMnemonicText(ctl.element, s.text, ctl.tpl.style & S.noPrefix); },
    },
    icon: {
      make(win, ctl) {
        const img = el('img', 'lx-icon');
        img.draggable = false;
        setPicture(img, win, ctl.tpl.picture);
        return img;
      },
      show() {},
    },
    plot: LxPlot,  // lx-plot.js
  };

  // The focused box shows the model's selection (the keyboard's moves select the whole text).
  function showSelection(ctl, box, s) {
    if (ctl.win.focusIndex !== ctl.index || document.activeElement !== box) return;
    const chars = (bytes) => new TextDecoder().decode(new TextEncoder().encode(s.text).slice(0, bytes)).length;
    try {
      box.setSelectionRange(chars(Math.min(s.selStart, s.selEnd)), chars(Math.max(s.selStart, s.selEnd)));
    } catch (e) {
      // Not every box has a selection.
    }
  }

  function checkLike(win, ctl, cls) {
    const b = el('div', `lx-checklike ${cls}`);
    el('span', 'lx-mark', b);
    ctl.label = el('span', 'lx-text', b);
    b.addEventListener('click', () => push({w: win.handle, k: 'click', i: ctl.index}));
    return b;
  }
  function showCheckLike(ctl, s) {
    setMnemonicText(ctl.label, s.text, false);
    ctl.element.classList.toggle('lx-checked', !!s.checked);
    if (s.colour) {
      ctl.element.style.color = colourOf(s.colour);
      ctl.element.classList.toggle('lx-transparent', !!s.colour[3]);
    }
  }

  // The list open or closed as the model has it; an open one shows the item the field shows.
  function showList(ctl, open) {
    ctl.list.style.display = open ? '' : 'none';
    ctl.element.classList.toggle('lx-dropped', open);
    if (open) {
      current = () => ctl.win.units;
      ctl.list.style.maxHeight = `${Math.max(uy(12), uy(ctl.tpl.cy) - uy(12))}px`;
      const chosen = ctl.list.querySelector('.lx-chosen');
      if (chosen) chosen.scrollIntoView({block: 'nearest'});
    }
  }

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
    current = () => u;
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
