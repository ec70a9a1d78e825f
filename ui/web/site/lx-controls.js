// The page's drawing of controls for the browser host: dialog units to pixels, and one
// renderer per control kind that builds a control's elements and brings them to the dialog
// model's state. lx-host.js places the windows and takes the input.
'use strict';

const LxControls = (() => {
  const unitsByPx = new Map();
  let push = () => {};  // the page's input queue, given by attach()

  // Style bits of ui/template.h.
  const S = {group: 1 << 0, tabStop: 1 << 1, hidden: 1 << 2, disabled: 1 << 3, readOnly: 1 << 4,
    default: 1 << 5, ownerDraw: 1 << 6, multiLine: 1 << 7, border: 1 << 8, centreV: 1 << 11,
    noPrefix: 1 << 12, vertical: 1 << 13, ticksTop: 1 << 14, ticksBoth: 1 << 15, noTicks: 1 << 16,
    fixedPitch: 1 << 17};

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

  return {
    S, fontPx, unitsFor, ux, uy, el, setMnemonicText, picturePath, colourOf, renderers, showList,
    // The units of the window being laid out from now on.
    layOutIn(u) { current = () => u; },
    attach(pushInput) { push = pushInput; },
  };
})();
