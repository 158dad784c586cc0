// Prints the shared case tables and the template's tab stops as JSON, for
// the browser test: the same rows the core's own tests check.

#include <cstdio>
#include <string>

#include "app/commands.h"
#include "app/dialog_template.h"
#include "tests/command_cases.h"
#include "tests/show_cases.h"
#include "tests/vectext_cases.h"
#include "tests/working_cases.h"
#include "vectext/vectext.h"

namespace {

// Table texts are bytes; a byte from 0x80 up stands for the Latin-1
// character of the same code, which a browser field holds as two UTF-8
// bytes, as a Latin-1 paste does on Linux.
std::string json(const char* text) {
    if (!text) return "null";
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x20 || *p >= 0x7F || *p == '"' || *p == '\\') {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", *p);
            out += u;
        } else {
            out += char(*p);
        }
    }
    return out + "\"";
}

// Texts that are UTF-8 already, as the working is.
std::string json_utf8(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) out += *p == '"' || *p == '\\' ? std::string("\\") + *p : std::string(1, *p);
    return out + "\"";
}

}  // namespace

int main() {
    std::printf("{\"commands\": [\n");
    bool first = true;
    for (const CommandCase& c : COMMAND_CASES) {
        std::printf("%s  {\"id\": %u, \"v1\": %s, \"v2\": %s, \"s1\": %s, \"v1_after\": %s, \"v2_after\": %s, \"v3\": %s, "
                    "\"s2\": %s}",
                    first ? "" : ",\n", c.id, json(c.v1).c_str(), json(c.v2).c_str(), json(c.s1).c_str(),
                    json(c.v1_after).c_str(), json(c.v2_after).c_str(), json(c.v3).c_str(), json(c.s2).c_str());
        first = false;
    }
    std::printf("],\n\"vectors\": [\n");
    first = true;
    for (const VectorCase& c : VECTOR_CASES) {
        std::printf("%s  {\"text\": %s, \"written\": %s}", first ? "" : ",\n", json(c.text).c_str(),
                    json(c.written).c_str());
        first = false;
    }
    std::printf("],\n\"colors\": [\n");
    first = true;
    for (const ColorCase& c : COLOR_CASES) {
        std::printf("%s  {\"text\": %s, \"written\": %s}", first ? "" : ",\n", json(c.text).c_str(),
                    json(c.written).c_str());
        first = false;
    }
    std::printf("],\n\"long_field\": {\"pad\": %d, \"tail\": %s, \"written\": %s},\n", LONG_FIELD.pad,
                json(LONG_FIELD.tail).c_str(), json(LONG_FIELD.written).c_str());
    std::printf("\"show_id\": %u,\n\"use_id\": %u,\n\"undo_id\": %u,\n\"redo_id\": %u,\n\"clear_id\": %u,\n\"show\": [\n",
                ID_SHOW_CALCULATION, ID_USE_RESULT, ID_UNDO, ID_REDO, ID_CLEAR_WORKSHEET);
    first = true;
    for (const ShowCase& c : SHOW_CASES) {
        std::printf("%s  {\"command\": %u, \"v1\": %s, \"v2\": %s, \"s1\": %s, \"working\": %s, \"rows\": [", first ? "" : ",\n",
                    c.command, json(c.v1).c_str(), json(c.v2).c_str(), json(c.s1).c_str(), json_utf8(c.working).c_str());
        for (int i = 0; i < 9; ++i) std::printf("%s%s", i ? ", " : "", json(c.rows[i]).c_str());
        std::printf("]}");
        first = false;
    }
    // Each working of the tables as the core prints it three ways, for
    // the page's test to parse the MathML as XML and the LaTeX with KaTeX.
    std::printf("],\n\"workings\": [\n");
    first = true;
    auto working = [&](unsigned command, const char* v1, const char* v2, const char* s1) {
        Working w = explain(calculate(command, parse_vector(v1), parse_vector(v2), parse_scalar(s1)));
        std::printf("%s  {\"text\": %s, \"mathml\": %s, \"latex\": %s}", first ? "" : ",\n",
                    json_utf8(plain_text(w).c_str()).c_str(), json_utf8(mathml(w).c_str()).c_str(),
                    json_utf8(latex(w).c_str()).c_str());
        first = false;
    };
    for (const WorkingCase& c : WORKING_CASES) working(c.command, c.v1, c.v2, c.s1);
    for (const ShowCase& c : SHOW_CASES)
        if (c.command) working(c.command, c.v1, c.v2, c.s1);
    std::printf("],\n\"controls\": [");
    for (int i = 0; i < CONTROL_COUNT; ++i) std::printf("%s%d", i ? ", " : "", MAIN_DLG_CONTROLS[i].id);
    std::printf("],\n\"tab_stops\": [");
    first = true;
    for (const TemplateControl& c : MAIN_DLG_CONTROLS) {
        if (!(c.style & TPL_WS_TABSTOP)) continue;
        std::printf("%s%d", first ? "" : ", ", c.id);
        first = false;
    }
    std::printf("]}\n");
    return 0;
}
