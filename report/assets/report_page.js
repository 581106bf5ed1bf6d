(function () {
  var data = JSON.parse(document.getElementById('plot-data').textContent);
  var NS = 'http://www.w3.org/2000/svg';
  var W = 1100, L = 64, R = 1080, TOP = 16, BOTTOM = 300, GC_TOP = 330, GC_BOTTOM = 400, H = 450;
  var view = [0, data.length], selected = -1;
  var gcLow = Math.floor(Math.min.apply(null, data.gc.concat([data.gcMean])) / 10) * 10;
  var gcHigh = Math.max(gcLow + 10, Math.ceil(Math.max.apply(null, data.gc.concat([data.gcMean])) / 10) * 10);
  var plot = document.getElementById('plot');
  var rangeText = document.getElementById('range');
  var rows = document.querySelectorAll('#islands tbody tr');

  function el(name, attrs, parent) {
    var e = document.createElementNS(NS, name);
    for (var k in attrs) e.setAttribute(k, attrs[k]);
    if (parent) parent.appendChild(e);
    return e;
  }
  function text(s, attrs, parent) { var t = el('text', attrs, parent); t.textContent = s; return t; }
  function x(pos) { return L + (pos - view[0]) / (view[1] - view[0]) * (R - L); }
  function y(score) { return BOTTOM - (score - data.yMin) / (data.yMax - data.yMin) * (BOTTOM - TOP); }
  function gcY(v) { return GC_BOTTOM - (v - gcLow) / (gcHigh - gcLow) * (GC_BOTTOM - GC_TOP); }
  function unitOf(span) { return span < 1e4 ? [1, 'bp'] : span < 2e6 ? [1e3, 'kbp'] : [1e6, 'Mbp']; }
  function niceStep(span) {
    var m = Math.pow(10, Math.floor(Math.log10(span))), steps = [0.1, 0.2, 0.5, 1, 2, 5];
    for (var i = 0; i < steps.length; i++) if (span / (steps[i] * m) <= 10) return steps[i] * m;
    return 10 * m;
  }
  function label(v) { return String(Math.round(v * 1000) / 1000); }

  function render() {
    var svg = el('svg', {viewBox: '0 0 ' + W + ' ' + H, 'font-family': 'sans-serif', 'font-size': 11});
    var clip = el('clipPath', {id: 'plot-area'}, el('defs', {}, svg));
    el('rect', {x: L, y: TOP - 4, width: R - L, height: GC_BOTTOM - TOP + 4}, clip);
    var inner = el('g', {'clip-path': 'url(#plot-area)'}, svg);
    data.islands.forEach(function (isl, i) {
      if (isl[1] < view[0] || isl[0] > view[1]) return;
      var x0 = x(isl[0]), w = Math.max(2, x(isl[1]) - x0);
      [[TOP, BOTTOM], [GC_TOP, GC_BOTTOM]].forEach(function (b) {
        var r = el('rect', {x: x0, y: b[0], width: w, height: b[1] - b[0],
                            'class': 'band' + (i === selected ? ' selected' : '')}, inner);
        r.dataset.island = i;
      });
    });
    data.records.forEach(function (rec) {
      if (rec[1] <= view[0] || rec[1] >= view[1] || rec[1] === rec[2]) return;
      el('path', {d: 'M' + x(rec[1]) + ' ' + TOP + 'V' + GC_BOTTOM, stroke: '#555',
                  'stroke-dasharray': '3 3'}, inner);
      text(rec[0], {x: x(rec[1]) + 3, y: TOP + 10, fill: '#555'}, inner);
    });
    var context = [];
    for (var c = 0; c < data.context.length; c += 2) {
      var q = data.context[c];
      if (q >= view[0] && q <= view[1])
        context.push('M' + x(q).toFixed(1) + ' ' + y(data.context[c + 1] / 1000).toFixed(1) + 'h0');
    }
    if (context.length) el('path', {d: context.join(''), stroke: '#bbb', 'stroke-width': 3,
                                    'stroke-linecap': 'round'}, inner);
    var paths = data.sizes.map(function () { return []; });
    for (var i = 0; i < data.points.length; i += 3) {
      var p = data.points[i];
      if (p < view[0] || p > view[1]) continue;
      paths[data.points[i + 2]].push('M' + x(p).toFixed(1) + ' ' + y(data.points[i + 1] / 1000).toFixed(1) + 'h0');
    }
    paths.forEach(function (d, s) {
      if (d.length) el('path', {d: d.join(''), stroke: data.sizes[s][1], 'stroke-width': 3,
                                'stroke-linecap': 'round', 'stroke-opacity': 0.8}, inner);
    });
    data.cutoffs.forEach(function (c) {
      el('path', {d: 'M' + L + ' ' + y(c[0]) + 'H' + R, stroke: c[2], 'stroke-dasharray': '6 4'}, svg);
      text(c[1], {x: R - 4, y: y(c[0]) - 4, 'text-anchor': 'end', fill: c[2]}, svg);
    });
    var gx = [[], [], []];
    for (var k = 0; k < data.genes.length; k += 3) {
      if (data.genes[k + 1] < view[0] || data.genes[k] > view[1]) continue;
      var g0 = x(data.genes[k]);
      gx[data.genes[k + 2]].push('M' + g0.toFixed(1) + ' ' + (BOTTOM + 14) + 'h' + Math.max(1, x(data.genes[k + 1]) - g0).toFixed(1));
    }
    ['#999', '#d62728', '#2ca02c'].forEach(function (colour, kind) {
      if (gx[kind].length) el('path', {d: gx[kind].join(''), stroke: colour, 'stroke-width': kind ? 8 : 5}, inner);
    });
    var gc = [];
    for (var g = 0; g < data.gc.length; g++) {
      var centre = (g + 0.5) * data.gcStep;
      if (centre >= view[0] - data.gcStep && centre <= view[1] + data.gcStep)
        gc.push((gc.length ? 'L' : 'M') + x(centre).toFixed(1) + ' ' + gcY(data.gc[g]).toFixed(1));
    }
    el('path', {d: gc.join(''), fill: 'none', stroke: '#333'}, inner);
    el('path', {d: 'M' + L + ' ' + gcY(data.gcMean) + 'H' + R, stroke: '#06c', 'stroke-dasharray': '4 3'}, svg);
    text('genome mean ' + data.gcMean + ' %', {x: R - 4, y: GC_TOP - 4, 'text-anchor': 'end', fill: '#06c'}, svg);
    el('path', {d: 'M' + L + ' ' + TOP + 'V' + BOTTOM + 'H' + R + 'M' + L + ' ' + GC_TOP + 'V' + GC_BOTTOM + 'H' + R,
                stroke: '#444', fill: 'none'}, svg);
    var span = view[1] - view[0], unit = unitOf(span), step = niceStep(span / unit[0]) * unit[0];
    for (var t = Math.ceil(view[0] / step) * step; t <= view[1]; t += step) {
      el('path', {d: 'M' + x(t) + ' ' + GC_BOTTOM + 'v5', stroke: '#444'}, svg);
      text(label(t / unit[0]), {x: x(t), y: GC_BOTTOM + 18, 'text-anchor': 'middle'}, svg);
    }
    text('position in the scanned genome (' + unit[1] + ')', {x: (L + R) / 2, y: GC_BOTTOM + 40, 'text-anchor': 'middle'}, svg);
    var ys = niceStep(data.yMax - data.yMin);
    for (var k = Math.ceil(data.yMin / ys - 1e-9), v = k * ys; v <= data.yMax + 1e-9; v = ++k * ys) {
      el('path', {d: 'M' + (L - 5) + ' ' + y(v) + 'h5', stroke: '#444'}, svg);
      text(label(v), {x: L - 8, y: y(v) + 4, 'text-anchor': 'end'}, svg);
    }
    for (var c = gcLow; c <= gcHigh; c += 10)
      text(String(c), {x: L - 8, y: gcY(c) + 4, 'text-anchor': 'end'}, svg);
    text(data.yLabel, {transform: 'translate(16 ' + (TOP + BOTTOM) / 2 + ') rotate(-90)', 'text-anchor': 'middle'}, svg);
    text('GC %', {transform: 'translate(16 ' + (GC_TOP + GC_BOTTOM) / 2 + ') rotate(-90)', 'text-anchor': 'middle'}, svg);
    plot.replaceChildren(svg);
    var u = unitOf(data.length);
    rangeText.textContent = label(view[0] / unit[0]) + '–' + label(view[1] / unit[0]) + ' ' + unit[1] +
        ' of ' + label(data.length / u[0]) + ' ' + u[1];
    plot.dataset.view = Math.round(view[0]) + '-' + Math.round(view[1]);
  }

  function setView(from, to) {
    var span = Math.min(data.length, Math.max(Math.min(1000, data.length), to - from));
    from = Math.max(0, Math.min(from, data.length - span));
    view = [from, from + span];
    render();
  }
  function zoom(factor, centre) {
    if (centre === undefined) centre = (view[0] + view[1]) / 2;
    var span = (view[1] - view[0]) * factor;
    setView(centre - (centre - view[0]) * factor, centre - (centre - view[0]) * factor + span);
  }
  function positionAt(clientX) {
    var box = plot.getBoundingClientRect();
    var px = (clientX - box.left) / box.width * W;
    return view[0] + (px - L) / (R - L) * (view[1] - view[0]);
  }
  function select(island) {
    selected = island;
    var first = null;
    rows.forEach(function (row) {
      var on = Number(row.dataset.island) === island;
      row.classList.toggle('selected', on);
      if (on && !first) first = row;
    });
    if (first) first.scrollIntoView({block: 'nearest'});
    render();
  }

  document.getElementById('controls').hidden = false;
  document.getElementById('zoom-in').addEventListener('click', function () { zoom(0.5); });
  document.getElementById('zoom-out').addEventListener('click', function () { zoom(2); });
  document.getElementById('zoom-reset').addEventListener('click', function () { setView(0, data.length); });
  plot.addEventListener('wheel', function (e) {
    e.preventDefault();
    zoom(e.deltaY > 0 ? 1.25 : 0.8, positionAt(e.clientX));
  }, {passive: false});
  var drag = null;
  plot.addEventListener('mousedown', function (e) {
    drag = {x: e.clientX, view: view.slice(), moved: false};
  });
  window.addEventListener('mousemove', function (e) {
    if (!drag) return;
    var dx = e.clientX - drag.x;
    if (Math.abs(dx) > 3) drag.moved = true;
    if (!drag.moved) return;
    var box = plot.getBoundingClientRect();
    var shift = -dx / box.width * W / (R - L) * (drag.view[1] - drag.view[0]);
    setView(drag.view[0] + shift, drag.view[1] + shift);
  });
  window.addEventListener('mouseup', function (e) {
    if (drag && !drag.moved && e.target.dataset && e.target.dataset.island !== undefined)
      select(Number(e.target.dataset.island));
    drag = null;
  });
  rows.forEach(function (row) {
    row.addEventListener('click', function (e) {
      if (e.target.classList.contains('copy')) return;
      var island = Number(row.dataset.island);
      select(island);
      var isl = data.islands[island], margin = (isl[1] - isl[0]) * 2 + 5000;
      if (isl[0] < view[0] || isl[1] > view[1]) setView(isl[0] - margin, isl[1] + margin);
    });
  });
  var status = document.getElementById('status');
  document.querySelectorAll('button.copy').forEach(function (button) {
    button.hidden = false;
    button.addEventListener('click', function () {
      var coords = button.closest('tr').dataset.coords;
      function fallback() {
        var area = document.createElement('textarea');
        area.value = coords;
        document.body.appendChild(area);
        area.select();
        try { document.execCommand('copy'); } catch (err) { /* the status still shows them */ }
        area.remove();
      }
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(coords).catch(fallback);
      else fallback();
      status.textContent = 'Copied ' + coords;
    });
  });
  sortableTables();
  render();
})();
