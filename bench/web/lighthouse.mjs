// Lighthouse's mobile audit of the page, in Debian's Chromium: the scores
// of accessibility, best practices, SEO and performance, and every audit
// that kept a score from 100. An audit, not a test: nothing is asserted.
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
let chrome;
try {
  // The tests' flags: no network but the loopback, WebGL on SwiftShader.
  chrome = await chromeLauncher.launch({
    chromePath: process.env.CHROME_PATH || '/usr/bin/chromium',
    chromeFlags: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  });
  // Lighthouse's default: a mid-range phone, its network and CPU throttled
  // by simulation.
  const { lhr } = await lighthouse(`http://127.0.0.1:${port}/index.html`,
                                   { port: chrome.port, logLevel: 'error', onlyCategories: quick ? categories.slice(0, 1) : categories });
  console.log(`Lighthouse ${lhr.lighthouseVersion}, mobile, ${lhr.environment.hostUserAgent.match(/Chrome\/[\d.]+/)}`);
  for (const id of Object.keys(lhr.categories)) {
    const c = lhr.categories[id];
    console.log(`${c.title.padEnd(16)} ${Math.round(c.score * 100)}`);
    for (const ref of c.auditRefs) {
      const a = lhr.audits[ref.id];
      if (ref.weight > 0 && a.score !== null && a.score < 1)
        console.log(`  ${a.id}: ${a.score}${a.displayValue ? ` (${a.displayValue})` : ''}`);
    }
  }
} finally {
  if (chrome) await chrome.kill();
  server.kill();
}
