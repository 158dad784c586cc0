// The view control of the page: the canvas's backing store follows its CSS
// size times devicePixelRatio, and pointer drags reach the orbit camera in
// CSS pixels from the canvas's top-left corner. The wheel, the keys, a
// two-finger pinch and the on-view buttons move the camera by the core's
// steps (ViewKey, from names.js, which the build writes from view/view.h).
// The axes' names are placed and coloured by the core's values (AXIS_NAMES
// and the rest, view/internal.h's), which the build puts in place here.
'use strict';

// The axes' names beside their far ends, over the canvas and not in its
// pixels, moved with every frame as it is drawn. Their colours keep the
// axes' hues, dark enough to read on white (WCAG AA). Hidden from
// assistive technology: the view's description names the axes. Made as
// the page is parsed, hidden until a frame places them: the page's first
// layout is then its last before the first frame. Each stands in the
// view's own grid area, so that it moves with the view when the controls
// above it grow or shrink.
function makeAxisLabels(module, canvas) {
  var previous = null;
  module.axisLabels = AXIS_NAMES.map(function(named) {
    var label = document.createElement('span');
    label.className = 'axis-label';
    label.textContent = named[0];
    label.setAttribute('style', canvas.getAttribute('style') || '');
    label.style.color = named[1];
    label.setAttribute('aria-hidden', 'true');
    label.hidden = true;
    (previous || canvas).after(label);
    previous = label;
    return {element: label, text: named[0], color: named[1], x: 0, y: 0, shown: false};
  });
}

function attachView(module, canvas) {
  module.frameDrawn = function(m) {
    // Read before any label moves, so that the page is laid out once. From
    // the grid area's corner: the view's margin and border.
    var width = canvas.clientWidth, height = canvas.clientHeight, style = getComputedStyle(canvas);
    var left = parseFloat(style.marginLeft) + canvas.clientLeft, top = parseFloat(style.marginTop) + canvas.clientTop;
    module.axisLabels.forEach(function(label, axis) {
      // The axis's far end through the frame's matrix, to CSS pixels from
      // the canvas's top left; the name's bottom-left corner is off it by
      // the gap.
      var w = m[axis * 4 + 3] * AXIS_LENGTH + m[15];
      var nx = (m[axis * 4] * AXIS_LENGTH + m[12]) / w, ny = (m[axis * 4 + 1] * AXIS_LENGTH + m[13]) / w;
      label.x = (nx + 1) / 2 * width + AXIS_NAME_GAP;
      label.y = (1 - ny) / 2 * height - AXIS_NAME_GAP;
      label.shown = w > 0 && Math.abs(nx) < 1 && Math.abs(ny) < 1;
      label.element.hidden = !label.shown;
      if (label.shown) {
        label.element.style.transform = 'translate(' + (left + label.x) + 'px, ' + (top + label.y) +
                                        'px) translateY(-100%)';
      }
    });
  };

  // The backing store in device pixels; every change goes through the
  // core's size change (viewport, end of any drag) and a new frame. The
  // device-pixel box is exact, and it also changes with devicePixelRatio
  // (browser zoom, another screen) where the CSS size stays. The display
  // scale is the store over the CSS size it was made from, not
  // devicePixelRatio, which a forced device scale leaves at 1; to the
  // hundredth, so a fractional CSS size cannot turn 1.5 into 1.49.
  function fit(width, height, cssWidth) {
    var scale = cssWidth > 0 ? Math.round(width / cssWidth * 100) / 100 : 1;
    if (canvas.width === width && canvas.height === height && fit.scale === scale) return;
    fit.scale = scale;
    canvas.width = width;
    canvas.height = height;
    module._arrowbench_pixel_scale(scale);
    module._arrowbench_resized(width, height);
    // This frame is the one a pending repaint asked for: the first one, after
    // the link's Redraw, is drawn once.
    if (module.repaintPending) cancelAnimationFrame(module.repaintPending);
    module.repaintPending = 0;
    module._arrowbench_paint();
  }
  // Before the observer has spoken: the content box's edges snapped to
  // device pixels, as the device-pixel box has them, so that its first
  // word agrees with the first frame wherever the box starts.
  function fitToRatio() {
    var ratio = window.devicePixelRatio || 1, box = canvas.getBoundingClientRect();
    var left = box.left + canvas.clientLeft, right = box.right - canvas.clientLeft;
    var top = box.top + canvas.clientTop, bottom = box.bottom - canvas.clientTop;
    fit(Math.round(right * ratio) - Math.round(left * ratio), Math.round(bottom * ratio) - Math.round(top * ratio),
        right - left);
  }
  fitToRatio();

  // Without WebGL, none to be had or the context lost, the view says so in
  // its place; the calculator and Redraw work all the same. A context that
  // comes back draws again.
  var message = null;
  function needsWebGL(missing) {
    if (missing && !message) {
      message = document.createElement('p');
      message.setAttribute('role', 'alert');
      message.className = 'view-message';
      message.setAttribute('style', (canvas.getAttribute('style') || '') +
                           ';align-self:center;justify-self:center;max-width:28em;margin:1em;text-align:center');
      message.textContent = 'The 3D view needs WebGL, which this browser cannot give it now. ' +
                            'The calculator and the view rows work without it.';
      canvas.after(message);
    }
    if (message) message.hidden = !missing;
    [canvas, document.getElementById('view-buttons')].concat(module.axisLabels.map(function(l) { return l.element; }))
        .forEach(function(e) {
      if (e) e.style.visibility = missing ? 'hidden' : '';
    });
  }
  if (!module.webgl) needsWebGL(true);
  canvas.addEventListener('webglcontextlost', function() { needsWebGL(true); });
  canvas.addEventListener('webglcontextrestored', function() {
    needsWebGL(false);
    module._arrowbench_resized(canvas.width, canvas.height);
    module._arrowbench_paint();
  });

  var observer = new ResizeObserver(function(entries) {
    var box = entries[0].devicePixelContentBoxSize, css = entries[0].contentBoxSize;
    if (box && box[0] && css && css[0]) fit(box[0].inlineSize, box[0].blockSize, css[0].inlineSize);
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
  // Fingers on the view. One orbits, as the left button does; a second
  // ends the orbit and starts a pinch. Once a finger of the pinch lifts,
  // the ones left do nothing until all have lifted, so the view never
  // jumps to an orbit from where a finger happened to stay.
  var fingers = new Map();  // pointerId -> position
  var pinch = 0;            // the spread at the pinch's start; -1 after a pinch
  function spread() {
    var p = Array.from(fingers.values());
    return Math.hypot(p[0][0] - p[1][0], p[0][1] - p[1][1]);
  }
  canvas.addEventListener('pointerdown', function(event) {
    var p = at(event);
    if (event.pointerType === 'touch') {
      canvas.setPointerCapture(event.pointerId);
      fingers.set(event.pointerId, p);
      if (fingers.size === 2 && pinch === 0) {
        pinch = Math.max(spread(), 1);
        module._arrowbench_pinch_begin();
      }
      if (fingers.size > 1 || pinch !== 0) return;
    }
    // The capture brings the release here wherever it happens, so a drag
    // always ends.
    if (module._arrowbench_press(event.button, p[0], p[1])) canvas.setPointerCapture(event.pointerId);
  });
  // The camera has come to rest: the page may keep it (in its address).
  function settled() { if (module.cameraSettled) module.cameraSettled(); }
  function release(event) {
    var p = at(event);
    if (event.pointerType === 'touch') {
      if (!fingers.delete(event.pointerId)) return;
      pinch = pinch !== 0 && fingers.size ? -1 : 0;
    }
    if (event.type === 'pointerup') module._arrowbench_release(event.button, p[0], p[1]);
    else module._arrowbench_cancel();
    settled();
  }
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);
  canvas.addEventListener('lostpointercapture', release);
  // Each motion draws a frame, those the browser coalesced into one event
  // too.
  var BUTTON_BITS = [1, 4, 2];  // event.button to its bit in event.buttons
  canvas.addEventListener('pointermove', function(event) {
    if (event.pointerType === 'touch') {
      if (!fingers.has(event.pointerId)) return;
      fingers.set(event.pointerId, at(event));
      if (pinch > 0) module._arrowbench_pinch(spread() / pinch);
      if (pinch !== 0) return;
    }
    // A second button pressed or released during a drag comes as a motion.
    if (event.button >= 0) {
      var q = at(event);
      if (event.buttons & (BUTTON_BITS[event.button] || 1 << event.button))
        module._arrowbench_press(event.button, q[0], q[1]);
      else module._arrowbench_release(event.button, q[0], q[1]);
    }
    var all = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
    if (all.length === 0) all = [event];
    for (var i = 0; i < all.length; ++i) {
      var p = at(all[i]);
      module._arrowbench_motion(p[0], p[1]);
    }
  });
  canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });

  // The wheel over the view or its buttons zooms and never scrolls the
  // page. A notch is 120 CSS pixels (Chromium on Linux; its 100 on Windows
  // comes to 5/6 of a step), 3 lines or one page (a wheel set to scroll by
  // pages). deltaMode is read first: Firefox then gives its notches in
  // lines, 3 each, rather than in pixels that depend on the font.
  var PER_NOTCH = [120, 3, 1];
  var wheelRest = 0;
  var buttons = document.getElementById('view-buttons');
  [canvas, buttons].forEach(function(target) {
    if (target) target.addEventListener('wheel', function(event) {
      event.preventDefault();
      var per = PER_NOTCH[event.deltaMode] || PER_NOTCH[0];
      module._arrowbench_wheel(-event.deltaY / per);
      // A wheel turn has come to rest when it pauses.
      clearTimeout(wheelRest);
      wheelRest = setTimeout(settled, 300);
    }, {passive: false});
  });

  // The keys while the view has the focus, as ViewKey numbers them for
  // _arrowbench_key. With Ctrl, Alt or Meta a key stays the browser's
  // (Ctrl and + zooms the page); Tab and Escape are never taken.
  var KEYS = {ArrowLeft: ViewKey.left, ArrowRight: ViewKey.right, ArrowUp: ViewKey.up, ArrowDown: ViewKey.down,
              '+': ViewKey.zoom_in, '=': ViewKey.zoom_in, PageUp: ViewKey.zoom_in, '-': ViewKey.zoom_out,
              PageDown: ViewKey.zoom_out, Home: ViewKey.reset};
  canvas.addEventListener('keydown', function(event) {
    var key = KEYS[event.key];
    if (key === undefined || event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    module._arrowbench_key(key, event.shiftKey ? 1 : 0);
    settled();
  });
  // The on-view buttons do what their keys do.
  if (buttons) buttons.querySelectorAll('button').forEach(function(button) {
    button.addEventListener('click', function() {
      module._arrowbench_key(Number(button.dataset.viewKey), 0);
      settled();
    });
  });
}
