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
      button.addEventListener('click', function() { Module._arrowbench_command(Number(button.dataset.id)); });
    });
    attachView(Module, Module.canvas);
    // The first frame has been drawn: a mark for tools and benchmarks.
    performance.mark('first-frame');
    document.documentElement.dataset.ready = 'true';
  },
};

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
