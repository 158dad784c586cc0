// Lighthouse's mobile audit of the page, in Debian's Chromium: the scores
// of accessibility, best practices, SEO and performance, and every audit
// that kept a score from 100, three runs in a row; then the performance
// score and the total blocking time of each run against their goals. An
// audit, not a test: nothing is asserted. --quick: accessibility, once.
// Usage: node lighthouse.mjs SITE_DIR NODE_MODULES [--quick]
import { spawn } from 'node:child_process';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [site, modules, quick] = process.argv.slice(2);
const load = (file) => import(pathToFileURL(path.resolve(modules, file)).href);
const { default: lighthouse } = await load('lighthouse/core/index.js');
const chromeLauncher = await load('chrome-launcher/dist/index.js');

const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0', '--directory', site],
                     { stdio: ['ignore', 'pipe', 'ignore'] });
const port = await new Promise((resolve, reject) => {
  let seen = '';
  server.stdout.on('data', (d) => { seen += d; const m = /port (\d+)/.exec(seen); if (m) resolve(m[1]); });
  server.on('exit', (code) => reject(new Error(`http.server exited with ${code}`)));
});

const categories = ['accessibility', 'best-practices', 'seo', 'performance'];
// The full run audits three times in a row: the performance goal holds
// only if it holds in each.
const runs = quick ? 1 : 3;
const scores = [], blocking = [];
let chrome;
try {
  // The tests' flags: no network but the loopback, WebGL on SwiftShader.
  chrome = await chromeLauncher.launch({
    chromePath: process.env.CHROME_PATH || '/usr/bin/chromium',
    chromeFlags: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  });
  for (let run = 1; run <= runs; ++run) {
    // Lighthouse's default: a mid-range phone, its network and CPU
    // throttled by simulation.
    const { lhr } = await lighthouse(`http://127.0.0.1:${port}/index.html`,
                                     { port: chrome.port, logLevel: 'error', onlyCategories: quick ? categories.slice(0, 1) : categories });
    console.log(`Lighthouse ${lhr.lighthouseVersion}, mobile, ${lhr.environment.hostUserAgent.match(/Chrome\/[\d.]+/)}, run ${run} of ${runs}`);
    for (const id of Object.keys(lhr.categories)) {
      const c = lhr.categories[id];
      console.log(`${c.title.padEnd(16)} ${Math.round(c.score * 100)}`);
      for (const ref of c.auditRefs) {
        const a = lhr.audits[ref.id];
        if (ref.weight > 0 && a.score !== null && a.score < 1)
          console.log(`  ${a.id}: ${a.score}${a.displayValue ? ` (${a.displayValue})` : ''}`);
      }
    }
    if (lhr.categories.performance) {
      scores.push(Math.round(lhr.categories.performance.score * 100));
      blocking.push(Math.round(lhr.audits['total-blocking-time'].numericValue));
      // Where the blocking comes from: the main thread's long tasks, as
      // simulated on the phone.
      const tasks = lhr.audits['long-tasks'].details?.items ?? [];
      console.log(`  first contentful paint at ${Math.round(lhr.audits['first-contentful-paint'].numericValue)} ms; long tasks: ${
        tasks.map((t) => `${Math.round(t.duration)} ms at ${Math.round(t.startTime)}`).join(', ') || 'none'}`);
    }
  }
  if (scores.length) {
    console.log(`${'performance'.padEnd(48)} | ${'100 in each run'.padEnd(22)} | ${scores.join(' / ')}`);
    console.log(`${'total blocking time (ms)'.padEnd(48)} | ${'< 50 in each run'.padEnd(22)} | ${blocking.join(' / ')}`);
  }
} finally {
  if (chrome) await chrome.kill();
  server.kill();
}
