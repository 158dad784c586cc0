// The browser host's figures, in Debian's Chromium, headless: load to first
// frame against a floor page that only clears a WebGL canvas of the same
// size, the bytes a first visit transfers, and pointer motion to frame,
// each side by side with the floor in the same browser and run.
// Usage: node bench_web.mjs SITE_DIR NODE_MODULES [--quick]
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';

const [site, modules, quick] = process.argv.slice(2);
const { chromium } = createRequire(path.resolve(modules, 'loader.js'))('playwright-core');
const loads = quick ? 1 : 7, motions = quick ? 20 : 1000;

const root = fs.mkdtempSync(path.join(os.tmpdir(), 'arrowbench-bench-'));
fs.symlinkSync(path.resolve(site), path.join(root, 'app'));
fs.mkdirSync(path.join(root, 'floor'));
fs.copyFileSync(path.join(path.dirname(fileURLToPath(import.meta.url)), 'floor.html'), path.join(root, 'floor', 'index.html'));

const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0', '--directory', root],
                     { stdio: ['ignore', 'pipe', 'ignore'] });
const port = await new Promise((resolve, reject) => {
  let seen = '';
  server.stdout.on('data', (d) => { seen += d; const m = /port (\d+)/.exec(seen); if (m) resolve(m[1]); });
  server.on('exit', (code) => reject(new Error(`http.server exited with ${code}`)));
});
const urls = { app: `http://127.0.0.1:${port}/app/index.html`, floor: `http://127.0.0.1:${port}/floor/index.html` };

const median = (a) => { const s = [...a].sort((x, y) => x - y); const n = s.length; return n % 2 ? s[(n - 1) / 2] : (s[n / 2 - 1] + s[n / 2]) / 2; };
const percentile = (a, p) => { const s = [...a].sort((x, y) => x - y); return s[Math.max(0, Math.ceil(s.length * p / 100) - 1)]; };
const rows = [];
const row = (figure, goal, result) => rows.push(`${figure.padEnd(48)} | ${goal.padEnd(22)} | ${result}`);

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
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
  // (empty cache) each time, the two pages taking turns.
  const first = { app: [], floor: [] };
  for (let i = 0; i < loads; ++i) {
    for (const which of ['app', 'floor']) {
      const context = await browser.newContext();
      const page = await context.newPage();
      await page.goto(urls[which]);
      await page.waitForSelector('html[data-ready]');
      first[which].push(await page.evaluate(() => performance.getEntriesByName('first-frame')[0].startTime));
      await context.close();
    }
  }
  const [a, f] = [median(first.app), median(first.floor)];
  row('load to first frame / floor (Chromium)', '<= 2x', `${(a / f).toFixed(2)}x (${a.toFixed(0)} ms vs ${f.toFixed(0)} ms, medians of ${loads})`);

  // What a first visit transfers, gzip -9 as a server would send it.
  const files = ['index.html', 'page.js', 'view.js', 'arrowbench.js', 'arrowbench.wasm'];
  const sizes = files.map((n) => zlib.gzipSync(fs.readFileSync(path.join(site, n)), { level: 9 }).length);
  const total = sizes.reduce((x, y) => x + y, 0);
  row('bytes of page, scripts and wasm, gzip -9', '<= 64 KiB', `${(total / 1024).toFixed(1)} KiB (${files.map((n, i) => `${n} ${sizes[i]}`).join(', ')})`);

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
} finally {
  await browser.close();
  server.kill();
  fs.rmSync(root, { recursive: true, force: true });
}
console.log(`${'figure'.padEnd(48)} | ${'goal'.padEnd(22)} | result`);
console.log(rows.join('\n'));
