// The browser host in Debian's Chromium, headless: the page from the
// template, its tab order and keys, the commands and Redraw on the shared
// case tables, through real clicks and key presses; the same tables and
// the picture in Firefox ESR and WebKitGTK too.
// Usage: node test_web.mjs SITE_DIR CASES_JSON NODE_MODULES CHECK_SHOT_JS WORK_DIR NAMES_MJS
import { spawn, spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { CHROMIUM_ARGS, launchEngine } from './engines.mjs';

const [site, casesPath, modules, checkShot, work, namesPath] = process.argv.slice(2);
// The template's control names and ViewKey, as the build wrote them for the page.
const {
  ID_V1, ID_V2, ID_S1, ID_V3, ID_S2, ID_ADD, ID_SUB, ID_CROSS_PRODUCT, ID_NORMALIZE, ID_LENGTH, ID_VIEW, ID_REDRAW,
  ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR, ID_ROW_INVERSE, ROW_STRIDE, ViewKey,
} = await import(pathToFileURL(namesPath).href);
const require = createRequire(path.resolve(modules, 'loader.js'));
const { chromium } = require('playwright-core');
const cases = JSON.parse(fs.readFileSync(casesPath, 'utf8'));

let passed = 0, failed = 0, context = '', engine = 'chromium';
function check(ok, what) {
  if (ok) { ++passed; return; }
  ++failed;
  console.log(`FAIL ${engine}: ${what}${context ? `  [case: ${JSON.stringify(context)}]` : ''}`);
}
function same(actual, expected, what) {
  check(actual === expected, `${what} is ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// The page's own server, on a free port that it picks and names.
function serve(dir) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0', '--directory', dir],
                       { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = new Promise((resolve, reject) => {
    let seen = '';
    server.stdout.on('data', (d) => {
      seen += d;
      const m = /port (\d+)/.exec(seen);
      if (m) resolve(Number(m[1]));
    });
    server.on('exit', (code) => reject(new Error(`http.server exited with ${code}`)));
  });
  return { server, port };
}

const field = (id) => `[data-id="${id}"]`;
// The on-view buttons in the page's order, each with the key it stands for.
const VIEW_BUTTONS = [['Rotate left', ViewKey.left], ['Rotate right', ViewKey.right], ['Rotate up', ViewKey.up],
  ['Rotate down', ViewKey.down], ['Zoom in', ViewKey.zoom_in], ['Zoom out', ViewKey.zoom_out], ['Reset view', ViewKey.reset]];
const row = (id, i) => id + ROW_STRIDE * i;
// The judged pictures' first row, one arrow from an offset; alone, with
// the other rows' vectors cleared.
const ARROW = { [ID_ROW_VECTOR]: '0 0 3', [ID_ROW_OFFSET]: '1 -1 0', [ID_ROW_COLOR]: '255 0 255' };
const ARROW_ALONE = { ...ARROW, [row(ID_ROW_VECTOR, 1)]: '0 0 0', [row(ID_ROW_VECTOR, 2)]: '0 0 0' };

async function setFields(page, texts) {
  // As a paste would: the whole text at once. Returns what each field then
  // holds, which differs where the browser cannot hold the text.
  return page.evaluate((texts) => Object.entries(texts).map(([id, text]) => {
    const f = document.querySelector(`[data-id="${id}"]`);
    f.value = text;
    return [id, f.value];
  }), texts);
}
const getField = (page, id) => page.evaluate((id) => document.querySelector(`[data-id="${id}"]`).value, id);
const waitReady = async (page) => {
  for (let i = 0; i < 300 && !(await page.evaluate(() => document.documentElement.dataset.ready === 'true')); ++i)
    await new Promise((r) => setTimeout(r, 100));
};

async function checkLayout(page) {
  same(await page.title(), 'Arrowbench', 'title');
  // The template's order, but for the view: it follows Redraw, where Tab reaches it.
  const ids = await page.evaluate(() => [...document.querySelectorAll('[data-id]')].map((e) => Number(e.dataset.id)));
  const order = cases.controls.filter((id) => id !== ID_VIEW);
  order.splice(order.indexOf(ID_REDRAW) + 1, 0, ID_VIEW);
  order.splice(order.indexOf(ID_LENGTH) + 1, 0, cases.show_id, cases.use_id, cases.undo_id, cases.redo_id);
  const ids_before_clear = ids.filter((id) => id !== cases.clear_id);
  same(JSON.stringify(ids_before_clear), JSON.stringify(order), 'controls in template order, Show calculation, Use result, Undo and Redo after Length, the view after Redraw');
  same(ids[ids.length - 1], cases.clear_id, 'Clear worksheet last');
  // Every field and check box has a name of its own; the group boxes are
  // groups with their captions; the view has a text alternative.
  const names = await page.evaluate(() => [...document.querySelectorAll('input')].map((e) => e.getAttribute('aria-label')));
  check(names.every((n) => n) && new Set(names).size === names.length, `unique field names: ${names}`);
  same(await page.getByRole('textbox', { name: 'V1', exact: true }).getAttribute('data-id'), String(ID_V1), 'field named V1');
  same(await page.getByRole('textbox', { name: 'Color 3', exact: true }).getAttribute('data-id'),
       String(row(ID_ROW_COLOR, 2)), 'field named Color 3');
  same(await page.getByRole('checkbox', { name: 'Inverse 2', exact: true }).getAttribute('data-id'),
       String(row(ID_ROW_INVERSE, 1)), 'box named Inverse 2');
  same(await page.getByRole('group', { name: 'View', exact: true }).count(), 1, 'group View');
  check((await page.getByRole('application').getAttribute('aria-label') || '').length > 0, 'the view has a text alternative');
  // In Chromium's own accessibility tree each button stands in the group
  // boxes round it, as a screen reader finds it.
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const groups = (name) => {
    const out = [];
    for (let n = nodes.find((x) => x.role.value === 'button' && x.name?.value === name); n; n = byId.get(n.parentId))
      if (n.role.value === 'group') out.push(n.name.value);
    return out.join(' in ');
  };
  same(groups('Add'), 'Vec3 in Vec1 | Vec2', 'groups round Add');
  same(groups('Length'), 'Scalar2 in Vec1', 'groups round Length');
  same(groups('Redraw'), 'View', 'groups round Redraw');
  same(groups('Zoom in'), 'View', 'groups round Zoom in');
  await cdp.detach();
}

// The template's tab stops, then the view and its buttons, each a pointer
// target of 24 CSS pixels or more.
async function checkTabOrder(page) {
  same(await page.evaluate(() => Number(document.activeElement.dataset.id)), cases.tab_stops[0], 'focus at start');
  const expected = [...cases.tab_stops, cases.controls[0], ...VIEW_BUTTONS.map(([name]) => name)], order = [];
  expected.splice(expected.indexOf(ID_LENGTH) + 1, 0, cases.show_id, cases.use_id);
  for (let i = 0; i < expected.length; ++i) {
    order.push(await page.evaluate(() => {
      const e = document.activeElement, box = e.getBoundingClientRect();
      return e.dataset.id ? Number(e.dataset.id) : box.width >= 24 && box.height >= 24 && e.getAttribute('aria-label');
    }));
    await page.keyboard.press('Tab');
  }
  same(JSON.stringify(order), JSON.stringify(expected), 'tab order');
}

// Show calculation after each command of the core's table (the first
// case before any command): the working, the rows and the boxes it
// clears; then the picture holds the rows' three colours.
async function checkShowCalculation(page, { fresh = true } = {}) {
  for (const c of cases.show.filter((c) => fresh || c.command)) {
    context = c;
    await setFields(page, { [ID_V1]: c.v1, [ID_V2]: c.v2, [ID_S1]: c.s1 });
    await page.evaluate(() => document.querySelectorAll('input[type=checkbox]').forEach((b) => { b.checked = true; }));
    if (c.command) await page.click(field(c.command));
    await checkTypeset(page, c.working);
    await showCalculation(page);
    same(JSON.stringify(await rows(page)), JSON.stringify(c.rows), 'the rows');
    same(await page.evaluate(() => document.querySelectorAll('input[type=checkbox]:checked').length), 0, 'boxes checked');
  }
  context = '';
  // The README's example from the start camera, which looks along V2 − V1:
  // the picture is framed and turned, each vector whole and apart. Then
  // the start camera again, for what follows.
  const reset = () => page.evaluate(() => document.querySelector('#view-buttons [aria-label="Reset view"]').click());
  await reset();
  const cross = cases.show.find((c) => c.command === ID_CROSS_PRODUCT);
  await setFields(page, { [ID_V1]: cross.v1, [ID_V2]: cross.v2 });
  await page.click(field(ID_CROSS_PRODUCT));
  await showCalculation(page);
  await checkShownColours(page, `${engine}-show.ppm`, 40);
  await reset();
}

// Show calculation, and the page still again: it may scroll the view into
// sight, smoothly, and a click meanwhile would land where the page was.
async function showCalculation(page) {
  await page.click('#show-calculation');
  for (let last = -1, now; (now = await page.evaluate(() => scrollY)) !== last; last = now)
    await new Promise((done) => setTimeout(done, 150));
}

// The working typeset: each formula's <math> holds its clause as alttext,
// and where the working has a root or a fraction, one is drawn as such (a
// radical wider than what it covers, a bar stacking two rows).
async function checkTypeset(page, working) {
  const t = await page.evaluate(() => {
    const box = (e) => e.getBoundingClientRect();
    const all = (s) => [...document.querySelectorAll(`#working ${s}`)];
    return { text: document.getElementById('working').dataset.text,
             alt: all('.clause').map((c) => [...c.querySelectorAll('math')].map((m) => m.getAttribute('alttext')).join(' ')),
             roots: all('msqrt').filter((e) => box(e).width > box(e.firstElementChild).width + 2).length,
             fractions: all('mfrac').filter((e) => box(e).height > 1.5 * box(e.firstElementChild).height).length };
  });
  same(t.text, working, 'the working');
  same(t.alt.filter((a) => a).join('; '), working.split('; ').filter((s) => !s.startsWith('no ')).join('; '),
       'the formulas\' alttext');
  if (working.includes('\u221a')) check(t.roots > 0, 'a root drawn as a root');
  if (/\d\/\d/.test(working)) check(t.fractions > 0, 'a fraction drawn as a fraction');
}

// Every working of the tables as the core typesets it: each clause's
// MathML parses as XML and its <math>s read out as its plain text, and
// KaTeX, a real TeX parser, takes each formula of the LaTeX.
async function checkNotation(page) {
  const katex = require('katex');
  for (const w of cases.workings) {
    context = w.text;
    const clauses = await page.evaluate((xml) => {
      const doc = new DOMParser().parseFromString(`<working>${xml}</working>`, 'application/xml');
      if (doc.querySelector('parsererror')) return null;
      return [...doc.documentElement.children].map((c) => {
        const maths = [...c.getElementsByTagName('math')];
        return maths.length ? maths.map((m) => m.getAttribute('alttext')).join(' ') : c.textContent;
      });
    }, w.mathml);
    check(clauses !== null, 'the MathML parses as XML');
    if (clauses) same(clauses.join('; '), w.text, 'the clauses read out');
    const formulas = w.latex.match(/\$[^$]*\$/g) || [];
    same(formulas.length, w.text.split('; ').filter((c) => !c.startsWith('no ')).length, 'formulas in the LaTeX');
    for (const f of formulas) {
      try {
        katex.renderToString(f.slice(1, -1), { throwOnError: true });
        ++passed;
      } catch (e) {
        check(false, `KaTeX rejects ${f}: ${e.message}`);
      }
    }
  }
  context = '';
}

// The worksheet in one session: entries as commands run, Undo and Redo by
// button and key (a field's own typing undone first), Recall, the list kept
// across a reload and printed alone, Clear; a kept worksheet that cannot
// be read set aside with a word, a full storage quota said.
async function checkWorksheet(browser, url) {
  const context = await browser.newContext({ permissions: ['clipboard-read', 'clipboard-write'] });
  const page = await context.newPage();
  page.on('pageerror', (e) => check(false, `page error: ${e.message}`));
  const load = async (how) => { await how(); await page.waitForSelector('html[data-ready]', { timeout: 30000 }); };
  await load(() => page.goto(url));
  const entries = () => page.$$eval('#worksheet > li', (items) => items.map((e) => e.firstChild.textContent));
  const v3 = () => getField(page, ID_V3);
  const add = 'Add of V1 = 1 2 3, V2 = 4 5 6: V3 = 5 7 9', cross = 'CrossProduct of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 6 -3';
  const listed = JSON.stringify([`1. ${add}`, `2. ${cross}`]);
  check(await page.isDisabled('#undo') && await page.isDisabled('#redo'), 'nothing to undo or redo at first');
  await setFields(page, { [ID_V1]: '1 2 3', [ID_V2]: '4 5 6' });
  await page.click(field(ID_ADD));
  await page.click(field(ID_CROSS_PRODUCT));
  same(JSON.stringify(await entries()), listed, 'the entries');
  same(await page.$$eval('#worksheet > li:last-child math', (m) => m.map((e) => e.getAttribute('alttext')).join(' ')),
       cases.show.find((c) => c.command === ID_CROSS_PRODUCT).working.replace('; ', ' '), 'an entry\'s working typeset');
  await page.click('#undo');
  same(await v3(), '5 7 9', 'Undo');
  check(!(await page.isDisabled('#redo')), 'Redo once there is something to redo');
  await page.click('#redo');
  same(await v3(), '-3 6 -3', 'Redo');
  await page.focus(field(ID_V2));
  for (const [key, want] of [['Control+Z', '5 7 9'], ['Control+Shift+Z', '-3 6 -3'], ['Control+Z', '5 7 9'],
                             ['Control+Y', '-3 6 -3']]) {
    await page.keyboard.press(key);
    same(await v3(), want, key);
  }
  await page.keyboard.type('7');
  await page.keyboard.press('Control+Z');
  same(await getField(page, ID_V2), '4 5 6', 'the field\'s own typing undone first');
  same(await v3(), '-3 6 -3', 'and no step with it');
  same(JSON.stringify(await entries()), listed, 'Undo and Redo add no entry');
  const recall = await page.$('#worksheet > li:first-child .recall');
  same(await recall.getAttribute('aria-label'), `Recall 1. ${add}`, 'Recall\'s name');
  await recall.click();
  same(await v3(), '5 7 9', 'Recall\'s result');
  same((await rows(page))[6], '5 7 9', 'Recall draws the entry');
  await page.click('#copy-worksheet');
  same(await page.evaluate(() => navigator.clipboard.readText()),
       `1. ${add}\nV1 + V2 = (1 + 4, 2 + 5, 3 + 6) = (5, 7, 9)\n\n2. ${cross}\n` +
       cases.show.find((c) => c.command === ID_CROSS_PRODUCT).working + '\n', 'Copy worksheet');
  await page.emulateMedia({ media: 'print' });
  check(await page.isVisible('#worksheet') && !(await page.isVisible('canvas')) &&
        !(await page.isVisible('#show-calculation')) && !(await page.isVisible('.recall')), 'printed, the worksheet alone');
  await page.emulateMedia({ media: 'screen' });
  await load(() => page.reload());
  same(JSON.stringify(await entries()), listed, 'the worksheet after a reload');
  // Past the cap the oldest go and the others keep their numbers, across
  // a reload too; Recall finds its own entry while those let go wait.
  await page.evaluate(([sub, plus]) => {
    Module._arrowbench_command(sub);
    for (let i = 0; i < 999; ++i) Module._arrowbench_command(plus);
    document.querySelector('#worksheet > li:not([hidden]) .recall').click();
  }, [ID_SUB, ID_ADD]);
  same(await v3(), '-3 -3 -3', 'Recall past the cap');
  const numbered = () => page.$$eval('#worksheet > li:not([hidden])', (items) => items.map((e) => e.firstChild.textContent));
  const sub = 'Sub of V1 = 1 2 3, V2 = 4 5 6: V3 = -3 -3 -3';
  for (const when of ['past the cap', 'past the cap, reloaded']) {
    const shown = await numbered();
    same(`${shown.length} ${shown[0]} ${shown[999]}`, `1000 3. ${sub} 1002. ${add}`, when);
    if (!when.endsWith('reloaded')) await load(() => page.reload());
  }
  await page.click('#clear-worksheet');
  await load(() => page.reload());
  same(JSON.stringify(await entries()), '[]', 'cleared, and kept so');
  await page.evaluate(() => localStorage.setItem('arrowbench-worksheet', 'arrowbench worksheet 9\nAdd 1'));
  await load(() => page.reload());
  check(/could not be read/.test(await page.textContent('#status')), 'a kept worksheet that cannot be read: said');
  same(await page.evaluate(() => localStorage.getItem('arrowbench-worksheet-set-aside')), 'arrowbench worksheet 9\nAdd 1',
       'and set aside');
  await page.evaluate(() => {
    Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
  });
  await page.click(field(ID_ADD));
  await page.waitForFunction(() => /not kept/.test(document.getElementById('status').textContent));
  same((await entries()).length, 1, 'a full storage: said, and the page works on');
  await context.close();
}

const rows = (page) => page.evaluate((ids) => ids.map((id) => document.querySelector(`[data-id="${id}"]`).value),
  [0, 1, 2].flatMap((i) => [ID_ROW_VECTOR, ID_ROW_OFFSET, ID_ROW_COLOR].map((id) => row(id, i))));

// Each colour with `least` pixels or more, and none in the outer band (3%
// of the smaller side; the framing keeps 5%).
async function checkShownColours(page, name, least = 5) {
  const ppm = fs.readFileSync(await shoot(page, name));
  const [width, height] = ppm.toString('latin1', 0, 40).split(/\s+/).slice(1, 3).map(Number);
  const band = Math.floor(0.03 * Math.min(width, height)), start = ppm.indexOf('\n255\n') + 5;
  for (const colour of [[230, 120, 0], [130, 0, 200], [0, 150, 150]]) {
    let n = 0, outer = 0;
    for (let i = start; i + 2 < ppm.length; i += 3) {
      if (ppm[i] !== colour[0] || ppm[i + 1] !== colour[1] || ppm[i + 2] !== colour[2]) continue;
      const x = ((i - start) / 3) % width, y = Math.floor((i - start) / 3 / width);
      ++n;
      outer += x < band || y < band || x >= width - band || y >= height - band;
    }
    check(n >= least && outer === 0, `${name}: ${n} pixels of ${colour}, ${outer} in the outer band`);
  }
}

// The axes' names stand beside their far ends, (5, 0, 0) and the others
// projected through the page's camera (50 degrees, looking at the origin,
// z up), or are hidden where the end is out of view.
async function checkAxisLabels(page, what) {
  const { camera, width, height, labels } = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const c = Module.canvas, box = c.getBoundingClientRect();
    resolve({ camera: [0, 1, 2, 3].map((i) => Module._arrowbench_camera(i)), width: c.clientWidth, height: c.clientHeight,
      labels: [...document.querySelectorAll('.axis-label')].map((l) => { const r = l.getBoundingClientRect();
        return [l.textContent, !l.hidden, r.left - box.left - c.clientLeft, r.bottom - box.top - c.clientTop]; }) });
  })));
  const eye = camera.slice(0, 3).map((v) => v * camera[3]);
  const norm = (v) => { const l = Math.hypot(...v); return v.map((x) => x / l); };
  const cross = (a, b) => [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
  const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const f = norm(eye.map((v) => -v)), side = norm(cross(f, [0, 0, 1])), up = cross(side, f), t = 1 / Math.tan(25 * Math.PI / 180);
  ['x', 'y', 'z'].forEach((name, axis) => {
    const rel = [0, 1, 2].map((i) => (i === axis ? 5 : 0) - eye[i]), depth = dot(rel, f);
    const nx = t * height / width * dot(rel, side) / depth, ny = t * dot(rel, up) / depth;
    const inView = depth > 0 && Math.abs(nx) < 1 && Math.abs(ny) < 1;
    const [text, shown, left, bottom] = labels[axis];
    same(`${text} ${shown}`, `${name} ${inView}`, `${what}: label ${name} shown`);
    if (shown && inView) check(Math.abs(left - ((nx + 1) / 2 * width + 4)) < 3 && Math.abs(bottom - ((1 - ny) / 2 * height - 4)) < 3,
                               `${what}: label ${name} at ${left}, ${bottom} by its end at ${(nx + 1) / 2 * width}, ${(1 - ny) / 2 * height}`);
  });
}

async function checkCommands(page) {
  for (const c of cases.commands) {
    context = c;
    await setFields(page, { [ID_V1]: c.v1, [ID_V2]: c.v2, [ID_S1]: c.s1, [ID_V3]: 'untouched v3', [ID_S2]: 'untouched s2' });
    await page.click(field(c.id));
    same(await getField(page, ID_V1), c.v1_after ?? c.v1, 'V1');
    same(await getField(page, ID_V2), c.v2_after ?? c.v2, 'V2');
    same(await getField(page, ID_S1), c.s1, 'S1');
    same(await getField(page, ID_V3), c.v3 ?? 'untouched v3', 'V3');
    same(await getField(page, ID_S2), c.s2 ?? 'untouched s2', 'S2');
  }
  context = '';
  // The one field read cuts at 255 bytes.
  const long = cases.long_field;
  await setFields(page, { [ID_V1]: ' '.repeat(long.pad) + long.tail });
  await page.click(field(ID_LENGTH));
  same(await getField(page, ID_V1), long.written, 'V1 after Length on a 256-byte field');
}

// Redraw rewrites every row field with its canonical text: the vector
// cases go through the vector and offset fields, the colour cases through
// the colour fields, three rows a press.
async function checkRedraw(page) {
  const slots = [];
  for (let i = 0; i < 3; ++i) slots.push(['vector', row(ID_ROW_VECTOR, i)], ['vector', row(ID_ROW_OFFSET, i)]);
  for (let i = 0; i < 3; ++i) slots.push(['color', row(ID_ROW_COLOR, i)]);
  const queues = { vector: [...cases.vectors], color: [...cases.colors] };
  const dropped = [];
  while (queues.vector.length || queues.color.length) {
    const pressed = [];
    for (const [kind, id] of slots) {
      const c = queues[kind === 'vector' ? 'vector' : 'color'].shift();
      if (c) pressed.push([id, c]);
    }
    const held = await setFields(page, Object.fromEntries(pressed.map(([id, c]) => [id, c.text])));
    await page.click(field(ID_REDRAW));
    for (const [id, c] of pressed) {
      // A text field holds no line breaks: the browser drops them as the
      // text goes in, so those rows cannot reach the core as written.
      if (held.find(([i]) => Number(i) === id)[1] !== c.text) { dropped.push(c.text); continue; }
      context = c.text;
      same(await getField(page, id), c.written, `field ${id} after Redraw`);
    }
  }
  context = '';
  console.log(`${engine} Redraw: ${dropped.length} texts with line breaks the browser does not keep: ${JSON.stringify(dropped)}`);
  check(dropped.every((t) => /[\r\n]/.test(t)), 'only texts with line breaks are dropped');
}

// Enter in a field computes nothing; Escape does nothing; space or Enter
// on a focused button runs it.
async function checkKeys(page) {
  const [add, sub] = [cases.commands.find((c) => c.id === ID_ADD), cases.commands.find((c) => c.id === ID_SUB)];
  await setFields(page, { [ID_V1]: ' 1  2  3 ', [ID_V3]: 'untouched v3' });
  await page.focus(field(ID_V1));
  await page.keyboard.press('Enter');
  await page.keyboard.press('Escape');
  same(await getField(page, ID_V1), ' 1  2  3 ', 'V1 after Enter and Escape in it');
  same(await getField(page, ID_V3), 'untouched v3', 'V3 after Enter and Escape in V1');
  for (const [c, key] of [[add, 'Space'], [sub, 'Enter']]) {
    context = c;
    await setFields(page, { [ID_V1]: c.v1, [ID_V2]: c.v2, [ID_V3]: 'untouched v3' });
    await page.focus(field(c.id));
    await page.keyboard.press(key);
    same(await getField(page, ID_V3), c.v3, `V3 after ${key} on the focused button`);
  }
  context = '';
}

// The canvas's pixels, top row first, as a PPM file.
async function shoot(page, name) {
  const { width, height, data } = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const canvas = document.querySelector('canvas[data-id]');
    const gl = canvas.getContext('webgl');
    const rgba = new Uint8Array(canvas.width * canvas.height * 4);
    gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    let data = '';
    for (let y = canvas.height - 1; y >= 0; --y)
      for (let x = 0; x < canvas.width; ++x) {
        const i = (y * canvas.width + x) * 4;
        data += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
      }
    resolve({ width: canvas.width, height: canvas.height, data: btoa(data) });
  })));
  const file = path.join(work, name);
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${width} ${height}\n255\n`), Buffer.from(data, 'base64')]));
  return file;
}

// A frame judged against the core's camera after `drags` from the start.
async function judgeShot(page, name, drags = [], scale = undefined) {
  const shot = await shoot(page, name);
  const run = spawnSync('node', ['--no-experimental-fetch', checkShot, shot, String(scale ?? await page.evaluate(() => devicePixelRatio)),
                                 ...(await camera(page)), ...drags.flat().map(String)], { encoding: 'utf8' });
  check(run.status === 0, `${name}: ${run.stdout}${run.stderr}`);
  return shot;
}

async function camera(page) {
  return page.evaluate(() => {
    const f = new Float32Array(1), u = new Uint32Array(f.buffer);
    return [0, 1, 2, 3].map((i) => { f[0] = Module._arrowbench_camera(i); return u[0].toString(16); });
  });
}

// The frame after Redraw, after an orbit drag and after a zoom drag, each
// judged with the camera the core computes for the same drags.
async function checkView(page) {
  const canvas = await page.locator('canvas[data-id]').boundingBox();
  const at = (x, y) => [canvas.x + x, canvas.y + y];
  const scrolled = await page.evaluate(() => window.scrollY);
  await setFields(page, ARROW_ALONE);
  await page.click(field(ID_REDRAW));
  const drags = [];
  const judge = (name) => judgeShot(page, name, drags);
  const start = fs.readFileSync(await judge('after-redraw.ppm'));
  check((await page.getByRole('application').getAttribute('aria-label')).includes('vector 0 0 3 from 1 -1 0 in colour 255 0 255'),
        'the view\'s text alternative names the vector drawn');

  async function drag(kind, [x0, y0], [x1, y1], steps, release = [x1, y1]) {
    await page.mouse.move(...at(x0, y0));
    await page.mouse.down({ button: kind === 'rotate' ? 'left' : 'right' });
    for (let i = 1; i <= steps; ++i) await page.mouse.move(...at(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps));
    await page.mouse.move(...at(...release));
    await page.mouse.up({ button: kind === 'rotate' ? 'left' : 'right' });
    drags.push([kind, x0, y0, x1, y1]);
  }
  await drag('rotate', [100, 100], [180, 140], 8);
  await judge('after-orbit.ppm');
  await drag('zoom', [100, 100], [100, 140], 4);
  await judge('after-zoom.ppm');

  // A burst of motions that the browser delivers coalesced still draws a
  // frame each: 60 moves sent at once, without waiting for any.
  await page.evaluate(() => {
    Module._arrowbench_motion(0, 0);  // binds the export, so the wrapper stays
    const inner = Module._arrowbench_motion;
    window.burstFrames = 0;
    Module._arrowbench_motion = function(x, y) {
      if (Module._arrowbench_camera(4) !== 0) ++window.burstFrames;
      return inner(x, y);
    };
  });
  const cdp = await page.context().newCDPSession(page);
  const send = (type, x, y, buttons) => cdp.send('Input.dispatchMouseEvent',
    { type, x, y, button: type === 'mouseMoved' ? 'none' : 'left', buttons, clickCount: type === 'mouseMoved' ? 0 : 1 });
  await send('mousePressed', ...at(200, 100), 1);
  const burst = [];
  for (let i = 1; i <= 60; ++i) burst.push(send('mouseMoved', ...at(200 + i, 100 + (i % 7)), 1));
  await Promise.all(burst);
  await send('mouseReleased', ...at(260, 104), 0);
  const coalesced = await page.evaluate(() => window.burstFrames);
  same(coalesced, 60, 'frames for a burst of 60 motions');
  drags.push(['rotate', 200, 100, 260, 104]);
  await judge('after-burst.ppm');

  // A release outside the canvas still ends the drag: the pointer comes
  // back over the view with no button and the camera stays.
  const before = await camera(page);
  await page.mouse.move(...at(300, 200));
  await page.mouse.down({ button: 'left' });
  await page.mouse.move(...at(300, -60));
  await page.mouse.up({ button: 'left' });
  const outside = await camera(page);
  await page.mouse.move(...at(300, 150));
  await page.mouse.move(...at(200, 100));
  same(JSON.stringify(await camera(page)), JSON.stringify(outside), 'camera after a release outside the view');
  same(await page.evaluate(() => Module._arrowbench_camera(4)), 0, 'drag mode after a release outside the view');
  check(JSON.stringify(outside) !== JSON.stringify(before), 'the drag that left the view moved the camera');

  // A click gives the view the keys; Home brings back the start picture.
  // Then the keys, the wheel, one finger and a pinch, none scrolling the
  // page, against the core's camera for the same input.
  await page.evaluate(() => { document.documentElement.style.height = '3000px'; });
  const view = page.locator('canvas[data-id]');
  await view.click({ position: { x: 300, y: 250 } });
  await page.keyboard.press('Home');
  same(fs.readFileSync(await shoot(page, 'after-home.ppm')).equals(start), true, 'Home gives back the start picture');
  drags.length = 0;
  const K = ViewKey;
  for (const [key, viewKey, fine] of [['ArrowLeft', K.left, 0], ['ArrowUp', K.up, 0], ['Shift+ArrowRight', K.right, 1],
                                      ['Shift+ArrowDown', K.down, 1], ['PageUp', K.zoom_in, 0], ['+', K.zoom_in, 0],
                                      ['=', K.zoom_in, 0], ['-', K.zoom_out, 0], ['PageDown', K.zoom_out, 0],
                                      ['PageDown', K.zoom_out, 0]]) {
    await page.keyboard.press(key);
    drags.push(['key', viewKey, fine, 0, 0]);
  }
  // Each on-view button but the reset moves the camera as its key does;
  // the second of each pair twice, so that a swapped pair shows.
  for (const [name, viewKey] of VIEW_BUTTONS.filter(([, key]) => key !== ViewKey.reset)) {
    for (let n = 0; n <= viewKey % 2; ++n) {
      await page.getByRole('button', { name, exact: true }).click();
      drags.push(['key', viewKey, 0, 0, 0]);
    }
  }
  await page.mouse.wheel(0, -240);
  await page.mouse.wheel(0, 60);
  drags.push(['wheel', 2, 0, 0, 0], ['wheel', -0.5, 0, 0, 0]);
  await judge('after-keys.ppm');
  await checkAxisLabels(page, 'after the keys');
  same(await page.evaluate(() => window.scrollY), scrolled, 'page scroll after the keys and the wheel over the view');
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map(([id, x, y]) => { const [px, py] = at(x, y); return { id, x: px, y: py }; }) });
  await touch('touchStart', [[0, 200, 200]]);
  await touch('touchMove', [[0, 230, 190]]);
  await touch('touchStart', [[0, 230, 190], [1, 290, 190]]);
  await touch('touchMove', [[0, 240, 190], [1, 280, 190]]);
  await touch('touchEnd', [[0, 240, 190]]);  // one finger lifts: the other does nothing
  await touch('touchMove', [[1, 330, 220]]);
  await touch('touchEnd', []);
  drags.push(['rotate', 200, 200, 230, 190], ['pinch', 60, 40, 0, 0]);
  await judge('after-touch.ppm');

  await page.getByRole('button', { name: 'Reset view', exact: true }).click();
  same(fs.readFileSync(await shoot(page, 'after-reset.ppm')).equals(start), true, 'Reset view gives back the start picture');
}

// At twice the pixel density the backing store doubles and the frame is
// the same picture, its lines 2 pixels wide. (Chromium's density emulation alone leaves the canvas's
// device-pixel box at 1x: the browser runs at density 2 itself.) A size
// change during a drag goes through the core's size change, which ends it.
async function checkDensity(launch, url) {
  const browser = await launch(['--force-device-scale-factor=2']);
  try {
    const page = await (await browser.newContext({ deviceScaleFactor: 2, viewport: { width: 390, height: 844 } })).newPage();
    await page.goto(url);
    await page.waitForSelector('html[data-ready]', { timeout: 30000 });
    const size = (p = page) => p.evaluate(() => { const c = document.querySelector('canvas[data-id]'); return [c.width, c.height, c.clientWidth, c.clientHeight]; });
    const [w, h, cw, ch] = await size();
    same(`${w}x${h}`, `${2 * cw}x${2 * ch}`, 'backing store at density 2');
    await setFields(page, ARROW);
    await page.click(field(ID_REDRAW));
    await judgeShot(page, 'density-2.ppm');

    const box = await page.locator('canvas[data-id]').boundingBox();
    await page.mouse.move(box.x + 100, box.y + 100);
    await page.mouse.down();
    await page.mouse.move(box.x + 120, box.y + 110);
    same(await page.evaluate(() => Module._arrowbench_camera(4)), 1, 'drag mode while rotating');
    await page.evaluate(() => { document.querySelector('canvas[data-id]').style.width = '600px'; });
    await page.waitForFunction(() => { const c = document.querySelector('canvas[data-id]'); return c.clientWidth > 500 && c.width === 2 * c.clientWidth; });
    same(await page.evaluate(() => Module._arrowbench_camera(4)), 0, 'drag mode after a size change');
    await page.mouse.up();
    // A page of its own in that browser: devicePixelRatio says 1, but the
    // store is twice its CSS size, and so are the lines.
    const plain = await browser.newPage();
    await plain.goto(url);
    await plain.waitForSelector('html[data-ready]', { timeout: 30000 });
    const [pw, , pcw] = await size(plain);
    same(`${pw / pcw} ${await plain.evaluate(() => devicePixelRatio)}`, '2 1', 'store over CSS size, and the ratio, at a forced scale');
    await setFields(plain, ARROW);
    await plain.click(field(ID_REDRAW));
    await judgeShot(plain, 'forced-scale-2.ppm', [], 2);
  } finally {
    await browser.close();
  }
}

const settled = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));

// One page taken from a desktop window to a phone's and the narrowest:
// at each, no WCAG 2.2 AA violation that axe-core finds, no sideways
// scroll, and the view drawn again right at its new size; in the desktop
// window the view takes the room. Opened afresh at each size, and in a
// tall desktop window where the view takes the height, the page draws its
// first picture once: the view's size is known before the controls are
// laid out, and stays. The axes' names move with the view when a
// command's working pushes it down.
async function checkSizes(browser, url) {
  for (const [width, height] of [[1280, 800], [1280, 1400], [390, 844], [320, 640]]) {
    context = `opened at ${width} x ${height}`;
    const fresh = await (await browser.newContext({ viewport: { width, height } })).newPage();
    await fresh.addInitScript(() => {
      const clear = WebGLRenderingContext.prototype.clear;
      window.clears = 0;
      WebGLRenderingContext.prototype.clear = function(mask) { ++window.clears; return clear.call(this, mask); };
    });
    await fresh.goto(`${url}#v=1&r1=0%200%203`);
    await fresh.waitForSelector('html[data-ready]', { timeout: 30000 });
    await settled(fresh);
    same(await fresh.evaluate(() => window.clears), 1, 'frames drawn by the load');
    if (width === 390) {
      await setFields(fresh, { [ID_V1]: '1 2 3', [ID_V2]: '4 5 6' });
      await fresh.click(field(ID_CROSS_PRODUCT));
      await checkAxisLabels(fresh, 'after a command');
      // Show calculation brings the view, far under the buttons, into sight.
      await fresh.click('#show-calculation');
      await fresh.waitForFunction(() => {
        const box = Module.canvas.getBoundingClientRect();
        return Math.min(box.bottom, innerHeight) - Math.max(box.top, 0) >= box.height / 2;
      }, null, { timeout: 5000 }).catch(() => check(false, 'the view not brought into sight'));
    }
    await fresh.context().close();
  }
  const page = await browser.newPage();
  page.on('pageerror', (e) => check(false, `page error: ${e.message}`));
  await page.goto(url);
  await page.waitForSelector('html[data-ready]', { timeout: 30000 });
  await setFields(page, ARROW);
  await page.click(field(ID_REDRAW));
  await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
  for (const [width, height] of [[1280, 800], [390, 844], [320, 640]]) {
    context = `${width} x ${height}`;
    await page.setViewportSize({ width, height });
    await settled(page);
    const { violations } = await page.evaluate(() => axe.run(document,
      { runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] } }));
    same(violations.map((v) => `${v.id} at ${v.nodes.map((n) => n.target).join(' ')}`).join('; '), '', 'axe violations');
    // The longest result a field shows is whole, and no input is narrower.
    const [scroll, view, v3, inputs] = await page.evaluate(([result, others]) => {
      const v3 = document.querySelector(`[data-id="${result}"]`);
      v3.value = '-1.17549e-38 -1.17549e-38 -1.17549e-38';
      const inputs = others.map((id) => document.querySelector(`[data-id="${id}"]`).clientWidth);
      return [document.scrollingElement.scrollWidth, Module.canvas.clientWidth, [v3.scrollWidth, v3.clientWidth], inputs];
    }, [ID_V3, [ID_V1, ID_V2, ID_S1, ID_S2]]);
    check(v3[0] <= v3[1] && inputs.every((w) => w >= v3[1]), `V3's longest text ${v3[0]} px in ${v3[1]}; inputs ${inputs}`);
    check(scroll <= width, `page ${scroll} CSS px wide`);
    if (width === 1280) check(view >= 700, `view ${view} CSS px wide`);
    await judgeShot(page, `view-${width}.ppm`);
  }
  context = '';
  await page.close();
}

// The scene travels in the address: opened in a fresh context it gives the
// same fields, the result computed again and the same picture. The view
// saves as a PNG of its size. A link that cannot be read whole says so and
// harms nothing.
async function checkLink(browser, url) {
  const fields = (page) => page.evaluate(() =>
    [...document.querySelectorAll('input[data-id]')].map((e) => (e.type === 'checkbox' ? e.checked : e.value)));
  const open = async (context, address) => {
    const page = await context.newPage();
    page.on('pageerror', (e) => check(false, `page error at ${address.slice(0, 80)}: ${e.message}`));
    await page.goto(address);
    await page.waitForSelector('html[data-ready]', { timeout: 30000 });
    return page;
  };
  const first = await browser.newContext({ permissions: ['clipboard-read', 'clipboard-write'] });
  const page = await open(first, url);
  await setFields(page, { [ID_V1]: '1 2 3', [ID_V2]: '0.5 -1 4', [ID_S1]: '2 \u00fc&#%', [row(ID_ROW_VECTOR, 1)]: '1 -1 3',
                          [row(ID_ROW_COLOR, 1)]: '255 0 255' });
  await page.check(field(row(ID_ROW_INVERSE, 1)));
  await page.click(field(ID_CROSS_PRODUCT));
  await page.click(field(ID_REDRAW));
  await page.focus('canvas[data-id]');
  for (const key of ['ArrowLeft', 'PageDown', 'Shift+ArrowUp']) await page.keyboard.press(key);
  await page.click('#copy-link');
  const link = page.url();
  same(await page.evaluate(() => navigator.clipboard.readText()), link, 'the link copied');
  check(/copied/.test(await page.textContent('#status')), 'the status line says the link was copied');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-picture')]);
  same(download.suggestedFilename(), 'arrowbench-view.png', 'saved picture name');
  const png = fs.readFileSync(await download.path());
  same(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`,
       await page.evaluate(() => `${Module.canvas.width}x${Module.canvas.height}`), 'saved picture size');
  // The x axis's name is in the picture too: its dark red is no colour of the frame's.
  const named = await page.evaluate(async (data) => {
    const image = new Image();
    image.src = `data:image/png;base64,${data}`;
    await image.decode();
    const c = document.createElement('canvas');
    [c.width, c.height] = [image.width, image.height];
    const g = c.getContext('2d');
    g.drawImage(image, 0, 0);
    const px = g.getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 0; i < px.length; i += 4) n += px[i] > 190 && px[i] < 225 && px[i + 1] < 40 && px[i + 2] < 40;
    return [n, !document.querySelector('.axis-label').hidden];
  }, png.toString('base64'));
  check(named[1] && named[0] > 10, `x's name in the saved picture: ${named[0]} pixels`);
  const want = { fields: await fields(page), frame: fs.readFileSync(await shoot(page, 'link-a.ppm')) };
  // The working's two copies, and the result taken on as an input.
  await setFields(page, { [ID_V1]: '1 2 3' });
  await page.click(field(ID_NORMALIZE));
  const clipboard = () => page.evaluate(() => navigator.clipboard.readText());
  await page.click('#copy-working');
  same(await clipboard(), await page.evaluate(() => document.getElementById('working').dataset.text), 'Copy working');
  await page.click('#copy-latex');
  check((await clipboard()).includes('= (\\frac{\\sqrt{14}}{14}, \\frac{\\sqrt{14}}{7}, \\frac{3\\sqrt{14}}{14})'), 'Copy LaTeX');
  await page.click('#use-result');
  same(await getField(page, ID_V1), '0.267261 0.534522 0.801784', 'Use result');
  await first.close();

  const fresh = await browser.newContext();
  const opened = await open(fresh, link);
  same(JSON.stringify(await fields(opened)), JSON.stringify(want.fields), 'fields from the link');
  check(fs.readFileSync(await shoot(opened, 'link-b.ppm')).equals(want.frame), 'the picture from the link, pixel for pixel');
  same(await opened.textContent('#status'), '', 'no complaint about a whole link');
  // The reader's cases are the core's test's; here, what the page says.
  const bad = await open(fresh, `${url}#v=1&v1=%zz&s1=7&eye=nan,0,0`);
  same(await getField(bad, ID_S1), '7', 'S1 from a partly bad link');
  check(/could not be read/.test(await bad.textContent('#status')), 'the status line on a bad link');
  await fresh.close();
}

// Firefox and WebKit on the same shared tables: every command case, every
// Redraw case and the picture after Redraw, through the one driver.
async function checkEngine(name, url) {
  engine = name;
  const page = await launchEngine(name, modules);
  try {
    await page.goto(url);
    await waitReady(page);
    await checkCommands(page);
    await checkRedraw(page);
    await setFields(page, ARROW_ALONE);
    await page.click(field(ID_REDRAW));
    await judgeShot(page, `${name}-after-redraw.ppm`);
    await checkShowCalculation(page, { fresh: false });
    // A link's command, then Show calculation: the same rows as here.
    const cross = cases.show.find((c) => c.command === ID_CROSS_PRODUCT);
    await page.goto(`${url}?again#v=1&v1=${encodeURIComponent(cross.v1)}&v2=${encodeURIComponent(cross.v2)}&run=CrossProduct`);
    await waitReady(page);
    await showCalculation(page);
    same(JSON.stringify(await rows(page)), JSON.stringify(cross.rows), 'rows after a link and Show calculation');
    await checkShownColours(page, `${name}-link-show.ppm`);
    same(JSON.stringify(await page.errors()), '[]', 'page errors');
  } finally {
    await page.close();
    engine = 'chromium';
  }
}

// Without WebGL the view says so in its place, and the calculator and the
// rows work; a lost context says so too, and draws the same when it is back.
async function checkWithoutWebGL(launch, url, page) {
  const before = fs.readFileSync(await shoot(page, 'before-loss.ppm'));
  await page.evaluate(() => {
    window.loss = Module.canvas.getContext('webgl').getExtension('WEBGL_lose_context');
    window.loss.loseContext();
  });
  await page.waitForSelector('[role=alert]:has-text("needs WebGL")');
  await page.evaluate(() => window.loss.restoreContext());
  await page.waitForSelector('[role=alert]', { state: 'hidden' });
  check(fs.readFileSync(await shoot(page, 'after-restore.ppm')).equals(before), 'the frame once the context is back');

  const browser = await launch(['--disable-webgl', '--disable-3d-apis']);
  try {
    const bare = await browser.newPage();
    bare.on('pageerror', (e) => check(false, `page error without WebGL: ${e.message}`));
    await bare.goto(url);
    await bare.waitForSelector('html[data-ready]', { timeout: 30000 });
    check(await bare.isVisible('[role=alert]:has-text("needs WebGL")'), 'the view says it needs WebGL');
    const c = cases.commands[0];
    await setFields(bare, { [ID_V1]: c.v1, [ID_V2]: c.v2, [ID_ROW_VECTOR]: ' 1,2 ' });
    await bare.click(field(c.id));
    await bare.click(field(ID_REDRAW));
    same(`${await getField(bare, ID_V3)} / ${await getField(bare, ID_ROW_VECTOR)}`, `${c.v3} / 1 0 0`, 'V3 and a row without WebGL');
  } finally {
    await browser.close();
  }
}

// After one visit the service worker holds the files: with the server
// stopped the page opens again and computes.
async function checkOffline(page, server) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await new Promise((resolve) => { server.on('exit', resolve); server.kill(); });
  await page.reload();
  await page.waitForSelector('html[data-ready]', { timeout: 30000 });
  const c = cases.commands[0];
  context = c;
  await setFields(page, { [ID_V1]: c.v1, [ID_V2]: c.v2, [ID_S1]: c.s1 });
  await page.click(field(c.id));
  same(await getField(page, ID_V3), c.v3 ?? '0 0 0', 'V3 with the server stopped');
  context = '';
}

const { server, port } = serve(site);
// Debian's Chromium, never a downloaded one, with a fresh profile of
// Playwright's own each launch. WebGL on the software renderer, named
// rather than left to the fallback, so frames do not depend on a GPU.
const launch = (extra = []) => chromium.launch({ executablePath: '/usr/bin/chromium', args: [...CHROMIUM_ARGS, ...extra] });
let browser;
try {
  browser = await launch();
  const page = await browser.newPage();
  page.on('pageerror', (e) => check(false, `page error: ${e.message}`));
  const url = `http://127.0.0.1:${await port}/index.html`;
  await page.goto(url);
  await page.waitForSelector('html[data-ready]', { timeout: 30000 });
  await checkLayout(page);
  await checkTabOrder(page);
  await checkShowCalculation(page);
  await checkNotation(page);
  await checkAxisLabels(page, 'start');
  await checkCommands(page);
  await checkRedraw(page);
  await checkKeys(page);
  await checkView(page);
  await checkDensity(launch, url);
  await checkSizes(browser, url);
  await checkLink(browser, url);
  await checkWorksheet(browser, url);
  await checkWithoutWebGL(launch, url, page);
  for (const name of ['firefox', 'webkit']) await checkEngine(name, url);
  await checkOffline(page, server);
} catch (e) {
  check(false, `exception: ${e.stack || e}`);
} finally {
  if (browser) await browser.close();
  server.kill();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
