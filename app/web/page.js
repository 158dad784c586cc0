// The page's glue: buttons run their command through the core, the view
// control gets its canvas, and the service worker keeps the files for
// offline use. Loaded before arrowbench.js, which picks up Module.
'use strict';

var Module = {
  canvas: document.querySelector('canvas[data-id]'),
  onRuntimeInitialized: function() {
    Module._arrowbench_start();
    // A click, or space or Enter on a focused button, is a click: each
    // button's identifier goes to the core's dispatch, as on the desktop.
    document.querySelectorAll('button[data-id]').forEach(function(button) {
      button.addEventListener('click', function() {
        Module._arrowbench_command(Number(button.dataset.id));
        if (button.dataset.id === '2014') describeView();
      });
    });
    attachView(Module, Module.canvas);
    // The first frame has been drawn: a mark for tools and benchmarks.
    performance.mark('first-frame');
    document.documentElement.dataset.ready = 'true';
  },
};

// The view's text alternative names what Redraw handed it: the rows as the
// command has just written them back.
function describeView() {
  var text = function(id) { return document.querySelector('[data-id="' + id + '"]').value; };
  var rows = [];
  for (var i = 0; i < 3; ++i) {
    var base = 2001 + 4 * i, vector = text(base);
    if (vector === '0 0 0') continue;
    var end = document.querySelector('[data-id="' + (base + 3) + '"]').checked;
    rows.push('vector ' + vector + (end ? ' ending at ' : ' from ') + text(base + 1) + ' in colour ' + text(base + 2));
  }
  var canvas = Module.canvas;
  var base = canvas.dataset.label || (canvas.dataset.label = canvas.getAttribute('aria-label'));
  canvas.setAttribute('aria-label', base + (rows.length ? '. Drawn: ' + rows.join('; ') : '. No vectors drawn') + '.');
}

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
