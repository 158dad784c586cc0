// Writes the page, index.html, from the template table: every control in
// template order (the view after Redraw, where Tab reaches it), each with
// its identifier in data-id and an accessible name from the label or
// column heading it stands by, placed in a grid worked out from the
// template's rows, columns and group boxes: the dialog's arrangement in a
// wide window, one column in a narrow one. Run at build time under node.
// Usage: make_page OUTPUT

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/commands.h"
#include "app/control_ids.h"
#include "app/dialog_template.h"
#include "view/view.h"

namespace {

bool is_class(const TemplateControl& c, const char* name) { return std::strcmp(c.window_class, name) == 0; }
unsigned button_type(const TemplateControl& c) { return c.style & TPL_BS_TYPEMASK; }
bool is_field_label(const TemplateControl& c) { return is_class(c, "Static") && (c.style & TPL_SS_CENTERIMAGE); }
bool is_heading(const TemplateControl& c) { return is_class(c, "Static") && !(c.style & TPL_SS_CENTERIMAGE); }

std::string escape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        switch (*p) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += *p;
        }
    }
    return out;
}

// 1 for the topmost control of its class in its column, 2 for the next...
int row_of(const TemplateControl& c) {
    int row = 1;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_class(o, c.window_class) && o.x == c.x && o.y < c.y) ++row;
    return row;
}

// The field label on a control's left in its row, or nullptr.
const TemplateControl* label_of(const TemplateControl& c) {
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_field_label(o) && o.y == c.y && o.x + o.width <= c.x) return &o;
    return nullptr;
}

// How far two controls share columns of the dialog; <= 0 for not at all.
int overlap(const TemplateControl& a, const TemplateControl& b) {
    return std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
}

// A field's label on its left, or else the column heading above it with
// the field's row; a check box's own text with its row.
std::string accessible_name(const TemplateControl& c) {
    if (is_class(c, "Button")) return std::string(c.text) + " " + std::to_string(row_of(c));
    if (const TemplateControl* label = label_of(c)) return label->text;
    const TemplateControl* heading = nullptr;
    int best = 0;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS) {
        if (is_heading(o) && o.y < c.y && overlap(o, c) > best) {
            heading = &o;
            best = overlap(o, c);
        }
    }
    return heading ? std::string(heading->text) + " " + std::to_string(row_of(c)) : std::string();
}

bool is_group_box(const TemplateControl& c) { return is_class(c, "Button") && button_type(c) == TPL_BS_GROUPBOX; }

bool inside(const TemplateControl& inner, const TemplateControl& outer) {
    return &inner != &outer && inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The smallest group box round a control, or nullptr. The template keeps
// group boxes apart from what they hold, so the page lays them out apart
// too and gives each its controls through aria-owns: a screen reader then
// finds "Add" in "Vec3" in "Vec1 | Vec2".
const TemplateControl* group_of(const TemplateControl& c) {
    const TemplateControl* group = nullptr;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_group_box(o) && inside(c, o) && (!group || o.width * o.height < group->width * group->height)) group = &o;
    return group;
}

std::string element_id(const TemplateControl& c) { return "c" + std::to_string(&c - MAIN_DLG_CONTROLS); }

// The view's on-view buttons stand in the view's group with it.
std::string owned_ids(const TemplateControl& group) {
    std::string ids;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (group_of(o) == &group)
            ids += (ids.empty() ? "" : " ") + element_id(o) + (is_class(o, "OpenGLView") ? " view-buttons" : "");
    return ids;
}

// The view and its group box; what the box holds is the view's side of the
// dialog, the rest the calculator's.
const TemplateControl& view() { return *template_control(ID_VIEW); }
const TemplateControl& view_group() { return *group_of(view()); }
bool on_view_side(const TemplateControl& c) { return &c == &view_group() || inside(c, view_group()); }
bool is_push_button(const TemplateControl& c) { return is_class(c, "Button") && button_type(c) == TPL_BS_PUSHBUTTON; }

// The calculator gives each field and button a row of its own, top to
// bottom; a field's label stands in its field's row. The view's fields and
// check boxes stand in the column of their left edge.
bool takes_row(const TemplateControl& c) { return !on_view_side(c) && (is_class(c, "Edit") || is_push_button(c)); }
bool is_view_field(const TemplateControl& c) {
    return on_view_side(c) && (is_class(c, "Edit") || (is_class(c, "Button") && button_type(c) == TPL_BS_AUTOCHECKBOX));
}

// How many distinct values of `at` the controls that `counts` picks have
// below `limit`.
int distinct_below(bool (*counts)(const TemplateControl&), int TemplateControl::*at, int limit) {
    int n = 0;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS) {
        bool first = counts(o) && o.*at < limit;
        for (const TemplateControl* p = MAIN_DLG_CONTROLS; first && p != &o; ++p)
            first = !(counts(*p) && p->*at == o.*at);
        n += first;
    }
    return n;
}
int rows_above(int y) { return distinct_below(takes_row, &TemplateControl::y, y); }
// The template's rows, and the page's own under them: Show calculation and
// its working.
int calculator_rows() { return rows_above(1 << 30) + 1; }
int columns_left_of(int x) { return distinct_below(is_view_field, &TemplateControl::x, x); }
int view_columns() { return columns_left_of(1 << 30); }
int view_rows() {
    int n = 0;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_view_field(o)) n = std::max(n, row_of(o));
    return n;
}
// A column heading stands over the field of the first row it overlaps most.
int view_column(const TemplateControl& c) {
    if (!is_heading(c)) return columns_left_of(c.x);
    const TemplateControl* under = &c;
    int best = 0;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS) {
        if (is_view_field(o) && row_of(o) == 1 && overlap(o, c) > best) {
            under = &o;
            best = overlap(o, c);
        }
    }
    return columns_left_of(under->x);
}

// Grid lines, the ends excluded, as grid-area takes them. A wide window
// has the calculator in the first column and the view's group beside it,
// the view filling the height left (the row after the calculator's); a
// narrow one has the calculator, then the view's rows, Redraw and the view,
// each across the width.
struct Area {
    int row, col, row_end, col_end;
};

Area place(const TemplateControl& c, bool wide) {
    const int n = calculator_rows(), k = view_columns(), r = view_rows();
    if (!on_view_side(c)) {
        int first = rows_above(c.y) + 1, last = first;
        if (is_group_box(c)) {
            first = n;
            last = 1;
            for (const TemplateControl& o : MAIN_DLG_CONTROLS)
                if (takes_row(o) && inside(o, c)) {
                    first = std::min(first, rows_above(o.y) + 1);
                    last = std::max(last, rows_above(o.y) + 1);
                }
        }
        return {first, 1, last + 1, wide ? 2 : k + 1};
    }
    const int top = wide ? 1 : n + 1, left = wide ? 2 : 1, right = left + k + (wide ? 1 : 0);
    if (&c == &view_group()) return {top, left, wide ? n + 2 : top + r + 3, right};
    if (&c == &view()) return {top + r + (wide ? 1 : 2), left, wide ? n + 2 : top + r + 3, right};
    if (is_push_button(c))
        return wide ? Area{top + 1, left + k, top + r + 1, right} : Area{top + r + 1, left, top + r + 2, right};
    int row = is_heading(c) ? 0 : row_of(c), col = view_column(c);
    return {top + row, left + col, top + row + 1, left + col + 1};
}

// The page's own tools: in a wide window under the calculator, in a row
// that takes what the view leaves and never more, so that no status line
// moves the view; in a narrow one after the view.
Area tools_area(bool wide) {
    const int n = calculator_rows(), k = view_columns(), r = view_rows();
    return wide ? Area{n + 1, 1, n + 2, 2} : Area{n + r + 4, 1, n + r + 5, k + 1};
}

std::string area_text(Area a) {
    char s[64];
    std::snprintf(s, sizeof s, "%d/%d/%d/%d", a.row, a.col, a.row_end, a.col_end);
    return s;
}

// Room inside each group box round a control, at whichever of its edges it
// shares with the box: the caption's height on top, a pad elsewhere. A
// field keeps room for its label on its left. In ems of the page's font.
constexpr double CAPTION_EM = 1.4, PAD_EM = 0.5, LABEL_EM = 2.25;

bool is_labelled(const TemplateControl& c) { return is_class(c, "Edit") && label_of(c); }

std::string margins(const TemplateControl& c, bool wide) {
    Area a = place(c, wide);
    double top = 0, right = 0, bottom = 0, left = is_labelled(c) ? LABEL_EM : 0;
    for (const TemplateControl* g = group_of(c); g; g = group_of(*g)) {
        Area b = place(*g, wide);
        top += a.row == b.row ? CAPTION_EM : 0;
        bottom += a.row_end == b.row_end ? PAD_EM : 0;
        left += a.col == b.col ? PAD_EM : 0;
        right += a.col_end == b.col_end ? PAD_EM : 0;
    }
    std::string text;
    for (double em : {top, right, bottom, left}) {
        char s[16] = "0";
        if (em != 0) std::snprintf(s, sizeof s, "%gem", em);
        text += (text.empty() ? "" : " ") + std::string(s);
    }
    return text;
}

// The grid areas and margins in both arrangements, for the style sheet's
// media query to choose from.
std::string placed(const TemplateControl& c) {
    std::string narrow = margins(c, false), wide = margins(c, true);
    return " style=\"--at:" + area_text(place(c, false)) + ";--wide:" + area_text(place(c, true)) + ";--m:" + narrow +
           (wide == narrow ? "" : ";--wm:" + wide) + "\"";
}

// The first tab stop has the focus at start, as the dialog manager gives it.
bool is_first_tab_stop(const TemplateControl& c) {
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (o.style & TPL_WS_TABSTOP) return &o == &c;
    return false;
}

// Buttons over the view's top right corner for those who cannot drag or
// use the keys, each doing what its key does, laid out as a cross of
// arrows round the reset with the zoom beside it.
struct OnViewButton {
    ViewKey key;
    const char* name;
    const char* glyph;
    int column, row;
};
const OnViewButton VIEW_BUTTONS[] = {
    {ViewKey::left, "Rotate left", "&#x2190;", 1, 2},   {ViewKey::right, "Rotate right", "&#x2192;", 3, 2},
    {ViewKey::up, "Rotate up", "&#x2191;", 2, 1},       {ViewKey::down, "Rotate down", "&#x2193;", 2, 3},
    {ViewKey::zoom_in, "Zoom in", "+", 4, 1},           {ViewKey::zoom_out, "Zoom out", "&#x2212;", 4, 2},
    {ViewKey::reset, "Reset view", "&#x2302;", 2, 2},
};

std::string view_buttons() {
    std::string html = "<div id=\"view-buttons\" class=\"view-buttons\"" + placed(view()) + ">";
    for (const OnViewButton& b : VIEW_BUTTONS) {
        char place[48];
        std::snprintf(place, sizeof place, "grid-area:%d/%d", b.row, b.column);
        html += std::string("<button type=\"button\" data-view-key=\"") + std::to_string(int(b.key)) +
                "\" aria-label=\"" + b.name + "\" title=\"" + b.name + "\" style=\"" + place + "\">" + b.glyph +
                "</button>";
    }
    return html + "</div>";
}

// A field label names the field that follows it in its row.
std::string labelled_field(const TemplateControl& label) {
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_class(o, "Edit") && o.y == label.y && label.x + label.width <= o.x) return element_id(o);
    return "";
}

std::string control_html(const TemplateControl& c) {
    std::string id = "id=\"" + element_id(c) + "\" data-id=\"" + std::to_string(c.id) + "\"";
    std::string text = escape(c.text);
    if (is_class(c, "Edit")) {
        return "<input type=\"text\" " + id + placed(c) + " value=\"" + text + "\" aria-label=\"" +
               escape(accessible_name(c).c_str()) + "\"" + ((c.style & TPL_ES_READONLY) ? " readonly" : "") +
               (is_first_tab_stop(c) ? " autofocus" : "") + " spellcheck=\"false\" autocomplete=\"off\">";
    }
    if (is_group_box(c))
        return "<fieldset " + id + placed(c) + " aria-owns=\"" + owned_ids(c) + "\"><legend>" + text +
               "</legend></fieldset>";
    if (is_class(c, "Button") && button_type(c) == TPL_BS_AUTOCHECKBOX)
        return "<label class=\"check\"" + placed(c) + "><input type=\"checkbox\" " + id +
               " autocomplete=\"off\" aria-label=\"" + escape(accessible_name(c).c_str()) + "\">" + text + "</label>";
    if (is_class(c, "Button")) return "<button type=\"button\" " + id + placed(c) + ">" + text + "</button>";
    if (is_field_label(c))
        return "<label class=\"static\" " + id + placed(c) + " for=\"" + labelled_field(c) + "\">" + text + "</label>";
    if (is_class(c, "Static")) return "<div class=\"static heading\" " + id + placed(c) + ">" + text + "</div>";
    // The view, reached by Tab after Redraw, and its buttons over it.
    return "<canvas " + id + " tabindex=\"0\"" + placed(c) +
           " role=\"application\" aria-roledescription=\"3D view\" aria-label=\"The vectors handed over by "
           "Redraw, with the axes x red, y green and z blue over a checkerboard ground. Arrow keys orbit, with "
           "Shift in small steps; plus and minus or Page Up and Page Down zoom; Home resets the view. Drag with "
           "the left button or one finger to orbit; the wheel, the right button or two fingers zoom\"></canvas>\n" +
           view_buttons();
}

// The page's own font and colours, native controls, light or dark after
// the system; the view's picture is its own. Controls are 25 CSS px high
// or more: over the 24 a pointer target needs. Nothing is shown before
// the runtime's script has run, its last bytes included (#parsed follows
// it): by then the page is laid out and the first frame drawn. The first
// frame needs only the view's size, and the controls' boxes give it
// without their contents: those (their text, in fonts not yet loaded) are
// left out of layout until the frame is drawn (#view-first, which page.js
// drops). Every box keeps its size meanwhile, so the view is drawn once.
const char* const HEAD = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%s</title>
<meta name="description" content="Arithmetic on 3-component vectors with a live 3D view: add, subtract, cross, dot, scale, normalize and measure vectors, and see up to three drawn round the axes. A static page that works offline; a link keeps the whole scene.">
<meta name="color-scheme" content="light dark">
<link rel="manifest" href="manifest.webmanifest">
<link rel="expect" href="#parsed" blocking="render">
<link rel="icon" href="arrowbench-32.png" sizes="32x32">
<link rel="apple-touch-icon" href="arrowbench-256.png">
<style>
:root { color-scheme: light dark; --control: 2em; }
body { box-sizing: border-box; min-height: 100vh; min-height: 100dvh; margin: 0; padding: 0 8px;
       display: flex; flex-direction: column; font: 16px/1.25 system-ui, -apple-system, "Segoe UI", Roboto, Ubuntu,
       "Noto Sans", "DejaVu Sans", sans-serif; }
header { padding: 10px 0 8px; }
h1 { margin: 0; font-size: 1.5em; line-height: 1.2; }
header p { margin: 2px 0 0; }
main { position: relative; flex: 1; display: grid; gap: 6px; align-content: start; padding-bottom: 12px;
       grid-template-columns: repeat(3, minmax(0, 1fr)) min-content; }
main > * { grid-area: var(--at); margin: var(--m); box-sizing: border-box; min-width: 0; font: inherit; }
main > input, main > button, .tools button { min-height: var(--control); }
main > input { align-self: end; padding: 0 .3em; font-size: min(1em, calc((100vw - 56px) / 21.5)); }
input[readonly] { background: color-mix(in srgb, Canvas 92%%, CanvasText); }
button { padding: 0 .6em; font-family: inherit; }
fieldset { padding: 0; border: 1px solid color-mix(in srgb, CanvasText 35%%, Canvas); border-radius: 6px;
           pointer-events: none; }
legend { margin-left: .4em; padding: 0 .3em; line-height: 1.2; }
.static { align-self: end; justify-self: start; line-height: var(--control); }
.heading { line-height: inherit; }
.check { display: flex; align-items: center; gap: .3em; white-space: nowrap; }
.check input { flex: none; width: 24px; height: 24px; margin: 0; }
main > canvas { justify-self: stretch; align-self: start; aspect-ratio: 546 / 363; max-height: 90vh; contain: size;
                border: 1px solid color-mix(in srgb, CanvasText 35%%, Canvas); touch-action: none; }
main > canvas:focus-visible { outline: 2px solid CanvasText; outline-offset: 1px; }
.view-buttons { justify-self: end; align-self: start; padding: 6px; display: grid; gap: 2px;
                grid-template: repeat(3, 28px) / repeat(4, 28px); pointer-events: none; touch-action: none; }
.view-buttons button { padding: 0; font-size: 16px; line-height: 1; pointer-events: auto; }
.tools { display: flex; flex-wrap: wrap; align-items: center; gap: 6px 12px; }
.calculation output { flex-basis: 100%%; overflow-wrap: anywhere; }
.clause { display: block; }
math { font-family: math; }
#worksheet-panel { flex-basis: 100%%; }
main > .tools:not(.calculation) { contain: inline-size; }
h2 { margin: 8px 0 2px; font-size: 1.15em; }
#worksheet { margin: 0; padding: 0; }
#worksheet li { display: block; margin: 4px 0; }
@media screen { #worksheet li { content-visibility: auto; contain-intrinsic-size: auto 3em; } }
#worksheet .working { overflow-wrap: anywhere; padding-left: 1.5em; }
.recall { margin-left: .6em; min-height: var(--control); }
@media print {
  header, main > :not(.tools:not(.calculation)), main > .tools > :not(#worksheet-panel), #worksheet-panel .tools, .recall { display: none; }
  main { display: block; }
  #worksheet li { break-inside: avoid; }
}
.axis-label { position: absolute; left: 0; top: 0; margin: 0; font-weight: bold; line-height: 1; pointer-events: none; }
@media (min-width: 1000px) {
  :root { --control: 1.85em; }
  body { height: 100vh; height: 100dvh; padding: 0 16px; font-size: 14px; }
  main > input { font-size: inherit; }
  main { min-height: 0; grid-template-columns: 24.5em minmax(0, 1fr) minmax(0, 1fr) minmax(0, .6fr) auto auto;
         grid-template-rows: repeat(%d, auto) minmax(0, 1fr); row-gap: 4px; }
  header { display: flex; flex-wrap: wrap; align-items: baseline; column-gap: 1em; }
  .tools { align-self: start; margin-top: 8px; }
  #worksheet { max-height: 45vh; overflow: auto; }
  .calculation output { font-size: .9em; }
  main > * { grid-area: var(--wide); margin: var(--wm, var(--m)); }
  main > canvas { align-self: stretch; aspect-ratio: auto; max-height: none; min-width: 546px; min-height: 363px; }
}
</style>
<style id="view-first">
header > *, main > :not(canvas, .calculation, .check, .heading) { content-visibility: hidden; }
header > *, .static, .heading { contain-intrinsic-block-size: 1lh; }
.tools { contain-intrinsic-block-size: var(--control); }
</style>
</head>
<body>
<header>
<h1>%s</h1>
<p>Arithmetic on 3-component vectors, with a live 3D view of up to three of them.</p>
</header>
<main>
)";

// What the page has beyond the dialog: the scene's link and the picture,
// and a line that says what became of them.
// Under the command buttons, next in the Tab order: the last calculation
// drawn in the view, and its working, read out as it changes.
std::string calculation_tools() {
    const int n = calculator_rows();
    char place[96];
    std::snprintf(place, sizeof place, "--at:%d/1/%d/%d;--wide:%d/1/%d/2;--m:0", n, n + 1, view_columns() + 1, n, n + 1);
    return std::string("<div class=\"tools calculation\" style=\"") + place +
           "\">\n<button type=\"button\" id=\"show-calculation\" data-id=\"" + std::to_string(ID_SHOW_CALCULATION) +
           "\">Show calculation</button>\n<button type=\"button\" id=\"use-result\" data-id=\"" +
           std::to_string(ID_USE_RESULT) +
           "\">Use result</button>\n<button type=\"button\" id=\"undo\" data-id=\"" + std::to_string(ID_UNDO) +
           "\" aria-keyshortcuts=\"Control+Z\" disabled>Undo</button>\n<button type=\"button\" id=\"redo\" data-id=\"" +
           std::to_string(ID_REDO) +
           "\" aria-keyshortcuts=\"Control+Y Control+Shift+Z\" disabled>Redo</button>\n<output id=\"working\" aria-live=\"polite\" data-text=\"\"></output>\n"
           "<button type=\"button\" id=\"copy-working\" hidden>Copy working</button>\n"
           "<button type=\"button\" id=\"copy-latex\" hidden>Copy LaTeX</button>\n</div>";
}

std::string tools() {
    return "<div class=\"tools\" style=\"--at:" + area_text(tools_area(false)) + ";--wide:" +
           area_text(tools_area(true)) + ";--m:0\">\n"
           "<button type=\"button\" id=\"copy-link\">Copy link</button>\n"
           "<button type=\"button\" id=\"save-picture\">Save picture</button>\n"
           "<span id=\"status\" role=\"status\"></span>\n"
           "<section id=\"worksheet-panel\" aria-labelledby=\"worksheet-title\">\n"
           "<h2 id=\"worksheet-title\">Worksheet</h2>\n<ol id=\"worksheet\" aria-labelledby=\"worksheet-title\"></ol>\n"
           "<p class=\"tools\"><button type=\"button\" id=\"copy-worksheet\">Copy worksheet</button>\n"
           "<button type=\"button\" id=\"copy-worksheet-latex\">Copy worksheet as LaTeX</button>\n"
           "<button type=\"button\" id=\"clear-worksheet\" data-id=\"" +
           std::to_string(ID_CLEAR_WORKSHEET) + "\">Clear worksheet</button></p>\n</section>\n</div>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out, HEAD, MAIN_DLG.caption, calculator_rows(), MAIN_DLG.caption);
    for (const TemplateControl& c : MAIN_DLG_CONTROLS) {
        if (&c != &view()) std::fprintf(out, "%s\n", control_html(c).c_str());
        if (unsigned(c.id) == COMMANDS[COMMAND_COUNT - 1].id) std::fprintf(out, "%s\n", calculation_tools().c_str());
        if (c.id == ID_REDRAW) std::fprintf(out, "%s\n", control_html(view()).c_str());
    }
    // The scripts last: the controls are there when they run, and the view
    // draws as the runtime's script runs. The build puts each inline, the
    // wasm too (pack_page.js): a first visit makes one request.
    std::fprintf(out, "%s</main>\n<script src=\"names.js\"></script>\n<script src=\"view.js\"></script>\n<script src=\"page.js\"></script>\n"
                 "<script src=\"arrowbench.wasm\"></script>\n<script src=\"arrowbench.js\"></script>\n"
                 "<template id=\"parsed\"></template>\n</body>\n</html>\n", tools().c_str());
    return std::fclose(out) == 0 ? 0 : 1;
}
