// Packs the page for a first visit: its scripts with their locals renamed
// and no comments or spaces (by the terser that comes with Emscripten),
// each put inline where the page names it, so that nothing but the wasm
// waits for a second request. Run at build time under node, with Debian's
// acorn on NODE_PATH.
// Usage: node pack_page.js TERSER OUT.html IN.html NAME=FILE...
//        node pack_page.js TERSER OUT.js IN.js
'use strict';
const fs = require('fs');
const acorn = require('acorn');

const [terserPath, out, input, ...scripts] = process.argv.slice(2);
const terser = require(terserPath);

function minified(file) {
  const ast = terser.AST_Node.from_mozilla_ast(acorn.parse(fs.readFileSync(file, 'utf8'), {ecmaVersion: 2020}));
  ast.figure_out_scope();
  ast.compute_char_frequency();
  ast.mangle_names();
  return ast.print_to_string();
}

if (!input.endsWith('.html')) {
  fs.writeFileSync(out, minified(input));
} else {
  let html = fs.readFileSync(input, 'utf8');
  for (const pair of scripts) {
    const [name, file] = pair.split('=');
    const tag = new RegExp(`<script src="${name.replace(/\./g, '\\.')}"([^>]*)></script>`);
    const code = minified(file);
    // Text that would end or change the script element stops the build.
    if (!tag.test(html) || /<\/script|<!--/i.test(code)) throw new Error(`pack_page: cannot put ${name} inline`);
    html = html.replace(tag, (_, rest) => `<script${rest}>${code}</script>`);
  }
  if (/<script src=/.test(html)) throw new Error('pack_page: a script the page names was not given');
  fs.writeFileSync(out, html);
}
