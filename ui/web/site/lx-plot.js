// The plot control's renderer for lx-host.js: paints the items the program sends (core/plot.h,
// in kHz and dB) on a canvas with the frame, colours and order the other hosts paint them in,
// and keeps their listing as the canvas's text, which is what the script host reads back.
'use strict';

const LxPlot = (() => {
  // std::lround: halves away from zero.
  const lround = (v) => Math.sign(v) * Math.round(Math.abs(v));
  const clamp = (v, lo, hi) => Math.min(hi, Math.max(lo, v));

  // The pixel frame of a width x height canvas, as plot::Frame maps it.
  function frameOf(p, width, height) {
    const m = p.frame;
    const f = {
      width, height, left: m.left, right: width - m.right, top: m.top, axisY: height - m.bottom,
      x(khz) {
        const span = p.high > p.low ? p.high - p.low : 1;
        return lround(clamp(f.left + (khz - p.low) / span * (f.right - f.left), -1e6, 1e6));
      },
      y(db) {
        const span = p.dbHigh > p.dbLow ? p.dbHigh - p.dbLow : 1;
        const v = clamp((db - p.dbLow) / span, 0, 1);
        return lround(f.axisY - v * (f.axisY - f.top));
      },
      // Products of higher order are shorter marks.
      productTop(item) {
        const tall = Math.trunc((f.axisY - f.top) / 4);
        if (item.label === 'im3') return f.axisY - tall;
        if (item.label === 'im3x') return f.axisY - Math.trunc(tall * 2 / 3);
        return f.axisY - Math.trunc(tall / 3);
      },
      labelBaseline(item) { return f.top - 3 - (item.row || 0) * m.rowHeight; },
    };
    return f;
  }

  // Pixel-exact lines: a one-pixel stroke runs along the middle of its pixels.
  function line(ctx, x0, y0, x1, y1, colour, width, dash) {
    const half = width % 2 ? 0.5 : 0;
    ctx.strokeStyle = colour;
    ctx.lineWidth = width;
    ctx.setLineDash(dash || []);
    ctx.beginPath();
    ctx.moveTo(x0 + half, y0 + half);
    ctx.lineTo(x1 + half, y1 + half);
    ctx.stroke();
    ctx.setLineDash([]);
  }

  function text(ctx, x, baseline, label, colour) {
    ctx.fillStyle = colour;
    ctx.textAlign = 'center';
    ctx.textBaseline = 'alphabetic';
    ctx.fillText(label, x, baseline);
  }

  // Draws plot `p` (null: an empty canvas) on `canvas` of width x height CSS pixels.
  function paint(canvas, p, width, height, border) {
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(width * ratio));
    canvas.height = Math.max(1, Math.round(height * ratio));
    const ctx = canvas.getContext('2d');
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    ctx.fillStyle = p ? p.colours.background : '#FFFFFF';
    ctx.fillRect(0, 0, width, height);
    if (p) {
      const c = p.colours;
      const f = frameOf(p, width, height);
      ctx.font = '10px LxFont, sans-serif';
      const trace = [];
      for (const i of p.items) {
        switch (i.k) {
          case 'range': {
            const x0 = Math.max(f.left, f.x(i.x)), x1 = Math.min(f.right, f.x(i.x2));
            if (x1 >= x0) {
              ctx.fillStyle = c.range;
              ctx.fillRect(x0, f.top, Math.max(1, x1 - x0), f.axisY - f.top);
            }
            break;
          }
          case 'trace':
            trace.push([f.x(i.x), f.y(i.y)]);
            break;
          case 'threshold':
            line(ctx, f.left, f.y(i.y), f.right, f.y(i.y), c.threshold, 1, [4, 3]);
            break;
          case 'tick':
            line(ctx, f.x(i.x), f.axisY, f.x(i.x), f.axisY + 4, c.axis, 1);
            text(ctx, f.x(i.x), height - 4, i.label, c.axis);
            break;
          case 'product':
            line(ctx, f.x(i.x), f.axisY, f.x(i.x), f.productTop(i), i.red ? c.conflict : c.product, 1);
            break;
          case 'channel': {
            const colour = i.red ? c.conflict : c.channel;
            line(ctx, f.x(i.x), f.axisY, f.x(i.x), f.top, colour, 2);
            text(ctx, f.x(i.x), f.labelBaseline(i), i.label, colour);
            break;
          }
          default:
            break;  // a kind this page does not know is left out, not guessed at
        }
      }
      if (trace.length) {
        ctx.strokeStyle = c.trace;
        ctx.lineWidth = 1;
        ctx.beginPath();
        trace.forEach(([x, y], n) => (n ? ctx.lineTo(x + 0.5, y + 0.5) : ctx.moveTo(x + 0.5, y + 0.5)));
        ctx.stroke();
      }
      line(ctx, f.left, f.axisY, f.right, f.axisY, c.axis, 1);
    }
    if (border) {
      ctx.strokeStyle = '#A0A0A0';
      ctx.lineWidth = 1;
      ctx.strokeRect(0.5, 0.5, width - 1, height - 1);
    }
  }

  const kBorder = 1 << 8;  // ui/template.h

  return {
    make() {
      const canvas = document.createElement('canvas');
      canvas.className = 'lx-plot';
      canvas.setAttribute('role', 'img');
      return canvas;
    },
    show(ctl, s) {
      const p = s.plot || null;
      // Painted again only when the items or the size change: the state of its other
      // properties (enabled, visible) does not alter the picture.
      const width = parseInt(ctl.element.style.width, 10) || ctl.element.clientWidth;
      const height = parseInt(ctl.element.style.height, 10) || ctl.element.clientHeight;
      const key = JSON.stringify([p, width, height, window.devicePixelRatio || 1]);
      if (ctl.plotKey === key) return;
      ctl.plotKey = key;
      paint(ctl.element, p, width, height, ctl.tpl.style & kBorder);
      const listing = p ? p.listing : '';
      ctl.element.textContent = listing;  // the canvas's fallback content
      ctl.element.setAttribute('aria-label', listing);
    },
    value(ctl) { return ctl.element.textContent; },
    frameOf,
    paint,
  };
})();
