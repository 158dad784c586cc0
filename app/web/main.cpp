// The browser host's side of the core: field access over the page's
// controls (found by their data-id), and the few entry points the page's
// script calls. The page itself is built from the template table
// (make_page.cpp).

#include <emscripten.h>
#include <string>

#include "app/app.h"
#include "app/scene.h"
#include "app/worksheet.h"
#include "view/view.h"

namespace {

// A field's text reaches the core as its UTF-8 bytes, cut to size - 1
// bytes like every host's read, and NUL-terminated.
EM_JS(void, page_read_field, (int id, char* buffer, int size), {
    var field = document.querySelector('[data-id="' + id + '"]');
    var bytes = new TextEncoder().encode(field ? field.value : "");
    var n = Math.min(bytes.length, size - 1);
    HEAPU8.set(bytes.subarray(0, n), buffer);
    HEAPU8[buffer + n] = 0;
});

// A field the core writes has no typing of its own to undo (page.js).
EM_JS(void, page_write_field, (int id, const char* text), {
    var field = document.querySelector('[data-id="' + id + '"]');
    if (field) field.value = field.dataset.written = UTF8ToString(text), delete field.dataset.typed;
});

EM_JS(int, page_is_checked, (int id), {
    var box = document.querySelector('[data-id="' + id + '"]');
    return box && box.checked ? 1 : 0;
});

// One frame once the command has returned, however often it asks; none if
// the view draws before it (view.js cancels it, by its number).
EM_JS(void, page_request_repaint, (), {
    if (Module['repaintPending']) return;
    Module['repaintPending'] = requestAnimationFrame(function() {
        Module['repaintPending'] = 0;
        Module['_arrowbench_paint']();
    });
});

EM_JS(void, page_set_checked, (int id, int on), {
    var box = document.querySelector('[data-id="' + id + '"]');
    if (box) box.checked = on !== 0;
});

// The scene lives in the address's fragment, replaced rather than pushed,
// so that Back is not filled with every step.
EM_JS(void, page_set_link, (const char* text), {
    history.replaceState(history.state, "", "#" + UTF8ToString(text));
});
// The working of the last calculation, under the calculator: its text for
// Copy working, typeset in MathML, and in LaTeX for Copy LaTeX.
EM_JS(void, page_show_working, (const char* text, const char* math, const char* tex),
      { showWorking(UTF8ToString(text), UTF8ToString(math), UTF8ToString(tex)); });
EM_JS(int, page_link_size, (), { return lengthBytesUTF8(location.hash.slice(1)) + 1; });
EM_JS(void, page_read_link, (char* buffer, int size), { stringToUTF8(location.hash.slice(1), buffer, size); });

// The worksheet on the page: entries added one by one, each typeset as it
// comes; the oldest dropped past the cap; kept in the browser's storage,
// which may refuse (a full quota) or hold what cannot be read (set aside).
EM_JS(void, page_add_entry, (const char* line, const char* math), { addEntry(UTF8ToString(line), UTF8ToString(math)); });
EM_JS(void, page_clear_entries, (), { clearEntries(); });
EM_JS(void, page_drop_entries, (int count), { dropEntries(count); });
EM_JS(void, page_history, (int undo, int redo), { showHistory(undo, redo); });
EM_JS(void, page_keep_worksheet, (const char* text), { keepWorksheet(UTF8ToString(text)); });
EM_JS(void, page_worksheet_changed, (), { worksheetChanged(); });
EM_JS(int, page_kept_size, (), { return lengthBytesUTF8(keptWorksheet()) + 1; });
EM_JS(void, page_read_kept, (char* buffer, int size), { stringToUTF8(keptWorksheet(), buffer, size); });
EM_JS(void, page_set_aside, (), { setAsideWorksheet(); });
EM_JS(void, page_copy, (const char* text, int latex), { copyWorksheet(UTF8ToString(text), latex); });

void read_field_text(void*, int id, char* buffer, int size) { page_read_field(id, buffer, size); }
void write_field_text(void*, int id, const char* text) { page_write_field(id, text); }
bool box_checked(void*, int id) { return page_is_checked(id) != 0; }
void repaint(void*) { page_request_repaint(); }
void set_checked(void*, int id, bool on) { page_set_checked(id, on ? 1 : 0); }

FieldAccess page_fields() { return {nullptr, read_field_text, write_field_text, box_checked, repaint, set_checked}; }

// What the page shows of the worksheet follows the core's: nothing it
// showed after a Clear, its oldest let go past the cap, what was added
// since; and the buttons' state. What was just read from the browser's
// storage is not kept again.
size_t shown_seen = 0;
[[gnu::noinline]] void show_worksheet(bool keep = true) {
    WorksheetNews news = worksheet_news(shown_seen);
    size_t count = entry_count();
    if (news.cleared) page_clear_entries();
    if (news.dropped) page_drop_entries(int(news.dropped));
    for (size_t i = count - news.fresh; i < count; ++i)
        page_add_entry(entry_line(i).c_str(), mathml(explain(entry(i))).c_str());
    if (keep && (news.fresh || news.cleared)) page_worksheet_changed();
    page_history(can_undo(), can_redo());
}

[[gnu::noinline]] void show_working() {
    Working w = explain(last_calculation());
    page_show_working(plain_text(w).c_str(), mathml(w).c_str(), latex(w).c_str());
}

}  // namespace

extern "C" {

// The scene as it stands, into the address.
EMSCRIPTEN_KEEPALIVE void arrowbench_link() { page_set_link(write_scene(page_fields(), view_state, last_calculation().command).c_str()); }

// The scene the address names, if it names one: fields, Redraw, the
// command, the camera. 0 when part of it could not be read.
EMSCRIPTEN_KEEPALIVE int arrowbench_open_link() {
    int size = page_link_size();
    if (size <= 1) return 1;
    std::string text(size_t(size), '\0');
    page_read_link(text.data(), size);
    bool complete = false;
    restore_scene(page_fields(), view_state, text.c_str(), complete);
    show_working();
    return complete ? 1 : 0;
}

// A control's command, as an undoable step: true when `id` names one. The
// address and the worksheet follow.
EMSCRIPTEN_KEEPALIVE int arrowbench_command(unsigned id) {
    if (!run_step(page_fields(), id)) return 0;
    show_working();
    show_worksheet();
    arrowbench_link();
    return 1;
}

EMSCRIPTEN_KEEPALIVE void arrowbench_recall(int index) {
    if (index < 0 || !recall(page_fields(), size_t(index))) return;
    show_working();
    show_worksheet();
    arrowbench_link();
}

// The kept worksheet, after the first frame: one that cannot be read is
// set aside and a new one begun.
EMSCRIPTEN_KEEPALIVE void arrowbench_open_worksheet() {
    int size = page_kept_size();
    if (size > 1) {
        std::string text(size_t(size), '\0');
        page_read_kept(text.data(), size);
        if (!load_worksheet(text.c_str())) page_set_aside();
    }
    show_worksheet(false);
}

// Writing the whole worksheet costs as much as it holds: page.js asks for
// it once the commands have paused, and as the page goes.
EMSCRIPTEN_KEEPALIVE void arrowbench_keep_worksheet() { page_keep_worksheet(save_worksheet().c_str()); }

EMSCRIPTEN_KEEPALIVE void arrowbench_copy_worksheet(int latex) {
    page_copy((latex ? worksheet_latex() : worksheet_text()).c_str(), latex);
}


}
