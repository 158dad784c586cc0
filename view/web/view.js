// The view control of the page: the canvas's backing store follows its CSS
// size times devicePixelRatio, and pointer drags reach the orbit camera in
// CSS pixels from the canvas's top-left corner.
'use strict';

function attachView(module, canvas) {
  // The backing store in device pixels; every change goes through the
  // core's size change (viewport, end of any drag) and a new frame. The
  // device-pixel box is exact, and it also changes with devicePixelRatio
  // (browser zoom, another screen) where the CSS size stays.
  function fit(width, height) {
    if (canvas.width === width && canvas.height === height && fit.done) return;
    fit.done = true;
    canvas.width = width;
    canvas.height = height;
    module._arrowbench_resized(width, height);
    module._arrowbench_paint();
  }
  function fitToRatio() {
    var ratio = window.devicePixelRatio || 1;
    fit(Math.round(canvas.clientWidth * ratio), Math.round(canvas.clientHeight * ratio));
  }
  fitToRatio();
  var observer = new ResizeObserver(function(entries) {
    var box = entries[0].devicePixelContentBoxSize;
    if (box && box[0]) fit(box[0].inlineSize, box[0].blockSize);
    else fitToRatio();
  });
  try {
    observer.observe(canvas, {box: 'device-pixel-content-box'});
  } catch (e) {
    // No device-pixel box: the CSS box, and a watch on the ratio itself.
    observer.observe(canvas);
    (function watchRatio() {
      var query = matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
      query.addEventListener('change', function() { fitToRatio(); watchRatio(); }, {once: true});
    })();
  }

  function at(event) {
    var box = canvas.getBoundingClientRect();
    return [Math.round(event.clientX - box.left), Math.round(event.clientY - box.top)];
  }
  canvas.addEventListener('pointerdown', function(event) {
    if (event.button !== 0 && event.button !== 2) return;
    // The capture brings the release here wherever it happens, so a drag
    // always ends.
    canvas.setPointerCapture(event.pointerId);
    var p = at(event);
    module._arrowbench_press(event.button, p[0], p[1]);
  });
  function release(event) {
    if (event.button === 0 || event.button === 2 || event.type === 'pointercancel') module._arrowbench_release();
  }
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);
  canvas.addEventListener('lostpointercapture', function() { module._arrowbench_release(); });
  // Each motion draws a frame, those the browser coalesced into one event
  // too.
  canvas.addEventListener('pointermove', function(event) {
    // A second button pressed or released during a drag comes as a motion.
    if (event.button === 0 || event.button === 2) {
      if (event.buttons & (event.button === 0 ? 1 : 2)) {
        var q = at(event);
        module._arrowbench_press(event.button, q[0], q[1]);
      } else {
        module._arrowbench_release();
      }
    }
    var all = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
    if (all.length === 0) all = [event];
    for (var i = 0; i < all.length; ++i) {
      var p = at(all[i]);
      module._arrowbench_motion(p[0], p[1]);
    }
  });
  canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
}
