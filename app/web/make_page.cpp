// Writes the page, index.html, from the template table: every control in
// template order, placed by dialog units as the Linux host places them,
// each with its identifier in data-id and an accessible name from the
// label or column heading it stands by. Run at build time under node.
// Usage: make_page OUTPUT

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/dialog_template.h"

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

// A field's label on its left, or else the column heading above it with
// the field's row; a check box's own text with its row.
std::string accessible_name(const TemplateControl& c) {
    if (is_class(c, "Button")) return std::string(c.text) + " " + std::to_string(row_of(c));
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (is_field_label(o) && o.y == c.y && o.x + o.width <= c.x) return o.text;
    const TemplateControl* heading = nullptr;
    int best = 0;
    for (const TemplateControl& o : MAIN_DLG_CONTROLS) {
        int overlap = std::min(o.x + o.width, c.x + c.width) - std::max(o.x, c.x);
        if (is_heading(o) && o.y < c.y && overlap > best) {
            heading = &o;
            best = overlap;
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

std::string box(int x, int y, int w, int h) {
    char s[96];
    std::snprintf(s, sizeof s, "left:%dpx;top:%dpx;width:%dpx;height:%dpx", x, y, w, h);
    return s;
}

// The first tab stop has the focus at start, as the dialog manager gives it.
bool is_first_tab_stop(const TemplateControl& c) {
    for (const TemplateControl& o : MAIN_DLG_CONTROLS)
        if (o.style & TPL_WS_TABSTOP) return &o == &c;
    return false;
}

// The template's tab stops keep their order, and the view and its buttons
// come after them: the view is first in the template (and so in the page's
// order for screen readers), but reached last by Tab, after Redraw.
const char* const TAB_STOP = " tabindex=\"1\"";
const char* const VIEW_TAB_STOP = " tabindex=\"2\"";

// Buttons over the view's top right corner for those who cannot drag or
// use the keys, each doing what its key does (ViewKey's numbers), laid out
// as a cross of arrows round the reset with the zoom beside it.
struct ViewButton {
    const char* name;
    const char* glyph;
    int column, row;
};
const ViewButton VIEW_BUTTONS[] = {
    {"Rotate left", "&#x2190;", 1, 2}, {"Rotate right", "&#x2192;", 3, 2}, {"Rotate up", "&#x2191;", 2, 1},
    {"Rotate down", "&#x2193;", 2, 3}, {"Zoom in", "+", 4, 1},             {"Zoom out", "&#x2212;", 4, 2},
    {"Reset view", "&#x2302;", 2, 2},
};
constexpr int VIEW_BUTTON_PX = 26;  // over the 24 CSS px a pointer target needs
constexpr int VIEW_BUTTON_GAP = 2;

std::string view_buttons(int right, int top) {
    int width = 4 * VIEW_BUTTON_PX + 3 * VIEW_BUTTON_GAP, height = 3 * VIEW_BUTTON_PX + 2 * VIEW_BUTTON_GAP;
    std::string html =
        "<div id=\"view-buttons\" class=\"view-buttons\" style=\"" + box(right - width, top, width, height) + "\">";
    for (const ViewButton& b : VIEW_BUTTONS) {
        char place[48];
        std::snprintf(place, sizeof place, "grid-area:%d/%d", b.row, b.column);
        html += std::string("<button type=\"button\"") + VIEW_TAB_STOP + " data-view-key=\"" +
                std::to_string(&b - VIEW_BUTTONS) + "\" aria-label=\"" + b.name + "\" title=\"" + b.name +
                "\" style=\"" + place + "\">" + b.glyph + "</button>";
    }
    return html + "</div>";
}

std::string control_html(const TemplateControl& c) {
    int x = du_to_px_x(c.x), y = du_to_px_y(c.y), w = du_to_px_x(c.width), h = du_to_px_y(c.height);
    std::string id = "id=\"" + element_id(c) + "\" data-id=\"" + std::to_string(c.id) + "\"" +
                     ((c.style & TPL_WS_TABSTOP) ? TAB_STOP : "");
    std::string text = escape(c.text);
    if (is_class(c, "Edit")) {
        return "<input type=\"text\" " + id + " style=\"" + box(x, y, w, h) + "\" value=\"" + text +
               "\" aria-label=\"" + escape(accessible_name(c).c_str()) + "\"" +
               ((c.style & TPL_ES_READONLY) ? " readonly" : "") + (is_first_tab_stop(c) ? " autofocus" : "") +
               " spellcheck=\"false\" autocomplete=\"off\">";
    }
    if (is_class(c, "Button") && button_type(c) == TPL_BS_GROUPBOX)
        return "<fieldset " + id + " style=\"" + box(x, y, w, h) + "\" aria-owns=\"" + owned_ids(c) + "\"><legend>" +
               text + "</legend></fieldset>";
    if (is_class(c, "Button") && button_type(c) == TPL_BS_AUTOCHECKBOX)
        return "<label class=\"check\" style=\"" + box(x, y, w, h) + "\"><input type=\"checkbox\" " + id +
               " autocomplete=\"off\" aria-label=\"" + escape(accessible_name(c).c_str()) + "\">" + text + "</label>";
    if (is_class(c, "Button"))
        return "<button type=\"button\" " + id + " style=\"" + box(x, y, w, h) + "\">" + text + "</button>";
    if (is_class(c, "Static"))
        return std::string("<div class=\"") + (is_field_label(c) ? "static centre" : "static") + "\" " + id +
               " style=\"" + box(x, y, w, h) + "\">" + text + "</div>";
    // The view: its client area is the canvas, inside the client edge, and
    // the on-view buttons over it, inside the edge and a little more.
    return "<canvas " + id + VIEW_TAB_STOP + " style=\"" + box(x, y, w - 2 * CLIENT_EDGE_PX, h - 2 * CLIENT_EDGE_PX) +
           "\" role=\"application\" aria-roledescription=\"3D view\" aria-label=\"The vectors handed over by "
           "Redraw, with the axes x red, y green and z blue over a checkerboard ground. Arrow keys orbit, with "
           "Shift in small steps; plus and minus or Page Up and Page Down zoom; Home resets the view. Drag with "
           "the left button or one finger to orbit; the wheel, the right button or two fingers zoom\"></canvas>\n" +
           view_buttons(x + w - CLIENT_EDGE_PX - 4, y + CLIENT_EDGE_PX + 4);
}

const char* const HEAD = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%s</title>
<link rel="manifest" href="manifest.webmanifest">
<link rel="preload" href="arrowbench.wasm" as="fetch" type="application/wasm" crossorigin>
<link rel="icon" href="arrowbench-32.png" sizes="32x32">
<link rel="apple-touch-icon" href="arrowbench-256.png">
<style>
html { background: #d4d0c8; }
body { margin: 0; font: 11px "MS Sans Serif", Tahoma, "DejaVu Sans", sans-serif; color: #000; }
.dialog { position: relative; width: %dpx; height: %dpx; background: #d4d0c8; }
.dialog > * { position: absolute; box-sizing: border-box; margin: 0; font: inherit; }
input[type=text] { padding: 0 2px; border: 2px inset #fff; background: #fff; }
input[readonly] { background: #d4d0c8; }
button { padding: 0; }
fieldset { border: 2px groove #fff; padding: 0; min-width: 0; pointer-events: none; }
legend { padding: 0 2px; margin-left: 4px; }
.check { display: flex; align-items: center; white-space: nowrap; }
.check input { margin: 0 4px 0 0; }
.static { white-space: nowrap; pointer-events: none; }
.centre { display: flex; align-items: center; }
.dialog > canvas { box-sizing: content-box; border: 2px inset #fff; background: #c0c0c0; touch-action: none; }
.dialog > canvas:focus-visible { outline: 2px solid #0a246a; outline-offset: 1px; }
.view-buttons { display: grid; grid-template: repeat(3, 26px) / repeat(4, 26px); gap: 2px; touch-action: none;
                pointer-events: none; }
.tools { display: flex; gap: 8px; align-items: center; padding: 8px; }
.tools button { min-height: 24px; padding: 0 8px; }
.view-buttons button { width: 26px; height: 26px; font-size: 15px; line-height: 1; pointer-events: auto; }
</style>
<script src="view.js" defer></script>
<script src="page.js" defer></script>
<script src="arrowbench.js" defer></script>
</head>
<body>
<main class="dialog" aria-label="%s">
)";

// What the page has beyond the dialog: the scene's link and the picture,
// and a line that says what became of them.
const char* const TOOLS = R"(<div class="tools">
<button type="button" id="copy-link">Copy link</button>
<button type="button" id="save-picture">Save picture</button>
<span id="status" role="status"></span>
</div>
)";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out, HEAD, MAIN_DLG.caption, du_to_px_x(MAIN_DLG.width), du_to_px_y(MAIN_DLG.height),
                 MAIN_DLG.caption);
    for (const TemplateControl& c : MAIN_DLG_CONTROLS) std::fprintf(out, "%s\n", control_html(c).c_str());
    std::fprintf(out, "</main>\n%s</body>\n</html>\n", TOOLS);
    return std::fclose(out) == 0 ? 0 : 1;
}
