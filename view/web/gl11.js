// The GL 1.1 and GLU calls of one frame of the view, over WebGL: the
// current colour, the two matrix stacks, immediate-mode
// lines, points and quads, depth test and blending. Nothing more: the
// frame is the only user. With no canvas (the tests under node) or no
// WebGL, every call does nothing, as a frame without a context draws
// nothing on the desktop. WebGL draws lines 1 pixel wide almost
// everywhere, so wider ones are drawn here as GL draws aliased wide lines:
// each widened along its minor axis, as two triangles.
mergeInto(LibraryManager.library, {
  $GL11: {
    gl: null,
    tried: false,
    thin: null,  // compile()'s shader for lines 1 pixel wide, points and quads
    wide: null,  // and for wider lines, as triangles
    buffer: null,
    viewport: [0, 0, 1, 1],
    lineWidth: 1,
    color: [1, 1, 1, 1],
    mode: 0x1700,  // GL_MODELVIEW
    matrices: {},
    stacks: {},  // what glPushMatrix keeps, by mode
    primitive: -1,
    vertices: [],
    pointSize: 1,
    // The context, made at the first call: depth buffer, no antialiasing
    // (edges as on the desktop), opaque, and kept between frames like the
    // desktop's single buffer.
    context: function() {
      if (GL11.tried) return GL11.gl;
      GL11.tried = true;
      var canvas = Module['canvas'];
      if (!canvas || !canvas.getContext) return null;
      var gl = canvas.getContext('webgl', {antialias: false, depth: true, alpha: false, stencil: false,
                                           preserveDrawingBuffer: true});
      // The page learns whether there is a view to draw (Module.webgl).
      Module['webgl'] = !!gl;
      if (!gl) return null;
      performance.mark('webgl-context');
      // A lost context may come back: everything made in it is made anew
      // at the next call. Calls on a lost context do nothing meanwhile.
      canvas.addEventListener('webglcontextlost', function(event) { event.preventDefault(); });
      canvas.addEventListener('webglcontextrestored', function() { GL11.tried = false; GL11.gl = null; });
      GL11.thin = GL11.compile(gl, 'attribute vec3 p; attribute vec4 c; uniform mat4 m; uniform float s; ' +
                               'varying vec4 v; void main() { gl_Position = m * vec4(p, 1.0); gl_PointSize = s; v = c; }',
                               ['p', 'c'], ['m', 's']);
      GL11.wide = null;  // made at the first wide line: at scale 1 there is none
      GL11.buffer = gl.createBuffer();
      GL11.gl = gl;
      return gl;
    },
    wideProgram: function(gl) {
      // Each vertex of a wide line knows both ends (p its own, q the other)
      // and its side. An end behind the near plane moves along the line
      // onto it first, as GL clips before it rasterises.
      return GL11.compile(gl,
          'attribute vec3 p; attribute vec3 q; attribute vec4 c; attribute float side; uniform mat4 m; ' +
          'uniform vec2 viewHalf; uniform float width; varying vec4 v; void main() { v = c;' +
          ' vec4 a = m * vec4(p, 1.0), b = m * vec4(q, 1.0); float da = a.z + a.w, db = b.z + b.w;' +
          ' if (da < 0.0 && db < 0.0) { gl_Position = vec4(0.0, 0.0, 2.0, 1.0); return; }' +
          ' if (da < 0.0) a = mix(a, b, da / (da - db)); if (db < 0.0) b = mix(b, a, db / (db - da));' +
          ' vec2 d = (b.xy / b.w - a.xy / a.w) * viewHalf;' +
          ' vec2 minor = abs(d.x) >= abs(d.y) ? vec2(0.0, 1.0) : vec2(1.0, 0.0);' +
          ' gl_Position = a + vec4(minor * side * 0.5 * width / viewHalf * a.w, 0.0, 0.0); }',
          ['p', 'q', 'c', 'side'], ['m', 'viewHalf', 'width']);
    },
    compile: function(gl, vertex, attributes, uniforms) {
      var vs = gl.createShader(gl.VERTEX_SHADER);
      gl.shaderSource(vs, vertex);
      gl.compileShader(vs);
      var fs = gl.createShader(gl.FRAGMENT_SHADER);
      gl.shaderSource(fs, 'precision mediump float; varying vec4 v; void main() { gl_FragColor = v; }');
      gl.compileShader(fs);
      var program = gl.createProgram();
      gl.attachShader(program, vs);
      gl.attachShader(program, fs);
      gl.linkProgram(program);
      var where = {};
      attributes.forEach(function(name) { where[name] = gl.getAttribLocation(program, name); });
      uniforms.forEach(function(name) { where[name] = gl.getUniformLocation(program, name); });
      return {program: program, where: where, attributes: attributes};
    },
    // Draws `count` vertices of `data` with `shader`, already in use, its
    // attributes packed in the order it names them, as long as `sizes` says.
    draw: function(gl, shader, sizes, mode, data, count) {
      gl.bindBuffer(gl.ARRAY_BUFFER, GL11.buffer);
      gl.bufferData(gl.ARRAY_BUFFER, data, gl.STREAM_DRAW);
      var stride = 4 * sizes.reduce(function(a, b) { return a + b; }), offset = 0;
      for (var i = 0; i < 4; ++i) gl.disableVertexAttribArray(i);
      shader.attributes.forEach(function(name, i) {
        gl.enableVertexAttribArray(shader.where[name]);
        gl.vertexAttribPointer(shader.where[name], sizes[i], gl.FLOAT, false, stride, offset);
        offset += 4 * sizes[i];
      });
      gl.drawArrays(mode, 0, count);
    },
    identity: function() { return [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]; },
    current: function() {
      var m = GL11.matrices[GL11.mode];
      if (!m) m = GL11.matrices[GL11.mode] = GL11.identity();
      return m;
    },
    // a times b, both column-major, in double precision, into r.
    product: function(a, b, r) {
      for (var col = 0; col < 4; ++col)
        for (var row = 0; row < 4; ++row) {
          var sum = 0;
          for (var k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
          r[col * 4 + row] = sum;
        }
      return r;
    },
    // The current matrix times m.
    multiply: function(m) { GL11.matrices[GL11.mode] = GL11.product(GL11.current(), m, new Array(16)); },
    // GL's cap names that WebGL knows; the alpha test is not one of them,
    // and with its default function it passes every fragment anyway.
    cap: function(cap) { return cap === 0x0B71 || cap === 0x0BE2; },
  },

  glClearColor__deps: ['$GL11'],
  glClearColor: function(r, g, b, a) { var gl = GL11.context(); if (gl) gl.clearColor(r, g, b, a); },
  glClear__deps: ['$GL11'],
  glClear: function(mask) { var gl = GL11.context(); if (gl) gl.clear(mask); },
  glClearDepth__deps: ['$GL11'],
  glClearDepth: function(depth) { var gl = GL11.context(); if (gl) gl.clearDepth(depth); },
  glEnable__deps: ['$GL11'],
  glEnable: function(cap) { var gl = GL11.context(); if (gl && GL11.cap(cap)) gl.enable(cap); },
  glDisable__deps: ['$GL11'],
  glDisable: function(cap) { var gl = GL11.context(); if (gl && GL11.cap(cap)) gl.disable(cap); },
  glBlendFunc__deps: ['$GL11'],
  glBlendFunc: function(s, d) { var gl = GL11.context(); if (gl) gl.blendFunc(s, d); },
  glViewport__deps: ['$GL11'],
  glViewport: function(x, y, w, h) {
    GL11.viewport = [x, y, w, h];
    var gl = GL11.context();
    if (gl) gl.viewport(x, y, w, h);
  },
  glLineWidth__deps: ['$GL11'],
  glLineWidth: function(w) { GL11.lineWidth = w; },
  glPointSize__deps: ['$GL11'],
  glPointSize: function(s) { GL11.pointSize = s; },
  // The browser shows the canvas once the task ends. The page hears of the
  // frame first, with the matrix it was drawn with (projection times
  // model-view, column-major), to place what lies over it in the same frame.
  glFinish__deps: ['$GL11'],
  glFinish: function() {
    var drawn = Module['frameDrawn'];
    if (drawn) drawn(GL11.product(GL11.matrices[0x1701] || GL11.identity(), GL11.matrices[0x1700] || GL11.identity(),
                                  new Array(16)));
  },
  glMatrixMode__deps: ['$GL11'],
  glMatrixMode: function(mode) { GL11.mode = mode; },
  glLoadIdentity__deps: ['$GL11'],
  glLoadIdentity: function() { GL11.matrices[GL11.mode] = GL11.identity(); },
  glPushMatrix__deps: ['$GL11'],
  glPushMatrix: function() { (GL11.stacks[GL11.mode] = GL11.stacks[GL11.mode] || []).push(GL11.current().slice()); },
  glPopMatrix__deps: ['$GL11'],
  glPopMatrix: function() {
    var kept = GL11.stacks[GL11.mode];
    if (kept && kept.length) GL11.matrices[GL11.mode] = kept.pop();
  },
  glColor3f__deps: ['$GL11'],
  glColor3f: function(r, g, b) { GL11.color = [r, g, b, 1]; },
  glColor3ub__deps: ['$GL11'],
  glColor3ub: function(r, g, b) { GL11.color = [r / 255, g / 255, b / 255, 1]; },
  glColor4f__deps: ['$GL11'],
  glColor4f: function(r, g, b, a) { GL11.color = [r, g, b, a]; },
  glBegin__deps: ['$GL11'],
  glBegin: function(mode) { GL11.primitive = mode; GL11.vertices = []; },
  glVertex3f__deps: ['$GL11'],
  glVertex3f: function(x, y, z) {
    var c = GL11.color;
    GL11.vertices.push([x, y, z, c[0], c[1], c[2], c[3]]);
  },
  glEnd__deps: ['$GL11'],
  glEnd: function() {
    var gl = GL11.context(), mode = GL11.primitive, v = GL11.vertices;
    GL11.primitive = -1;
    if (!gl) return;
    var p = GL11.matrices[0x1701] || GL11.identity(), m = GL11.matrices[0x1700] || GL11.identity();
    var pm = GL11.product(p, m, new Float32Array(16));
    // Aliased GL rounds a line's width to whole pixels.
    var width = Math.round(GL11.lineWidth);
    if (mode === 0x0001 && width > 1) {  // GL_LINES, wide
      var data = new Float32Array(Math.floor(v.length / 2) * 6 * 11), n = 0;
      for (var l = 0; l + 1 < v.length; l += 2) {
        var a = v[l], b = v[l + 1];
        [[a, b, -1], [a, b, 1], [b, a, 1], [a, b, -1], [b, a, 1], [b, a, -1]].forEach(function(e) {
          data.set([e[0][0], e[0][1], e[0][2], e[1][0], e[1][1], e[1][2], e[0][3], e[0][4], e[0][5], e[0][6], e[2]],
                   n++ * 11);
        });
      }
      if (n === 0) return;
      if (!GL11.wide) GL11.wide = GL11.wideProgram(gl);
      gl.useProgram(GL11.wide.program);
      gl.uniformMatrix4fv(GL11.wide.where.m, false, pm);
      gl.uniform2f(GL11.wide.where.viewHalf, GL11.viewport[2] / 2, GL11.viewport[3] / 2);
      gl.uniform1f(GL11.wide.where.width, width);
      GL11.draw(gl, GL11.wide, [3, 3, 4, 1], gl.TRIANGLES, data, n);
      return;
    }
    var list = v, glMode;
    if (mode === 0x0001) {  // GL_LINES
      glMode = gl.LINES;
    } else if (mode === 0x0000) {  // GL_POINTS
      glMode = gl.POINTS;
    } else if (mode === 0x0007) {  // GL_QUADS, as two triangles each
      glMode = gl.TRIANGLES;
      list = [];
      for (var q = 0; q + 3 < v.length; q += 4) list.push(v[q], v[q + 1], v[q + 2], v[q], v[q + 2], v[q + 3]);
    } else {
      return;
    }
    if (list.length === 0) return;
    var thin = new Float32Array(list.length * 7);
    for (var i = 0; i < list.length; ++i) thin.set(list[i], i * 7);
    gl.useProgram(GL11.thin.program);
    gl.uniformMatrix4fv(GL11.thin.where.m, false, pm);
    gl.uniform1f(GL11.thin.where.s, GL11.pointSize);
    GL11.draw(gl, GL11.thin, [3, 4], glMode, thin, list.length);
  },

  gluPerspective__deps: ['$GL11'],
  gluPerspective: function(fovy, aspect, near, far) {
    var f = 1 / Math.tan(fovy * Math.PI / 360), depth = near - far;
    GL11.multiply([f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + near) / depth, -1, 0, 0, 2 * far * near / depth, 0]);
  },
  gluLookAt__deps: ['$GL11'],
  gluLookAt: function(ex, ey, ez, cx, cy, cz, ux, uy, uz) {
    function normalize(v) {
      var l = Math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
      return l === 0 ? v : [v[0] / l, v[1] / l, v[2] / l];
    }
    function cross(a, b) { return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]; }
    var f = normalize([cx - ex, cy - ey, cz - ez]);
    var s = normalize(cross(f, [ux, uy, uz]));
    var u = cross(s, f);
    GL11.multiply([s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1]);
    GL11.multiply([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -ex, -ey, -ez, 1]);
  },
});
