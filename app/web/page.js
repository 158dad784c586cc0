// The page's glue: buttons run their command through the core, the view
// control gets its canvas, the address keeps the scene, the picture can be
// saved, and the service worker keeps the files for offline use. Inline
// after the controls and before the wasm and arrowbench.js, which picks up
// Module. Its control names come from names.js, which the build writes
// from the dialog template.
'use strict';

// The runtime takes the wasm the page carries (Module.wasm, a character a
// byte plus a shift, put in by the build) rather than fetching it, and
// starts the core as its script runs: the first frame is drawn before the
// page is first shown, and the rest follows it.
var Module = {canvas: document.querySelector('canvas[data-id]')};
makeAxisLabels(Module, Module.canvas);
Module.instantiateWasm = function(imports, receive) {
  var text = Module.wasm.text, shift = Module.wasm.shift, bytes = new Uint8Array(text.length);
  for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) - shift;
  Module.wasm = null;
  var module = new WebAssembly.Module(bytes);
  performance.mark('wasm-compiled');
  var instance = new WebAssembly.Instance(module, imports);
  receive(instance, module);
  return instance.exports;
};
Module.onRuntimeInitialized = function() {
  performance.mark('runtime-ready');
  Module._arrowbench_start();
  // A scene in the address: fields, Redraw, the command, the camera. Then
  // the address holds the scene as read, and follows every change.
  var whole = Module._arrowbench_open_link();
  performance.mark('link-opened');
  attachView(Module, Module.canvas);
  // The first frame has been drawn: a mark for tools and benchmarks. Then
  // the controls' contents are laid out, before the page is first shown;
  // the rest waits for a task of its own.
  performance.mark('first-frame');
  showControls();
  setTimeout(pageReady, 0, whole);
};
// Should the core never start, the controls show all the same.
function showControls() {
  var held = document.getElementById('view-first');
  if (held) held.remove();
}
document.addEventListener('DOMContentLoaded', showControls);

function pageReady(whole) {
  describeView();
  // The kept worksheet, typeset after the first frame, never before it.
  Module._arrowbench_open_worksheet();
  Module._arrowbench_link();
  if (!whole) say('Part of this link could not be read: what could be read is shown, the rest is as it starts.');
  Module.cameraSettled = function() { Module._arrowbench_link(); };
  // A click, or space or Enter on a focused button, is a click: each
  // button's identifier goes to the core's dispatch, as on the desktop.
  document.querySelectorAll('button[data-id]').forEach(function(button) {
    button.addEventListener('click', function() {
      var id = Number(button.dataset.id);
      Module._arrowbench_command(id);
      if (id === ID_REDRAW || button.id === 'show-calculation') describeView();
      if (button.id === 'show-calculation') bringViewIntoSight();
    });
  });
  document.getElementById('copy-link').addEventListener('click', copyLink);
  document.getElementById('copy-worksheet').addEventListener('click', function() { Module._arrowbench_copy_worksheet(0); });
  document.getElementById('copy-worksheet-latex').addEventListener('click', function() {
    Module._arrowbench_copy_worksheet(1);
  });
  // An entry's Recall: its index in the core's is its number's distance
  // from the oldest's.
  document.getElementById('worksheet').addEventListener('click', function(e) {
    if (!e.target.classList.contains('recall')) return;
    Module._arrowbench_recall(e.target.closest('li').value - firstEntry().value);
    describeView();
    bringViewIntoSight();
  });
  // Typing in a field is the field's to undo first; once it is undone back
  // to what the core wrote, Ctrl+Z is the page's again.
  document.addEventListener('input', function(e) {
    var field = e.target;
    if (field.dataset.id === undefined) return;
    if (e.inputType === 'historyUndo' && field.value === field.dataset.written) delete field.dataset.typed;
    else field.dataset.typed = '1';
  });
  document.addEventListener('keydown', function(e) {
    var key = e.key.toLowerCase();
    if (!(e.ctrlKey || e.metaKey) || e.altKey || (key !== 'z' && key !== 'y')) return;
    if (e.target.dataset && e.target.dataset.typed) return;
    e.preventDefault();
    document.getElementById(key === 'y' || e.shiftKey ? 'redo' : 'undo').click();
  });
  document.getElementById('copy-working').addEventListener('click', function() {
    copyText(Module.working, 'Working copied as text.', 'The working could not be copied.');
  });
  document.getElementById('copy-latex').addEventListener('click', function() {
    copyText(Module.workingLatex, 'Working copied as LaTeX.', 'The working could not be copied.');
  });
  document.getElementById('save-picture').addEventListener('click', savePicture);
  document.documentElement.dataset.ready = 'true';
  // The service worker fetches every file again to keep it: only once the
  // page has loaded and drawn, never beside the first frame.
  if (!('serviceWorker' in navigator)) return;
  var keep = function() { navigator.serviceWorker.register('sw.js'); };
  if (document.readyState === 'complete') setTimeout(keep);
  else addEventListener('load', keep);
}

// The view's text alternative names what Redraw handed it: the rows as the
// command has just written them back.
function describeView() {
  var text = function(id) { return document.querySelector('[data-id="' + id + '"]').value; };
  var rows = [];
  for (var i = 0; i < 3; ++i) {
    var step = ROW_STRIDE * i, vector = text(ID_ROW_VECTOR + step);
    if (vector === '0 0 0') continue;
    var end = document.querySelector('[data-id="' + (ID_ROW_INVERSE + step) + '"]').checked;
    rows.push('vector ' + vector + (end ? ' ending at ' : ' from ') + text(ID_ROW_OFFSET + step) + ' in colour ' +
              text(ID_ROW_COLOR + step));
  }
  var canvas = Module.canvas;
  var base = canvas.dataset.label || (canvas.dataset.label = canvas.getAttribute('aria-label'));
  canvas.setAttribute('aria-label', base + (rows.length ? '. Drawn: ' + rows.join('; ') : '. No vectors drawn') + '.');
}

// The calculation just drawn is worth seeing: where less than half of the
// view is in sight (a phone, the view under the controls), it scrolls in,
// smoothly unless motion is to be kept down.
function bringViewIntoSight() {
  var box = Module.canvas.getBoundingClientRect();
  var seen = Math.min(box.bottom, innerHeight) - Math.max(box.top, 0);
  if (seen >= box.height / 2) return;
  var still = matchMedia('(prefers-reduced-motion: reduce)').matches;
  Module.canvas.scrollIntoView({behavior: still ? 'auto' : 'smooth', block: 'nearest'});
}

function say(text) { document.getElementById('status').textContent = text; }

// The core's working, typeset under the calculator (its MathML, a line a
// clause); its copies are kept for the buttons, which show once there is one.
function showWorking(text, math, tex) {
  Module.working = text;
  Module.workingLatex = tex;
  var out = document.getElementById('working');
  out.dataset.text = text;
  out.innerHTML = math;
  document.getElementById('copy-working').hidden = document.getElementById('copy-latex').hidden = !text;
}

// The worksheet's list: an entry typeset on its own as the core adds it,
// under its line, which carries the entry's number (the core's, which it
// keeps when older ones go, so nothing is renumbered; the items draw no
// numbers of their own, which would all be laid out again). The oldest
// let go are hidden at once and taken out once the commands pause (as the
// worksheet is kept), or when as many wait as are shown: taking out a
// typeset entry costs as much as a command.
var droppedEntries = [], shownEntries = 0;
function addEntry(line, math) {
  ++shownEntries;
  var item = document.createElement('li');
  item.value = parseInt(line, 10);
  item.appendChild(document.createElement('span')).textContent = line;
  var recall = item.appendChild(document.createElement('button'));
  recall.type = 'button';
  recall.className = 'recall';
  recall.textContent = 'Recall';
  recall.setAttribute('aria-label', 'Recall ' + line);
  item.appendChild(document.createElement('div')).className = 'working';
  item.lastChild.innerHTML = math;
  document.getElementById('worksheet').appendChild(item);
}

function firstEntry() {
  var last = droppedEntries[droppedEntries.length - 1];
  return last ? last.nextElementSibling : document.getElementById('worksheet').firstElementChild;
}

function dropEntries(count) {
  for (var item = firstEntry(); count > 0 && item; --count, item = item.nextElementSibling) {
    item.hidden = true;
    droppedEntries.push(item);
    --shownEntries;
  }
  if (droppedEntries.length >= shownEntries) tidyEntries();
}

function tidyEntries() {
  droppedEntries.forEach(function(item) { item.remove(); });
  droppedEntries = [];
}

function clearEntries() {
  document.getElementById('worksheet').textContent = '';
  droppedEntries = [];
  shownEntries = 0;
}

function showHistory(undo, redo) {
  document.getElementById('undo').disabled = !undo;
  document.getElementById('redo').disabled = !redo;
}

// The browser's storage may be full, or switched off: the page works on,
// and says once that its worksheet is not kept.
var WORKSHEET_KEY = 'arrowbench-worksheet';
// Kept a moment after the last change, and as the page is left, so that a
// command costs the same however long the worksheet is.
function worksheetChanged() {
  clearTimeout(Module.keepTimer);
  Module.keepTimer = setTimeout(keepNow, 400);
}
function keepNow() {
  tidyEntries();
  if (!Module.keepTimer) return;
  clearTimeout(Module.keepTimer);
  Module.keepTimer = 0;
  Module._arrowbench_keep_worksheet();
}
addEventListener('pagehide', keepNow);
document.addEventListener('visibilitychange', function() { if (document.hidden) keepNow(); });
function keepWorksheet(text) {
  try {
    localStorage.setItem(WORKSHEET_KEY, text);
  } catch (e) {
    if (!Module.unkept) say('The browser\'s storage is full: the worksheet is not kept.');
    Module.unkept = true;
  }
}

function keptWorksheet() {
  try {
    return localStorage.getItem(WORKSHEET_KEY) || '';
  } catch (e) {
    return '';
  }
}

function setAsideWorksheet() {
  try {
    localStorage.setItem(WORKSHEET_KEY + '-set-aside', keptWorksheet());
    localStorage.removeItem(WORKSHEET_KEY);
  } catch (e) {}
  say('The kept worksheet could not be read: it was set aside for a new one.');
}

function copyWorksheet(text, latex) {
  if (!text) return say('The worksheet is empty.');
  copyText(text, latex ? 'Worksheet copied as LaTeX.' : 'Worksheet copied as text.', 'The worksheet could not be copied.');
}

function copyText(text, done, failed) {
  if (!navigator.clipboard || !navigator.clipboard.writeText) return say(failed);
  navigator.clipboard.writeText(text).then(function() { say(done); }, function() { say(failed); });
}

function copyLink() {
  Module._arrowbench_link();
  copyText(location.href, 'Link copied: it opens this scene, view included.',
           'The link could not be copied: the address bar holds it.');
}

// The view as drawn now, at its device-pixel size, with the axes' names
// where they stand over it.
function savePicture() {
  var canvas = Module.canvas, picture = document.createElement('canvas');
  picture.width = canvas.width;
  picture.height = canvas.height;
  var scale = canvas.width / (canvas.clientWidth || 1), context = picture.getContext('2d');
  context.drawImage(canvas, 0, 0);
  var style = getComputedStyle(Module.axisLabels[0].element);
  context.font = style.fontWeight + ' ' + parseFloat(style.fontSize) * scale + 'px ' + style.fontFamily;
  context.textBaseline = 'bottom';
  Module.axisLabels.forEach(function(label) {
    if (!label.shown) return;
    context.fillStyle = label.color;
    context.fillText(label.text, label.x * scale, label.y * scale);
  });
  picture.toBlob(function(blob) {
    if (!blob) return say('The picture could not be made.');
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = 'arrowbench-view.png';
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function() { URL.revokeObjectURL(a.href); }, 60000);
    say('Picture saved as arrowbench-view.png.');
  }, 'image/png');
}

// Another scene typed into the address opens as a link does: afresh.
window.addEventListener('hashchange', function() { location.reload(); });
