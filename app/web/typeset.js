// The working as mathematics: the core's plain text (clauses joined by
// "; ") typeset in MathML, each <math> carrying its own text as alttext,
// and the same working as LaTeX for a document. The plain text is
// regular: a "/" between two terms with no space round it is a fraction,
// "√" takes the term after it, "²" the one before it; a spaced " / " is
// division as written, and a clause that starts "no " is words.
'use strict';

var MATH_NS = 'http://www.w3.org/1998/Math/MathML';
var MATH_OPS = {'·': '\\cdot', '×': '\\times', '−': '-', '≈': '\\approx', '°': '^\\circ', '=': '=', '+': '+',
  ',': ',', '|': '|', '/': '/'};

// Tokens: numbers (with a sign that touches them), names, and single
// characters; `glued` is whether the token touches the one before it.
function workingTokens(text) {
  var re = /\s*(-?(?:\d+(?:\.\d+)?(?:e[+-]\d+)?|Infinity)|NaN|[A-Za-zθ][A-Za-z0-9_θ]*|\S)/gu, tokens = [], m;
  while ((m = re.exec(text))) tokens.push({v: m[1], glued: m[0].length === m[1].length && tokens.length > 0});
  return tokens;
}

// Nested groups for brackets, then roots, squares and fractions bound.
function workingTree(tokens) {
  var at = 0;
  function sequence(close) {
    var items = [];
    while (at < tokens.length && tokens[at].v !== close) {
      var t = tokens[at++];
      if (t.v === '(') {
        items.push({t: 'group', items: sequence(')'), glued: t.glued});
        ++at;
      } else {
        var kind = /^-?[\d]|^-?Infinity$|^NaN$/.test(t.v) ? 'num' : /^[A-Za-zθ]/.test(t.v) ? 'id' : 'op';
        items.push({t: kind, v: t.v, glued: t.glued});
      }
    }
    return bind(items);
  }
  return sequence(null);
}

function isTerm(n) { return n && (n.t !== 'op' || n.v === '√'); }

function bind(items) {
  var out = [], i;
  for (i = 0; i < items.length; ++i) {
    var n = items[i];
    if (n.t === 'op' && n.v === '√' && items[i + 1]) {
      out.push({t: 'sqrt', arg: items[++i], glued: n.glued});
    } else if (n.t === 'op' && n.v === '²' && out.length) {
      var base = out.pop();
      out.push({t: 'sup', base: base, glued: base.glued});
    } else {
      out.push(n);
    }
  }
  // A fraction: the touching terms on each side of a "/" that touches both.
  for (i = 0; i < out.length; ++i) {
    var slash = out[i];
    if (slash.t !== 'op' || slash.v !== '/' || !slash.glued || !out[i + 1] || !out[i + 1].glued) continue;
    var from = i, to = i + 1;
    while (from > 0 && isTerm(out[from - 1]) && (from === i || out[from].glued)) --from;
    while (to + 1 < out.length && isTerm(out[to + 1]) && out[to + 1].glued) ++to;
    if (from === i) continue;
    var frac = {t: 'frac', num: out.slice(from, i), den: out.slice(i + 1, to + 1), glued: out[from].glued};
    out.splice(from, to - from + 1, frac);
    i = from;
  }
  return out;
}

// A group alone under a bar or a root needs no brackets, unless it is a
// triple.
function unbracketed(items) {
  if (items.length !== 1 || items[0].t !== 'group') return items;
  var inner = items[0].items;
  return inner.some(function(n) { return n.t === 'op' && n.v === ','; }) ? items : inner;
}

function mathElement(name, children, text) {
  var e = document.createElementNS(MATH_NS, name);
  if (text !== undefined) e.textContent = text;
  (children || []).forEach(function(c) { e.appendChild(c); });
  return e;
}

function mathRow(items) { return mathElement('mrow', items.map(mathNode)); }

function mathNode(n) {
  switch (n.t) {
    case 'num':
      if (n.v[0] === '-') return mathElement('mrow', [mathElement('mo', [], '-'), mathElement('mn', [], n.v.slice(1))]);
      return mathElement('mn', [], n.v);
    case 'id':
      var sub = /^(V|S)(\d)$/.exec(n.v) || /^(comp|proj)_(V2)$/.exec(n.v);
      // A function's name is applied to what follows, with its space.
      if (/^(arc)?cos$/.test(n.v)) {
        var apply = mathElement('mo', [], '\u2061');
        apply.setAttribute('rspace', '0.17em');
        return mathElement('mrow', [mathElement('mi', [], n.v), apply]);
      }
      if (!sub) return mathElement('mi', [], n.v);
      return mathElement('msub', [mathElement('mi', [], sub[1]), sub[2].length > 1 ? mathNode({t: 'id', v: sub[2]})
                                                                                   : mathElement('mn', [], sub[2])]);
    case 'group': return mathElement('mrow', [mathElement('mo', [], '(')].concat(n.items.map(mathNode),
                                                                                    [mathElement('mo', [], ')')]));
    case 'sqrt': return mathElement('msqrt', unbracketed([n.arg]).map(mathNode));
    case 'sup': return mathElement('msup', [mathNode(n.base), mathElement('mn', [], '2')]);
    case 'frac': return mathElement('mfrac', [mathRow(unbracketed(n.num)), mathRow(unbracketed(n.den))]);
    default: return mathElement('mo', [], n.v);
  }
}

function latexNumber(v) {
  var m = /^(-?)(\d+(?:\.\d+)?)e([+-])0*(\d+)$/.exec(v);
  if (m) return m[1] + m[2] + '\\times 10^{' + (m[3] === '-' ? '-' : '') + m[4] + '}';
  return v === 'Infinity' ? '\\infty' : v === '-Infinity' ? '-\\infty' : v === 'NaN' ? '\\mathrm{NaN}' : v;
}

function latex(items) {
  return items.map(function(n) {
    switch (n.t) {
      case 'num': return latexNumber(n.v);
      case 'id':
        var sub = /^(V|S)(\d)$/.exec(n.v), op = /^(comp|proj)_V2$/.exec(n.v);
        if (sub) return sub[1] + '_' + sub[2];
        if (op) return '\\operatorname{' + op[1] + '}_{V_2}';
        return n.v === 'θ' ? '\\theta' : n.v === 'cos' || n.v === 'arccos' ? '\\' + n.v : '\\mathrm{' + n.v + '}';
      case 'group': return '(' + latex(n.items) + ')';
      case 'sqrt': return '\\sqrt{' + latex(unbracketed([n.arg])) + '}';
      case 'sup': return '{' + latex([n.base]) + '}^{2}';
      case 'frac': return '\\frac{' + latex(unbracketed(n.num)) + '}{' + latex(unbracketed(n.den)) + '}';
      default: return MATH_OPS[n.v] !== undefined ? ' ' + MATH_OPS[n.v] + ' ' : n.v;
    }
  }).join('').replace(/ +/g, ' ').replace(/\( /g, '(').replace(/ \)/g, ')').replace(/ ,/g, ',').trim();
}

function isWords(clause) { return /^no /.test(clause); }

// The working into `out`: a line for each clause, words as text, and a
// formula as a <math> for each of its "="- or "≈"-led steps, so that a long
// one wraps between its steps.
function typesetWorking(out, text) {
  out.textContent = '';
  var clauses = text ? text.split('; ') : [];
  clauses.forEach(function(clause, i) {
    var line = out.appendChild(document.createElement('span'));
    line.className = 'clause';
    var end = i + 1 < clauses.length ? ';' : '';
    if (isWords(clause)) return line.appendChild(document.createTextNode(clause + end));
    clause.split(/ (?=[=≈] )/).forEach(function(step, j) {
      if (j) line.appendChild(document.createTextNode(' '));
      var math = line.appendChild(mathElement('math', [mathRow(workingTree(workingTokens(step)))]));
      math.setAttribute('alttext', step);
    });
    line.appendChild(document.createTextNode(end));
  });
}

function workingLatex(text) {
  return text.split('; ').map(function(clause) {
    return isWords(clause) ? clause : '$' + latex(workingTree(workingTokens(clause))) + '$';
  }).join('; ');
}
