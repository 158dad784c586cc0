// The working's three printers over one walk of the tree. Brackets come
// from precedence: each form has a level, each place an operand can stand
// in asks for a least level and says whether a leading minus may stand
// there. Typeset, a fraction's bar and a root's sign group what they hold,
// so there the places under them need no brackets.

#include <cmath>
#include <cstring>

#include "vectext/vectext.h"
#include "working/working.h"

namespace {

Node node(Form form, unsigned char count = 0) {
    Node n;
    n.form = form;
    n.count = count;
    return n;
}

}  // namespace

// Kept calls: inlined, the pushes would be most of the builders' code.
[[gnu::noinline]] static int add(Working& w, const Node& n) {
    w.nodes.push_back(n);
    return int(w.nodes.size()) - 1;
}

int Working::exact(const Surd& x) {
    Node n = node(Form::exact);
    n.value = x;
    return add(*this, n);
}

int Working::decimal(float f) {
    Node n = node(Form::decimal);
    n.number = f;
    return add(*this, n);
}

int Working::symbol(const char* name) {
    Node n = node(Form::symbol);
    n.name = name;
    return add(*this, n);
}

int Working::op(Form form, int a) { return op(form, a, -1); }

int Working::op(Form form, int a, int b) {
    Node n = node(form, b < 0 ? 1 : 2);
    n.args[0] = a;
    n.args[1] = b;
    return add(*this, n);
}

int Working::function(const char* name, const char* sub, int arg, bool parens) {
    Node n = node(Form::apply, 1);
    n.name = name;
    n.sub = sub;
    n.parens = parens;
    n.args[0] = arg;
    return add(*this, n);
}

int Working::tuple(int a, int b, int c) {
    Node n = node(Form::tuple, 3);
    n.args[0] = a, n.args[1] = b, n.args[2] = c;
    return add(*this, n);
}

void Working::clause(int label) { op(Form::clause, label); }

void Working::step(int form, bool approximately) { nodes[size_t(op(Form::step, form))].parens = approximately; }

void Working::words(const char* text) { nodes[size_t(op(Form::clause, -1))].name = text; }

namespace {

enum Level : unsigned char { SUM = 1, QUOTIENT, PRODUCT, POWER_OF_TEN, POWER, ATOM };

struct Place {
    unsigned char least;
    bool sign;  // whether a leading minus may stand here unbracketed
};
constexpr Place BARE{0, true}, FIRST_TERM{SUM, false}, TERM{QUOTIENT, false}, FACTOR{PRODUCT, false},
    NUMERATOR{PRODUCT, true}, DENOMINATOR{POWER_OF_TEN, true}, BASE{ATOM, false}, RADICAND{POWER_OF_TEN, true};

enum Style { TEXT, MATHML, LATEX };

// The plain text, MathML and LaTeX of one piece of notation.
struct Notation {
    const char *text, *mathml, *latex;
};
// The binary forms': their symbol between the operands.
const Notation OPERATORS[] = {
    {" + ", "<mo>+</mo>", " + "},          {" \u2212 ", "<mo>\u2212</mo>", " - "},
    {"\u00b7", "<mo>\u00b7</mo>", " \\cdot "}, {" \u00d7 ", "<mo>\u00d7</mo>", " \\times "},
    {" / ", "<mo>/</mo>", " / "},
};

// The forms of one operand: what stands before it, where it stands (as
// text, typeset), and what after it.
struct Wrap {
    Notation open;
    Place text, typeset;
    Notation close;
};
const Wrap WRAPS[] = {
    {{"", "<msup><mrow>", "{"}, BASE, BASE, {"\u00b2", "</mrow><mn>2</mn></msup>", "}^{2}"}},
    {{"\u221a", "<msqrt>", "\\sqrt{"}, RADICAND, BARE, {"", "</msqrt>", "}"}},
    {{"|", "<mrow><mo>|</mo>", "\\lvert "}, BARE, BARE, {"|", "<mo>|</mo></mrow>", "\\rvert "}},
};

struct Printer {
    explicit Printer(const Working& working, Style s) : w(working), style(s) {}
    const Working& w;
    Style style;
    std::string out;

    [[gnu::noinline]] void put(const char* text) { out += text; }
    // The same thing in each style.
    [[gnu::noinline]] void put(const char* text, const char* mathml, const char* latex) {
        put(style == TEXT ? text : style == MATHML ? mathml : latex);
    }
    void put(const Notation& n) { put(n.text, n.mathml, n.latex); }
    void mn(const char* digits) {
        put("", "<mn>", "");
        put(digits);
        put("", "</mn>", "");
    }
    void integer(int64_t v) {
        std::string digits;
        append_integer(digits, v);
        mn(digits.c_str());
    }
    void minus() { put("-", "<mo>\u2212</mo>", "-"); }

    bool negative(const Node& n) const;
    int level(const Node& n) const;
    void print(int i, Place place);
    void body(const Node& n);
    void number(const Surd& x);
    void number(float f);
    void name(const char* text);
    void step(const Node* s, int form);
};

bool Printer::negative(const Node& n) const {
    return (n.form == Form::exact && n.value.c.num < 0) || (n.form == Form::decimal && std::signbit(n.number) &&
                                                            n.number == n.number && n.number != 0.0f);
}

int Printer::level(const Node& n) const {
    bool bar = style != TEXT;  // a fraction typeset is one piece
    switch (n.form) {
        case Form::exact: {
            const Surd& x = n.value;
            if (x.c.den != 1) return bar ? POWER_OF_TEN : QUOTIENT;
            return x.m != 1 && x.c.num != 1 && x.c.num != -1 ? PRODUCT : ATOM;
        }
        case Form::decimal: {
            FieldText t = format_scalar(n.number);
            const char* e = t.text;
            while (*e && *e != 'e') ++e;
            return *e ? POWER_OF_TEN : ATOM;
        }
        case Form::plus:
        case Form::minus: return SUM;
        case Form::times:
        case Form::cross: return PRODUCT;
        case Form::divide: return QUOTIENT;
        case Form::fraction: return bar ? POWER_OF_TEN : QUOTIENT;
        case Form::square: return POWER;
        default: return ATOM;
    }
}

void Printer::print(int i, Place place) {
    const Node& n = w.nodes[size_t(i)];
    bool brackets = level(n) < place.least || (!place.sign && negative(n));
    if (brackets) put("(", "<mrow><mo>(</mo>", "\\left(");
    body(n);
    if (brackets) put(")", "<mo>)</mo></mrow>", "\\right)");
}

// An exact number: "-3√2/5" as text, its pieces typeset.
void Printer::number(const Surd& x) {
    if (style == TEXT) return append_exact(out, x);
    int64_t p = x.c.num;
    if (p < 0) minus(), p = -p;
    bool fraction = x.c.den != 1;
    if (fraction) put("", "<mfrac><mrow>", "\\frac{");
    if (p != 1 || x.m == 1) integer(p);
    if (x.m != 1) {
        put("", "<msqrt>", "\\sqrt{");
        integer(x.m);
        put("", "</msqrt>", "}");
    }
    if (fraction) {
        put("", "</mrow>", "}{");
        integer(x.c.den);
        put("", "</mfrac>", "}");
    }
}

// A field's number: typeset, "1.5e-05" is 1.5 × 10⁻⁵ and Infinity is ∞.
void Printer::number(float f) {
    FieldText t = format_scalar(f);
    if (style == TEXT) return put(t.text);
    char* s = t.text;
    if (*s == '-') minus(), ++s;
    if (*s == 'N') return put("", "<mi mathvariant=\"normal\">NaN</mi>", "\\mathrm{NaN}");
    if (*s == 'I') return put("", "<mi>\u221e</mi>", "\\infty");
    char* e = s;
    while (*e && *e != 'e') ++e;
    if (!*e) e = nullptr;
    else *e = '\0';
    mn(s);
    if (!e) return;
    bool down = e[1] == '-';
    for (e += 2; *e == '0' && e[1]; ++e) {
    }
    put("", "<mo>\u00d7</mo><msup><mn>10</mn><mrow>", "\\times 10^{");
    if (down) minus();
    mn(e);
    put("", "</mrow></msup>", "}");
}

// "V1" is V with the subscript 1; θ is theta.
void Printer::name(const char* text) {
    if (style == TEXT) return put(text);
    if (text[0] != 'V' && text[0] != 'S') return put("", "<mi>\u03b8</mi>", "\\theta");
    char letter[2] = {text[0], '\0'};
    put("", "<msub><mi>", "");
    put(letter);
    put("", "</mi>", "_");
    mn(text + 1);
    put("", "</msub>", "");
}

void Printer::body(const Node& n) {
    const int* a = n.args;
    const Node& first = w.nodes[size_t(a[0] < 0 ? 0 : a[0])];
    switch (n.form) {
        case Form::exact: return number(n.value);
        case Form::decimal: return number(n.number);
        case Form::symbol: return name(n.name);
        case Form::plus:
        case Form::minus:
        case Form::times:
        case Form::cross:
        case Form::divide: {
            bool sum = n.form == Form::plus || n.form == Form::minus;
            print(a[0], sum ? FIRST_TERM : FACTOR);
            const Node& second = w.nodes[size_t(a[1])];
            // The dot product of names is spaced; a product of numbers is not.
            bool names = first.form == Form::symbol || first.form == Form::abs || second.form == Form::symbol;
            if (n.form == Form::times && names && style == TEXT)
                put(" \u00b7 ");
            else
                put(OPERATORS[int(n.form) - int(Form::plus)]);
            return print(a[1], sum ? TERM : FACTOR);
        }
        case Form::fraction:
            put("", "<mfrac><mrow>", "\\frac{");
            print(a[0], style == TEXT ? NUMERATOR : BARE);
            put("/", "</mrow><mrow>", "}{");
            print(a[1], style == TEXT ? DENOMINATOR : BARE);
            return put("", "</mrow></mfrac>", "}");
        case Form::square:
        case Form::root:
        case Form::abs: {
            const Wrap& around = WRAPS[int(n.form) - int(Form::square)];
            put(around.open);
            print(a[0], style == TEXT ? around.text : around.typeset);
            return put(around.close);
        }
        case Form::apply:
            // LaTeX has \cos and \arccos; the projections are named.
            if (*n.sub) put("", "<msub>", "");
            put("", "<mi>", *n.sub ? "\\operatorname{" : "\\");
            put(n.name);
            put("", "</mi>", *n.sub ? "}" : "");
            if (*n.sub) {
                put("_", "", "_{");
                name(n.sub);
                put("", "</msub>", "}");
            }
            put("", "<mo rspace=\"0.17em\">\u2061</mo>", "");
            if (!n.parens) {
                put(" ", "", " ");
                return print(a[0], BASE);
            }
            put("(", "<mo>(</mo>", "(");
            print(a[0], BARE);
            return put(")", "<mo>)</mo>", ")");
        case Form::tuple:
            put("(", "<mrow><mo>(</mo>", "(");
            for (int i = 0; i < 3; ++i) {
                if (i) put(", ", "<mo>,</mo>", ", ");
                print(a[i], BARE);
            }
            return put(")", "<mo>)</mo></mrow>", ")");
        case Form::degrees:
            print(a[0], BARE);
            return put("\u00b0", "<mo>\u00b0</mo>", "^\\circ");
        default: return;  // clauses and steps are the walk's
    }
}

// A step, or the label (s null). Typeset, each is a <math> of its own, so
// that a long clause wraps between its steps, and reads out as its text.
// Every text here is the working's own (numbers as the fields write them,
// names, words): none needs escaping.
void Printer::step(const Node* s, int form) {
    if (style == MATHML) {
        Printer text(w, TEXT);
        text.step(s, form);
        put(s ? " <math alttext=\"" : "<math alttext=\"");
        put(text.out.c_str() + (s ? 1 : 0));
        put("\"><mrow>");
    }
    if (s) put(s->parens ? " \u2248 " : " = ", s->parens ? "<mo>\u2248</mo>" : "<mo>=</mo>", s->parens ? " \\approx " : " = ");
    print(form, BARE);
    if (style == MATHML) put("</mrow></math>");
}

std::string print(const Working& w, Style style) {
    Printer p(w, style);
    bool open = false, math = false;
    auto close = [&] {
        p.put("", "</span>", math ? "$" : "");
        open = false;
    };
    for (const Node& n : w.nodes) {
        if (n.form == Form::step) p.step(&n, n.args[0]);
        if (n.form != Form::clause) continue;
        if (open) {
            close();
            p.put("; ", "", "; ");
        }
        open = true;
        math = n.args[0] >= 0;
        p.put("", "<span class=\"clause\">", math ? "$" : "");
        if (math)
            p.step(nullptr, n.args[0]);
        else
            p.put(n.name);
    }
    if (open) close();
    return p.out;
}

}  // namespace

std::string plain_text(const Working& w) { return print(w, TEXT); }
std::string mathml(const Working& w) { return print(w, MATHML); }
std::string latex(const Working& w) { return print(w, LATEX); }
