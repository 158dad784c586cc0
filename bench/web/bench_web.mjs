// The browser host's figures: load to first frame against a floor page
// that draws the same picture in raw WebGL, in Debian's Chromium (headless)
// and, as information, in Firefox ESR and WebKitGTK (with DISPLAY); the
// bytes a first visit transfers; and pointer motion to frame in Chromium,
// each side by side with the floor in the same browser and run.
// Usage: node bench_web.mjs SITE_DIR NODE_MODULES [--quick]
import { execFileSync, spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { CHROMIUM_ARGS, launchEngine } from '../../tests/web/engines.mjs';

const [site, modules, quick] = process.argv.slice(2);
const { chromium } = createRequire(path.resolve(modules, 'loader.js'))('playwright-core');
const loads = quick ? 1 : 9, motions = quick ? 20 : 1000;
// The page opens with the floor's vector, through its scene link.
const SCENE = '#v=1&r1=0%200%203&o1=1%20-1%200&c1=255%200%20255';

const root = fs.mkdtempSync(path.join(os.tmpdir(), 'arrowbench-bench-'));
fs.symlinkSync(path.resolve(site), path.join(root, 'app'));
fs.mkdirSync(path.join(root, 'floor'));
fs.copyFileSync(path.join(path.dirname(fileURLToPath(import.meta.url)), 'floor.html'), path.join(root, 'floor', 'index.html'));

// Nothing is kept between loads in one profile: every response no-store.
const server = spawn('python3', ['-u', '-c', `
import functools, http.server, sys
class Handler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header('Cache-Control', 'no-store')
        super().end_headers()
    def log_message(self, *args): pass
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=sys.argv[1]))
print('port', server.server_address[1], flush=True)
server.serve_forever()`, root], { stdio: ['ignore', 'pipe', 'ignore'] });
const port = await new Promise((resolve, reject) => {
  let seen = '';
  server.stdout.on('data', (d) => { seen += d; const m = /port (\d+)/.exec(seen); if (m) resolve(m[1]); });
  server.on('exit', (code) => reject(new Error(`http.server exited with ${code}`)));
});
const urls = { app: `http://127.0.0.1:${port}/app/index.html${SCENE}`, floor: `http://127.0.0.1:${port}/floor/index.html` };

// The variant "bare": the page with nothing but the view laid out, at the
// view's size, to show what laying out the controls costs.
function writeVariants(size) {
  const [w, h] = size.split('x');
  const page = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const pages = { bare: page.replace('</style>', 'header, main > :not(canvas) { display: none !important; }\n' +
    `main > canvas { box-sizing: content-box; width: ${w}px; height: ${h}px; min-width: 0; min-height: 0; }\n</style>`) };
  for (const [name, html] of Object.entries(pages)) {
    if (html === page) throw new Error(`${name}: the page's style sheet was not found`);
    fs.mkdirSync(path.join(root, name));
    for (const file of fs.readdirSync(site)) if (file !== 'index.html') fs.symlinkSync(path.resolve(site, file), path.join(root, name, file));
    fs.writeFileSync(path.join(root, name, 'index.html'), html);
    urls[name] = `http://127.0.0.1:${port}/${name}/index.html${SCENE}`;
  }
}

const median = (a) => { const s = [...a].sort((x, y) => x - y); const n = s.length; return n % 2 ? s[(n - 1) / 2] : (s[n / 2 - 1] + s[n / 2]) / 2; };
const percentile = (a, p) => { const s = [...a].sort((x, y) => x - y); return s[Math.max(0, Math.ceil(s.length * p / 100) - 1)]; };
const rows = [];
// Navigation start to the page's steps, where it has them, and to its
// first paint, which the picture and every control are in.
const timings = async () => {
  const painted = () => performance.getEntriesByType('paint')[0];
  while (!painted()) await new Promise((resolve) => setTimeout(resolve, 10));
  const at = (name) => performance.getEntriesByName(name)[0];
  const wasm = performance.getEntriesByType('resource').find((e) => e.name.endsWith('.wasm'));
  const t = { html: performance.getEntriesByType('navigation')[0].responseEnd, wasm: wasm?.responseEnd,
              compiled: at('wasm-compiled')?.startTime, runtime: at('runtime-ready')?.startTime,
              link: at('link-opened')?.startTime, context: at('webgl-context')?.startTime,
              'first frame': at('first-frame').startTime, 'first paint': painted().startTime };
  for (const k in t) if (t[k] === undefined) delete t[k];
  return t;
};
// The view's pixels, read through a 2D canvas, a character a byte.
const picture = () => {
  const c = document.querySelector('canvas'), d = document.createElement('canvas');
  [d.width, d.height] = [c.width, c.height];
  const g = d.getContext('2d');
  g.drawImage(c, 0, 0);
  const bytes = g.getImageData(0, 0, d.width, d.height).data;
  let s = '';
  for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return s;
};
const pictures = {};
const row = (figure, goal, result) => rows.push(`${figure.padEnd(48)} | ${goal.padEnd(22)} | ${result}`);

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_ARGS });
const chromiumBrowser = browser;
try {
  // The floor's canvas takes the size the page gives its view in the same
  // window.
  {
    const page = await browser.newPage();
    await page.goto(urls.app);
    await page.waitForSelector('html[data-ready]');
    urls.floor += `?size=${await page.evaluate(() => `${Module.canvas.clientWidth}x${Module.canvas.clientHeight}`)}`;
    await page.close();
  }
  // Load to first frame, from the navigation's start, in a fresh context
  // (empty cache) each time, the pages taking turns; and for the page,
  // where the time went: its HTML in, the wasm compiled, the runtime
  // started, the link opened, the context made (the page's own marks).
  // The full run also loads a variant of the page that no user gets, to
  // show what the layout costs: the page with none of its controls laid
  // out.
  const turns = quick ? ['app', 'floor'] : ['app', 'bare', 'floor'];
  if (!quick) writeVariants(`${urls.floor.split('?size=')[1]}`);
  const loadTurns = async (browser, turns) => {
    const first = {}, steps = {}, paint = {};
    for (let i = 0; i < loads; ++i) {
      for (const which of turns) {
        const context = await browser.newContext();
        const page = await context.newPage();
        await page.goto(urls[which]);
        await page.waitForSelector('html[data-ready]');
        const t = await page.evaluate(timings);
        (first[which] ??= []).push(t['first frame']);
        (paint[which] ??= []).push(t['first paint']);
        if (which === 'app') for (const k in t) (steps[k] ??= []).push(t[k]);
        if (i === 0 && browser === chromiumBrowser) pictures[which] = await page.evaluate(picture);
        await context.close();
      }
    }
    return { first, steps, paint };
  };
  const ratio = (first, which) => {
    const [a, f] = [median(first[which]), median(first.floor)];
    return `${(a / f).toFixed(2)}x (${a.toFixed(0)} ms vs ${f.toFixed(0)} ms, medians of ${loads})`;
  };
  const { first, steps, paint } = await loadTurns(browser, turns);
  row('load to first frame / floor (Chromium)', '<= 1.5x', ratio(first, 'app'));
  row('... to first paint / the floor\'s (Chromium)', '(information)', ratio(paint, 'app'));
  row('the page\'s load, medians (Chromium)', '(reported)',
      Object.entries(steps).map(([k, v]) => `${k} ${median(v).toFixed(0)}`).join(', ') + ' ms');
  if (!quick) {
    row('... the page, its controls not laid out / floor', '(information)', ratio(first, 'bare'));
    // V8 compiles a module's functions at their first call, on the main
    // thread: the link and the first frame are the first calls of most.
    // Told to compile them all at load, it shows what that costs: the
    // steps after the runtime's start, each a median of its own.
    const eager = await chromium.launch({ executablePath: '/usr/bin/chromium',
                                          args: [...CHROMIUM_ARGS, '--js-flags=--no-wasm-lazy-compilation'] });
    try {
      const atLoad = (await loadTurns(eager, ['app'])).steps;
      const after = (s) => [['runtime', 'link'], ['link', 'context'], ['context', 'first frame']]
        .map(([a, b]) => `${b} +${median(s[b].map((t, j) => t - s[a][j])).toFixed(0)}`).join(', ');
      row('the page\'s steps after its runtime starts', '(information)',
          `wasm compiled at first call: ${after(steps)} ms; all at load: ${after(atLoad)} ms`);
    } finally {
      await eager.close();
    }
  }
  for (const which of turns.filter((w) => w !== 'floor')) {
    let differ = Math.abs(pictures[which].length - pictures.floor.length);
    for (let i = 0; i < Math.min(pictures[which].length, pictures.floor.length); ++i) differ += pictures[which][i] !== pictures.floor[i];
    row(`the floor's picture against ${which === 'app' ? 'the page' : which}'s`, 'the same', `${differ} of ${pictures[which].length} RGBA bytes differ`);
  }

  // What a first visit transfers, by GNU gzip -9 (no name kept), and by
  // zlib at level 9, which servers use: the page (its scripts and the wasm
  // inline), any script it names, the manifest, and the service worker it
  // registers (the icons come later).
  const page = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const files = ['index.html', ...[...page.matchAll(/<script src="([^"]+)"/g)].map((m) => m[1]),
                 'manifest.webmanifest', 'sw.js'];
  const sizes = files.map((n) => execFileSync('gzip', ['-9', '-n', '-c', path.join(site, n)]).length);
  const total = sizes.reduce((x, y) => x + y, 0);
  const byZlib = files.reduce((sum, n) => sum + zlib.gzipSync(fs.readFileSync(path.join(site, n)), { level: 9 }).length, 0);
  row('bytes a first visit fetches, gzip -9', '<= 46 KiB', `${(total / 1024).toFixed(1)} KiB (${files.map((n, i) => `${n} ${sizes[i]}`).join(', ')}; zlib ${(byZlib / 1024).toFixed(1)} KiB)`);

  // The worksheet: a command (CrossProduct, as the hosts run it, its entry
  // typeset) with 1,000 entries kept against one with none (cleared before
  // each batch), alone and with the frame that shows it (its style, layout
  // and paint: from the frame's start to the task after it). Batches take
  // turns, each after a pause (the worksheet kept, its dropped entries
  // taken out, the last frame drawn), so that neither pays for the other's.
  // Then the first frame with a kept worksheet of 1,000 entries against none.
  {
    // Pages of their own, so that neither keeps its worksheet over the other's.
    const open = async () => {
      const page = await (await browser.newContext()).newPage();
      await page.goto(urls.app);
      await page.waitForSelector('html[data-ready]');
      return page;
    };
    const cleared = await open(), full = await open();
    await full.evaluate(() => { while (document.querySelectorAll('#worksheet li').length < 1000) Module._arrowbench_command(1008); });
    const batch = (page, clear, frames) => page.evaluate(async ([n, clear, frames]) => {
      if (clear) document.getElementById('clear-worksheet').click();
      await new Promise((resolve) => setTimeout(resolve, 700));
      await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
      let spent = 0;
      for (let i = 0; i < n; ++i) {
        const start = performance.now();
        Module._arrowbench_command(1008);
        spent += performance.now() - start;
        if (!frames) continue;
        const drawing = await new Promise((resolve) => requestAnimationFrame(resolve));
        const channel = new MessageChannel();
        await new Promise((resolve) => { channel.port1.onmessage = resolve; channel.port2.postMessage(0); });
        spent += performance.now() - drawing;
      }
      return spent / n;
    }, [n, clear, frames]);
    const n = quick ? 5 : 50;
    for (const frames of [false, true]) {
      const a = [], b = [];
      for (let round = 0; round < (quick ? 1 : frames ? 15 : 30); ++round) {
        a.push(await batch(cleared, true, frames));
        b.push(await batch(full, false, frames));
      }
      const us = (t) => (t * 1000).toFixed(0);
      row(`a command${frames ? ' and its frame' : ''}, 1,000 entries / none (Chromium)`, frames ? '(information)' : '<= 1.1x',
          `${(median(b) / median(a)).toFixed(2)}x (${us(median(b))} us vs ${us(median(a))} us, medians of ${a.length} batches of ${n})`);
    }
    // What the pause costs: the entries 50 commands let go, taken out.
    const tidy = await full.evaluate(async () => {
      for (let i = 0; i < 50; ++i) Module._arrowbench_command(1008);
      await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
      const start = performance.now();
      tidyEntries();
      return performance.now() - start;
    });
    row('50 dropped entries taken out, in a pause', '(information)', `${tidy.toFixed(1)} ms`);
    await full.evaluate(() => Module._arrowbench_keep_worksheet());
    const kept = await full.evaluate(() => localStorage.getItem('arrowbench-worksheet'));
    await cleared.context().close();
    await full.context().close();
    // Loads with and without take turns, so that drift falls on both.
    const firstFrame = async (stored) => {
      const context = await browser.newContext();
      if (stored) await context.addInitScript((text) => localStorage.setItem('arrowbench-worksheet', text), stored);
      const page = await context.newPage();
      await page.goto(urls.app);
      await page.waitForSelector('html[data-ready]');
      const time = await page.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime);
      if (stored && await page.evaluate(() => document.querySelectorAll('#worksheet li').length) !== 1000)
        throw new Error('the kept worksheet was not read back whole');
      await context.close();
      return time;
    };
    const alternations = quick ? 1 : 2 * loads + 1, nones = [], thousands = [];
    for (let i = 0; i < alternations; ++i) {
      nones.push(await firstFrame(''));
      thousands.push(await firstFrame(kept));
    }
    const none = median(nones), thousand = median(thousands);
    row('first frame, 1,000 entries kept / none (Chromium)', '<= 1.1x',
        `${(thousand / none).toFixed(2)}x (${thousand.toFixed(0)} ms vs ${none.toFixed(0)} ms, medians of ${alternations})`);
  }

  // Motion to frame: from the motion event's time stamp to the frame's
  // drawing calls returning, during a left drag of `motions` 1 px moves.
  const latency = {};
  for (const which of ['app', 'floor']) {
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(urls[which]);
    await page.waitForSelector('html[data-ready]');
    await page.evaluate((which) => {
      window.bench = { last: 0, frames: [] };
      window.addEventListener('pointermove', (e) => { bench.last = e.timeStamp; }, true);
      // Only motions during the drag draw: those are counted.
      const dragging = which === 'app' ? () => Module._arrowbench_camera(4) !== 0 : () => window.dragging;
      const wrap = (owner, name) => {
        const inner = owner[name];
        owner[name] = function() {
          const drawing = dragging();
          const r = inner.apply(this, arguments);
          if (drawing) bench.frames.push(performance.now() - bench.last);
          return r;
        };
      };
      // The first call binds the export for good, over any wrapper: make
      // it here, with no drag it does nothing.
      if (which === 'app') { Module._arrowbench_motion(0, 0); wrap(Module, '_arrowbench_motion'); }
      else wrap(window, 'frame');
    }, which);
    const box = await page.locator('canvas').boundingBox();
    await page.mouse.move(box.x + 100, box.y + 100);
    await page.mouse.down();
    for (let i = 1; i <= motions; ++i) await page.mouse.move(box.x + 100 + (i % 300), box.y + 100 + (i % 200));
    await page.mouse.up();
    latency[which] = await page.evaluate(() => bench.frames);
    await context.close();
  }
  const p99 = percentile(latency.app, 99), floor = median(latency.floor);
  row(`frames per drag motion (${motions} motions)`, 'exactly 1', `${latency.app.length} frames / ${motions} motions`);
  row('motion to frame p99 / floor frame median', '<= 2x', `${(p99 / floor).toFixed(2)}x (${(p99 * 1000).toFixed(0)} us, median ${(median(latency.app) * 1000).toFixed(0)}, vs ${(floor * 1000).toFixed(0)} us)`);

  // The same load in the other engines, as information: one browser each,
  // the pages in turns, the page's service worker and its cache dropped
  // after each load so that the next is as fresh. The quick run leaves
  // them out: the web test drives both through the same driver.
  for (const name of quick ? [] : ['firefox', 'webkit']) {
    const engine = await launchEngine(name, modules);
    try {
      const times = { app: [], floor: [] };
      for (let i = 0; i < loads; ++i) {
        for (const which of ['app', 'floor']) {
          await engine.goto(urls[which]);
          for (let wait = 0; !(await engine.evaluate(() => !!document.documentElement.dataset.ready)); ++wait) {
            if (wait > 300) throw new Error(`${name}: ${which} never ready`);
            await new Promise((r) => setTimeout(r, 100));
          }
          times[which].push(await engine.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime));
          await engine.evaluate(async () => {
            for (const r of await navigator.serviceWorker?.getRegistrations() ?? []) await r.unregister();
            for (const k of await caches.keys()) await caches.delete(k);
          });
          await engine.goto('about:blank');
        }
      }
      const [a, f] = [median(times.app), median(times.floor)];
      row(`load to first frame / floor (${name})`, '(reported)', `${(a / f).toFixed(2)}x (${a.toFixed(0)} ms vs ${f.toFixed(0)} ms, medians of ${loads})`);
    } finally {
      await engine.close();
    }
  }
} finally {
  await browser.close();
  server.kill();
  fs.rmSync(root, { recursive: true, force: true });
}
console.log(`${'figure'.padEnd(48)} | ${'goal'.padEnd(22)} | result`);
console.log(rows.join('\n'));
