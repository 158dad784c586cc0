// working: a calculation's working as data. Exact numbers (working/exact.h),
// the working as a tree of clauses over expressions, and its three
// printers: plain text, MathML and LaTeX. It knows notation, not commands:
// app/ builds each command's working from the calculation, and the hosts
// show what these printers give.
#pragma once

#include <string>
#include <vector>

#include "working/exact.h"

enum class Form : unsigned char {
    exact,     // a Surd
    decimal,   // a float as the fields write it: "0.1", "1e-05", "NaN"
    symbol,    // "V1", "S1", "θ"
    plus,      // a + b
    minus,     // a − b
    times,     // a·b
    cross,     // a × b
    divide,    // a / b as a command writes it
    fraction,  // a/b, a quotient worked out
    square,    // a²
    root,      // √a
    abs,       // |a|
    apply,     // a function: "cos θ", "arccos(x)", "comp_V2 V1"
    tuple,     // (a, b, c)
    degrees,   // a°
    clause,    // a clause begins: its label (args[0]), or its words (name)
    step,      // "=" or, with parens, "≈" and the form args[0]
};

// One form of the tree, kept flat in its Working: its operands are the
// indices of earlier forms. Names are static text.
struct Node {
    Form form = Form::exact;
    bool parens = false;     // apply: its argument in brackets
    unsigned char count = 0;  // operands
    Surd value;              // exact
    float number = 0.0f;     // decimal
    const char* name = "";   // symbol, the function's name
    const char* sub = "";    // apply: the name's subscript, a symbol ("V2"), or ""
    int args[3] = {};
};

// A working is clauses: a label and a chain of equal forms, or words alone.
// Each builder below adds a form and gives its index; clause() begins a
// clause on the label built before it, and step() adds one of its forms.
struct Working {
    std::vector<Node> nodes;

    int exact(const Surd& x);
    int decimal(float f);  // as the fields write it
    int symbol(const char* name);
    int op(Form form, int a);
    int op(Form form, int a, int b);
    int function(const char* name, const char* sub, int arg, bool parens);
    int tuple(int a, int b, int c);
    void clause(int label);
    void step(int form, bool approximately = false);
    void words(const char* text);
};

// Clauses joined by "; ", brackets where precedence needs them: the text
// that Copy working gives and every host shows.
std::string plain_text(const Working& w);
// A <span class="clause"> for each clause; in it a <math> for the label and
// for each step, whose alttext is that step's plain text. Words as text.
std::string mathml(const Working& w);
// Each clause's formula in $...$, words as text, joined by "; ".
std::string latex(const Working& w);
