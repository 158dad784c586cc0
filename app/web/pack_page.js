// Packs the page for a first visit: its scripts with their locals renamed
// and no comments or spaces (by the terser that comes with Emscripten),
// each put inline where the page names it, and the wasm inline as a
// string of one character a byte (Module.wasm), which gzip takes nearly as
// well as the bytes themselves, and base64 far worse: one request gives
// the page, the core and the first frame. Run at build time under node,
// with Debian's acorn on NODE_PATH.
// Usage: node pack_page.js TERSER OUT.html IN.html [VALUES.json] NAME=FILE...
//        node pack_page.js TERSER OUT.js IN.js
'use strict';
const fs = require('fs');
const acorn = require('acorn');
const zlib = require('zlib');

const [terserPath, out, input, ...scripts] = process.argv.slice(2);
const terser = require(terserPath);

// The core's values that the scripts name (VALUES.json, which the build
// writes from the core's headers), each put in place as its literal: in the
// page that costs no more than a copy in the script would, where a
// declaration of each costs more.
const values = scripts.length && /^[^=]*\.json$/.test(scripts[0]) ? JSON.parse(fs.readFileSync(scripts.shift())) : {};
function putValues(node, parent, key) {
  if (node.type === 'Identifier' && Object.prototype.hasOwnProperty.call(values, node.name) &&
      !(parent.type === 'MemberExpression' && key === 'property' && !parent.computed) &&
      !(parent.type === 'Property' && key === 'key') && !(parent.type === 'VariableDeclarator' && key === 'id'))
    return acorn.parseExpressionAt(JSON.stringify(values[node.name]), 0, {ecmaVersion: 2020});
  for (const k of Object.keys(node)) {
    const v = node[k];
    if (Array.isArray(v)) v.forEach((c, i) => { if (c && typeof c.type === 'string') v[i] = putValues(c, node, k); });
    else if (v && typeof v.type === 'string') node[k] = putValues(v, node, k);
  }
  return node;
}

function minified(file) {
  const tree = putValues(acorn.parse(fs.readFileSync(file, 'utf8'), {ecmaVersion: 2020}), {}, '');
  const ast = terser.AST_Node.from_mozilla_ast(tree);
  ast.figure_out_scope();
  ast.compute_char_frequency();
  ast.mangle_names();
  return ast.print_to_string();
}

// Each byte plus a shift, as the character of that code, escaped where a
// string or the page would take it otherwise: quote, backslash, line
// ends, NUL (which the page's parser replaces) and '<', which could end
// the script. The shift is the one gzip takes best: bytes from 0x80 up are
// two in UTF-8, and the wasm's commonest should not be.
function byteString(bytes, shift) {
  let s = '"';
  for (let i = 0; i < bytes.length; ++i) {
    const b = (bytes[i] + shift) & 255, next = (bytes[i + 1] + shift) & 255;
    if (b === 0) s += next >= 0x30 && next <= 0x39 ? '\\x00' : '\\0';
    else if (b === 0x0a) s += '\\n';
    else if (b === 0x0d) s += '\\r';
    else if (b === 0x22 || b === 0x5c) s += '\\' + String.fromCharCode(b);
    else if (b === 0x3c) s += '\\x3c';
    else s += String.fromCharCode(b);
  }
  return s + '"';
}

function wasmScript(file) {
  const bytes = fs.readFileSync(file);
  let best = null;
  for (let shift = 0; shift < 256; ++shift) {
    const text = byteString(bytes, shift), size = zlib.gzipSync(text, {level: 9}).length;
    if (!best || size < best.size) best = {size, code: `Module.wasm={shift:${shift},text:${text}};`};
  }
  return best.code;
}

if (!input.endsWith('.html')) {
  fs.writeFileSync(out, minified(input));
} else {
  let html = fs.readFileSync(input, 'utf8');
  for (const pair of scripts) {
    const [name, file] = pair.split('=');
    const tag = new RegExp(`<script src="${name.replace(/\./g, '\\.')}"([^>]*)></script>`);
    const code = file.endsWith('.wasm') ? wasmScript(file) : minified(file);
    // Text that would end or change the script element stops the build.
    if (!tag.test(html) || /<\/script|<!--/i.test(code)) throw new Error(`pack_page: cannot put ${name} inline`);
    html = html.replace(tag, (_, rest) => `<script${rest}>${code}</script>`);
  }
  if (/<script src=/.test(html)) throw new Error('pack_page: a script the page names was not given');
  fs.writeFileSync(out, html);
}
