// One driver over the browser engines Debian ships beside Chromium (which
// the tests drive through playwright-core, with CHROMIUM_ARGS), for the
// checks every engine must pass: a page, a script run in it (awaited if it
// gives a promise), and a real click. Firefox ESR through puppeteer-core
// over WebDriver BiDi, WebKitGTK's MiniBrowser through selenium-webdriver
// and WebKitWebDriver. Both draw WebGL only with a window, so they need
// DISPLAY.
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import net from 'node:net';
import path from 'node:path';

// Chromium's flags: no network of its own, WebGL on SwiftShader.
export const CHROMIUM_ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader'];
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer();
    s.on('error', reject);
    s.listen(0, '127.0.0.1', () => { const { port } = s.address(); s.close(() => resolve(port)); });
  });
}

// A driver: goto(url); evaluate(fn, arg), fn a function of one JSON
// argument, its JSON result back, as Playwright's pages do; click(selector),
// a real click; errors(), the page errors since the last call; close().
function pageDriver(name, page, close) {
  const seen = [];
  page.on('pageerror', (e) => seen.push(e.message));
  return { name, goto: (url) => page.goto(url), evaluate: (fn, arg) => page.evaluate(fn, arg),
           click: (selector) => page.click(selector), errors: async () => seen.splice(0), close };
}

export async function launchEngine(name, modules) {
  const load = createRequire(path.resolve(modules, 'loader.js'));
  if (name === 'firefox') {
    const browser = await load('puppeteer-core').launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
      extraPrefsFirefox: { 'browser.shell.checkDefaultBrowser': false } });
    return pageDriver(name, await browser.newPage(), () => browser.close());
  }
  const { Builder, By } = load('selenium-webdriver');
  const port = await freePort();
  const server = spawn('WebKitWebDriver', [`--port=${port}`, '--host=127.0.0.1'], { stdio: 'ignore' });
  try {
    let wd;
    for (let tries = 0; !wd; ++tries) {
      try {
        wd = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
          browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
        }).build();
      } catch (e) {
        if (tries >= 20) throw e;  // the driver takes a moment to listen
        await new Promise((r) => setTimeout(r, 250));
      }
    }
    // WebDriver reports no page errors: a listener put in at each load
    // keeps them for errors().
    return {
      name,
      goto: async (url) => {
        await wd.get(url);
        await wd.executeScript('window.__errors = []; addEventListener("error", (e) => __errors.push(e.message));');
      },
      evaluate: async (fn, arg) => {
        const r = await wd.executeAsyncScript(`const done = arguments[arguments.length - 1];
          Promise.resolve().then(() => (${fn})(arguments[0])).then((v) => done({ v }), (e) => done({ e: String(e) }));`, arg);
        if ('e' in r) throw new Error(r.e);
        return r.v;
      },
      click: async (selector) => wd.findElement(By.css(selector)).click(),
      errors: () => wd.executeScript('return (window.__errors || []).splice(0);'),
      close: async () => { try { await wd.quit(); } finally { server.kill(); } },
    };
  } catch (e) {
    server.kill();
    throw e;
  }
}
