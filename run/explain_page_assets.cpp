#include "run/explain_page_assets.h"

namespace fv {

const char* const ExplanationPageStyle = R"css(
body { font: 14px/1.4 system-ui, sans-serif; margin: 1.5em auto; max-width: 1180px; color: #222;
       padding: 0 1em; }
h1 { font-size: 1.5em; margin: 0 0 .3em; }
h2 { font-size: 1.2em; margin: 1.4em 0 .4em; border-bottom: 1px solid #ccc; }
code { font-size: .95em; }
table { border-collapse: collapse; }
th, td { padding: 2px 8px; text-align: right; border-bottom: 1px solid #eee; }
#summary td:last-child, #summary th:last-child { text-align: left; max-width: 42em; }
#summary th:first-child { text-align: left; }
#notes { background: #fff6d6; border: 1px solid #e2c65a; padding: .5em 1em .5em 2em; }
.boards { display: flex; flex-wrap: wrap; gap: 1.5em; align-items: flex-start; }
figure { margin: 0; }
figcaption { max-width: 520px; }
svg text { font-family: system-ui, sans-serif; }
svg .piece { cursor: pointer; }
svg .chosen rect { stroke: #111; stroke-width: 3; }
.hint { color: #555; max-width: 60em; }
#terms-box { max-height: 32em; overflow-y: auto; border: 1px solid #ddd; width: fit-content; }
#terms thead th { position: sticky; top: 0; background: #f4f4f4; cursor: pointer; }
#terms tbody tr:hover { background: #fff2b0; }
#terms td.label { text-align: left; font-family: monospace; }
.pos { color: #1f4fb0; } .neg { color: #b02a1f; }
#filter { margin: .3em 0; padding: 3px 6px; width: 16em; }
#script-error { color: #b02a1f; font-weight: bold; }
@media print {
  body { max-width: none; font-size: 11px; }
  #filter, #term-count, .screen { display: none; }
  #terms-box { max-height: none; overflow: visible; border: 0; }
  #terms tr.unranked { display: none; }
  section { break-inside: avoid-page; }
}
)css";

const char* const ExplanationPageBody = R"html(
<p id="script-error"></p>
<section id="pieces-section">
<h2>Which pieces carry the evaluation</h2>
<p class="hint">Each piece shows its share of the total in evaluation units: its material, its KKP
weights and half of every KPP term it takes part in. Blue favours Sente, red Gote; the stronger
the colour, the larger the share (kings show their material only and stay plain). The hands
(Gote's on the left, Sente's on the right) list every kind, a count of 0 included, since the
weights have terms for it. <span class="screen">Click a piece for the total without it and for
its heat map.</span></p>
<div class="boards">
<figure><svg id="board" role="img" aria-label="the leaf position"></svg></figure>
<figure><svg id="heatmap" role="img" aria-label="heat map of the chosen piece"></svg>
<figcaption id="heat-caption">Click a piece to see where it would rather stand.</figcaption>
</figure>
</div>
<p id="without"></p>
</section>
<section id="terms-section">
<h2>Every KPP term</h2>
<p class="hint">Each term is one weight: a king (whose view it is) and two pieces or hand counts,
in weight units, Sente positive. Rank is the place in the transcript's ranking and the number of
its picture <code>log/rankNNN.png</code>. <span class="screen">Click a heading to sort, type a
piece or square (FU, 77, +77FU, -HI*) to filter, point at a row to see its triangle on the
board.</span></p>
<input id="filter" type="search" placeholder="filter: piece or square">
<span id="term-count"></span>
<div id="terms-box"><table id="terms"><thead><tr><th data-key="rank">rank</th>
<th data-key="king">king</th><th data-key="a">piece a</th><th data-key="b">piece b</th>
<th data-key="value">value (w)</th><th data-key="value">value (eval)</th></tr></thead>
<tbody></tbody></table></div>
</section>
<section id="line-section">
<h2>The line</h2>
<p class="hint">The total and its three parts in evaluation units, in the searched position
(ply 0) and after each move of the PV; below, the ten terms that changed most between the
searched position and the leaf.</p>
<svg id="chart" role="img" aria-label="the evaluation along the PV"></svg>
<table id="changes"></table>
</section>
)html";

const char* const ExplanationPageScript = R"js(
"use strict";
window.addEventListener("error", (e) => {
  document.getElementById("script-error").textContent = "Script error: " + e.message;
});
const data = JSON.parse(document.getElementById("explain-data").textContent);
const SVG = "http://www.w3.org/2000/svg";
// A piece's name on a board: its CSA name after Sente's ▲ or Gote's △.
const shortName = (piece) => (piece[0] === "+" ? "▲" : "△") + piece.slice(1, 3);
const HAND = ["FU", "KY", "KE", "GI", "KI", "KA", "HI"];
const CELL = 40, X0 = 70, Y0 = 28, SLOT = 48;

function svg(tag, attrs, parent, text) {
  const e = document.createElementNS(SVG, tag);
  for (const k in attrs) e.setAttribute(k, attrs[k]);
  if (text !== undefined) e.textContent = text;
  if (parent) parent.appendChild(e);
  return e;
}
function html(tag, parent, text, cls) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  if (cls) e.className = cls;
  if (parent) parent.appendChild(e);
  return e;
}
const signed = (v, d) => (v > 0 ? "+" : "") + v.toFixed(d);
const sideClass = (v) => (v > 0 ? "pos" : v < 0 ? "neg" : "");
// Top-left corner of a square "77" on a board drawn from x0.
const squareCorner = (sq, x0) => [x0 + (9 - +sq[0]) * CELL, Y0 + (+sq[1] - 1) * CELL];
// Top-left corner of a hand slot "+FU*": Sente's right of the board bottom up,
// Gote's left of it top down.
function slotCorner(label) {
  const k = HAND.indexOf(label.slice(1, 3));
  return label[0] === "+" ? [X0 + 9 * CELL + 24, Y0 + 9 * CELL - (k + 1) * SLOT + 4]
                          : [6, Y0 + k * SLOT + 4];
}
// Centre of a term label: "+77FU" a square, "+FU*" a hand slot.
function labelCentre(label) {
  if (label.endsWith("*")) { const [x, y] = slotCorner(label); return [x + 28, y + 20]; }
  const [x, y] = squareCorner(label.slice(1, 3), X0);
  return [x + CELL / 2, y + CELL / 2];
}
function shade(v, max) {
  if (!max || !v) return "#f7f3e8";
  const t = Math.pow(Math.min(1, Math.abs(v) / max), 0.6);
  const to = v > 0 ? [60, 110, 220] : [215, 60, 45], from = [247, 243, 232];
  return "rgb(" + from.map((c, i) => Math.round(c + (to[i] - c) * t)).join(",") + ")";
}
function frame(board, x0, withNumbers) {
  for (let i = 0; i <= 9; ++i) {
    const at = Y0 + i * CELL, across = x0 + i * CELL;
    svg("line", {x1: x0, y1: at, x2: x0 + 9 * CELL, y2: at, stroke: "#555"}, board);
    svg("line", {x1: across, y1: Y0, x2: across, y2: Y0 + 9 * CELL, stroke: "#555"}, board);
  }
  if (!withNumbers) return;
  for (let i = 0; i < 9; ++i) {
    svg("text", {x: x0 + i * CELL + CELL / 2, y: Y0 - 8, "text-anchor": "middle", "font-size": 12},
        board, 9 - i);
    svg("text", {x: x0 + 9 * CELL + 6, y: Y0 + i * CELL + 25, "font-size": 12}, board, i + 1);
  }
}

// Pieces by key: the square ("77") or the hand slot label ("+FU*").
const pieceKey = (p) => (p.square === "hand" ? p.piece : p.square);
const pieceLabel = (p) =>
  (p.square === "hand" ? p.piece : p.piece[0] + p.square + p.piece.slice(1));
const pieces = new Map(data.pieces.map((p) => [pieceKey(p), p]));
const heatmaps = new Map(data.heatmaps.map((m) => [m.from === "hand" ? m.piece : m.from, m]));
const isKing = (p) => p.piece.slice(1) === "OU";
const shareMax =
  Math.max(0, ...data.pieces.filter((p) => !isKing(p)).map((p) => Math.abs(p.share)));
const board = document.getElementById("board");
let chosen = null;

function drawPiece(p) {
  const hand = p.square === "hand";
  const [x, y] = hand ? slotCorner(p.piece) : squareCorner(p.square, X0);
  const w = hand ? 56 : CELL, h = CELL;
  const g = svg("g", {class: "piece", "data-key": pieceKey(p)}, board);
  svg("rect", {x: x + 1, y: y + 1, width: w - 2, height: h - 2, rx: 3,
               fill: isKing(p) ? "#f7f3e8" : shade(p.share, shareMax),
               stroke: hand ? "#aaa" : "none"}, g);
  const cx = x + w / 2;
  svg("text", {x: cx, y: y + 18, "text-anchor": "middle", "font-size": 13, "font-weight": "bold",
               "fill-opacity": hand && !p.count ? 0.45 : 1},
      g, shortName(p.piece) + (hand ? p.count : ""));
  svg("text", {x: cx, y: y + 35, "text-anchor": "middle", "font-size": 10},
      g, isKing(p) ? "king" : signed(p.share, 1));
  svg("title", {}, g, pieceLabel(p) + ": share " + p.share + " (" + p.share_w + " w)");
  g.addEventListener("click", () => choose(pieceKey(p)));
}

function drawBoard() {
  const width = X0 + 9 * CELL + 96, height = Y0 + 9 * CELL + 12;
  svg("rect", {x: 0, y: 0, width: width, height: height, fill: "#fff"}, board);
  board.setAttribute("viewBox", "0 0 " + width + " " + height);
  board.setAttribute("width", width);
  svg("text", {x: 4, y: 16, "font-size": 11}, board, "Gote's hand");
  svg("text", {x: X0 + 9 * CELL + 24, y: Y0 + 9 * CELL - 7 * SLOT - 4, "font-size": 11},
      board, "Sente's hand");
  frame(board, X0, true);
  data.pieces.forEach(drawPiece);
  svg("g", {id: "triangle"}, board);
}

// The chosen piece: the total without it and its heat map.
function choose(key) {
  chosen = key;
  for (const g of board.querySelectorAll(".piece")) {
    g.classList.toggle("chosen", g.dataset.key === key);
  }
  const p = pieces.get(key), label = pieceLabel(p);
  const without = document.getElementById("without");
  without.textContent = p.without === null
      ? label + ": " +
        (isKing(p) ? "a king cannot be taken off." : "none in hand, nothing to take away.")
      : "Without " + label + (p.square === "hand" ? " (one fewer in hand)" : "") + ": total " +
        p.without + ", against " + data.total + " with it (" + signed(data.total - p.without, 0) +
        " is what it brings).";
  drawHeatmap(label, heatmaps.get(key));
}

function drawHeatmap(label, map) {
  const heat = document.getElementById("heatmap");
  const caption = document.getElementById("heat-caption");
  heat.replaceChildren();
  const x0 = 20, width = x0 + 9 * CELL + 24, height = Y0 + 9 * CELL + 12;
  heat.setAttribute("viewBox", "0 0 " + width + " " + height);
  heat.setAttribute("width", width);
  if (!map) {
    caption.textContent = label + " has no heat map (kings and empty hand slots stay put).";
    return;
  }
  const entries = Object.entries(map.totals);
  const diffMax = Math.max(0, ...entries.map(([, t]) => Math.abs(t - data.total)));
  for (const [sq, total] of entries) {
    const [x, y] = squareCorner(sq, x0);
    const fill = shade(total - data.total, diffMax);
    svg("rect", {x: x, y: y, width: CELL, height: CELL, fill: fill}, heat);
    svg("text", {x: x + CELL / 2, y: y + 24, "text-anchor": "middle", "font-size": 10},
        heat, total);
  }
  if (map.from !== "hand") {
    const [x, y] = squareCorner(map.from, x0);
    svg("rect", {x: x + 2, y: y + 2, width: CELL - 4, height: CELL - 4, fill: "none",
                 stroke: "#111", "stroke-width": 3}, heat);
    svg("text", {x: x + CELL / 2, y: y + 25, "text-anchor": "middle", "font-size": 13},
        heat, shortName(map.piece));
  }
  frame(heat, x0, true);
  const sente = map.piece[0] === "+";
  const best = entries.sort((a, b) => (sente ? b[1] - a[1] : a[1] - b[1])).slice(0, 3);
  caption.textContent = entries.length === 0
      ? label + " has no square to go to."
      : "Totals with " + label + (map.from === "hand" ? " dropped" : " moved") +
        " to each square (now " +
        data.total + "; blue better for Sente, red for Gote). Best for its side: " +
        best.map(([sq, t]) => sq + " (" + t + ")").join(", ") + ".";
}

function drawTriangle(t) {
  const g = document.getElementById("triangle");
  g.replaceChildren();
  if (!t) return;
  const pts = [t.king, t.a, t.b].map(labelCentre);
  const colour = t.value >= 0 ? "#1f4fb0" : "#b02a1f";
  svg("polygon", {points: pts.map((p) => p.join(",")).join(" "), fill: colour, "fill-opacity": 0.15,
                  stroke: colour, "stroke-width": 3, "pointer-events": "none"}, g);
  for (const [x, y] of pts) svg("circle", {cx: x, cy: y, r: 5, fill: colour}, g);
}

function drawTerms() {
  const body = document.querySelector("#terms tbody"), filter = document.getElementById("filter");
  const count = document.getElementById("term-count");
  const rows = data.terms.map((t) => {
    const tr = html("tr", null, undefined, t.rank === null ? "unranked" : "");
    html("td", tr, t.rank === null ? "" : t.rank);
    for (const k of ["king", "a", "b"]) html("td", tr, t[k], "label");
    html("td", tr, t.value, sideClass(t.value));
    html("td", tr, (t.value / 32).toFixed(2), sideClass(t.value));
    tr.addEventListener("mouseenter", () => drawTriangle(t));
    tr.addEventListener("mouseleave", () => drawTriangle(null));
    return {t: t, tr: tr};
  });
  let order = {key: "rank", up: true};
  function show() {
    const words = filter.value.trim().toUpperCase().split(/\s+/).filter((w) => w);
    const key = order.key, dir = order.up ? 1 : -1;
    const value = (r) => (key === "rank" ? (r.t.rank === null ? 1e9 : r.t.rank) : r.t[key]);
    const matches = (r, w) => [r.t.king, r.t.a, r.t.b].some((l) => l.includes(w));
    const shown = rows.filter((r) => words.every((w) => matches(r, w)));
    shown.sort((a, b) => (value(a) < value(b) ? -dir : value(a) > value(b) ? dir : 0));
    body.replaceChildren(...shown.map((r) => r.tr));
    count.textContent = data.terms.length === 0 ? "The leaf has no KPP terms."
        : shown.length + " of " + data.terms.length + " terms";
  }
  for (const th of document.querySelectorAll("#terms th")) {
    th.addEventListener("click", () => {
      const key = th.dataset.key;
      order = {key: key, up: order.key === key ? !order.up : key !== "value"};
      show();
    });
  }
  filter.addEventListener("input", show);
  show();
}

function drawChart() {
  const chart = document.getElementById("chart"), W = 640, H = 240, L = 56, R = 110, T = 14, B = 56;
  chart.setAttribute("viewBox", "0 0 " + W + " " + H);
  chart.setAttribute("width", W);
  const series = [["total", "#111", (p) => p.total], ["material", "#8a6d1f", (p) => p.material],
                  ["KKP", "#2a8a3a", (p) => p.kkp_w / 32], ["KPP", "#7a3ab0", (p) => p.kpp_w / 32]];
  const line = data.line;
  if (line.length === 0) {
    svg("text", {x: 20, y: 40, "font-size": 13},
        chart, "No line: " + (data.line_problem || "no positions"));
    return;
  }
  const values = line.flatMap((p) => series.map((s) => s[2](p)));
  let lo = Math.min(0, ...values), hi = Math.max(0, ...values);
  if (hi === lo) hi = lo + 1;
  const x = (i) => L + (line.length === 1 ? 0.5 : i / (line.length - 1)) * (W - L - R);
  const y = (v) => T + (hi - v) / (hi - lo) * (H - T - B);
  svg("line", {x1: L, y1: y(0), x2: W - R, y2: y(0), stroke: "#bbb"}, chart);
  for (const v of [lo, hi]) {
    svg("text", {x: L - 6, y: y(v) + 4, "text-anchor": "end", "font-size": 10},
        chart, Math.round(v));
  }
  line.forEach((p, i) => {
    const text = p.move === null ? "start" : p.move;
    svg("text", {x: x(i), y: H - B + 14, "font-size": 9, "text-anchor": "end",
                 transform: "rotate(-45 " + x(i) + " " + (H - B + 14) + ")"}, chart, text);
  });
  series.forEach(([name, colour, get], k) => {
    const pts = line.map((p, i) => x(i) + "," + y(get(p))).join(" ");
    svg("polyline", {points: pts, fill: "none", stroke: colour,
                     "stroke-width": name === "total" ? 2.5 : 1.5}, chart);
    line.forEach((p, i) => svg("circle", {cx: x(i), cy: y(get(p)), r: 2.5, fill: colour}, chart));
    svg("text", {x: W - R + 10, y: T + 14 + 16 * k, "font-size": 12, fill: colour}, chart, name);
  });
  const table = document.getElementById("changes");
  if (data.changes.length === 0) {
    html("caption", table, "No term changed between the searched position and the leaf.");
    return;
  }
  html("caption", table,
       "The terms that changed most from the searched position to the leaf (weight units)");
  const head = html("tr", html("thead", table));
  for (const h of ["king", "piece a", "piece b", "before", "after", "change"]) html("th", head, h);
  const body = html("tbody", table);
  for (const c of data.changes) {
    const tr = html("tr", body);
    for (const k of ["king", "a", "b"]) html("td", tr, c[k], "label");
    html("td", tr, c.before);
    html("td", tr, c.after);
    html("td", tr, signed(c.after - c.before, 0), sideClass(c.after - c.before));
  }
}

drawBoard();
drawTerms();
drawChart();
// The page opens on the piece with the largest share that can move.
const movable = data.pieces.filter((p) => heatmaps.has(pieceKey(p)));
if (movable.length) {
  choose(pieceKey(movable.reduce((a, b) => (Math.abs(b.share) > Math.abs(a.share) ? b : a))));
}
document.body.dataset.rendered = "yes";
)js";

}  // namespace fv
