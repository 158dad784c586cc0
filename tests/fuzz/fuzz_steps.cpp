// Sequences of steps, Undo, Redo and Recall on any field texts. The first
// bytes up to a NUL are the inputs' texts (V1, V2 and S1, split at '|');
// each later byte is an action. Then undoing everything must give back the
// first texts, boxes and picture, redoing everything the last ones; the
// worksheet never loses an entry below its cap, and neither it nor the
// steps grow past their bounds; a host's list that follows the news has
// the entries' numbers, oldest first.

#include <deque>
#include <map>

#include "app/internal.h"
#include "app/worksheet.h"
#include "tests/fuzz/fuzz_support.h"
#include "view/view.h"

namespace {

struct Dialog {
    std::map<int, std::string> text;
    std::map<int, bool> checked;
};

void read(void* host, int id, char* buffer, int size) {
    std::string t = static_cast<Dialog*>(host)->text[id].substr(0, size_t(size - 1));
    std::memcpy(buffer, t.c_str(), t.size() + 1);
}
void write(void* host, int id, const char* text) { static_cast<Dialog*>(host)->text[id] = text; }
bool is_checked(void* host, int id) { return static_cast<Dialog*>(host)->checked[id]; }
void set_checked(void* host, int id, bool on) { static_cast<Dialog*>(host)->checked[id] = on; }
void repaint(void*) {}

struct State {
    std::map<int, std::string> text;
    std::map<int, bool> checked;
    std::vector<VectorSlot> slots;
    Vector3 eye;
    float distance;
};

// Boxes by those checked: reading a box leaves an unchecked one behind.
State state_of(const Dialog& d) {
    std::map<int, bool> checked;
    for (const auto& [id, on] : d.checked)
        if (on) checked[id] = true;
    return {d.text, checked, view_state.slots, view_state.eye_dir, view_state.eye_distance};
}

bool same(const State& a, const State& b) {
    if (a.text != b.text || a.checked != b.checked || a.slots.size() != b.slots.size()) return false;
    for (size_t i = 0; i < a.slots.size(); ++i)
        if (std::memcmp(&a.slots[i], &b.slots[i], sizeof a.slots[i])) return false;
    return same_bits(a.eye, b.eye) && float_bits(a.distance) == float_bits(b.distance);
}

const unsigned ACTIONS[] = {ID_ADD,      ID_SUB,      ID_CROSS_PRODUCT, ID_DOT_PRODUCT, ID_MUL_SCALAR,
                            ID_DIV_SCALAR, ID_NORMALIZE, ID_LENGTH,     ID_REDRAW,      ID_SHOW_CALCULATION,
                            ID_USE_RESULT, ID_UNDO,      ID_REDO};

// A host's list, kept across inputs as the worksheet is.
std::deque<size_t> rows;
size_t rows_seen = 0;

bool rows_follow() {
    WorksheetNews news = worksheet_news(rows_seen);
    if (news.cleared) rows.clear();
    if (news.dropped > rows.size()) return false;
    rows.erase(rows.begin(), rows.begin() + std::ptrdiff_t(news.dropped));
    for (size_t i = entry_count() - news.fresh; i < entry_count(); ++i) rows.push_back(entry_number(i));
    if (rows.size() != entry_count()) return false;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] != entry_number(i) || (i && rows[i] != rows[i - 1] + 1)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string texts = up_to_nul(data, size);
    size_t at = texts.size() + 1;
    Dialog d;
    for (int id = ID_V1; id <= ID_S2; ++id) d.text[id] = id == ID_S1 || id == ID_S2 ? "0" : "0 0 0";
    for (int id = ID_ROW_VECTOR; id < ID_REDRAW; ++id) d.text[id] = "0 0 0";
    const int inputs[] = {ID_V1, ID_V2, ID_S1};
    for (size_t i = 0, from = 0; i < 3 && from <= texts.size(); ++i) {
        size_t bar = std::min(texts.find('|', from), texts.size());
        d.text[inputs[i]] = texts.substr(from, bar - from);
        from = bar + 1;
    }
    d.checked[ID_ROW_INVERSE] = true;
    FieldAccess f{&d, read, write, is_checked, repaint, set_checked};
    forget_steps();
    set_start_camera(view_state);
    view_state.slots.clear();
    State first = state_of(d);
    size_t entries = entry_count(), added = worksheet_changes(), steps = 0;
    for (; at < size; ++at) {
        uint8_t a = data[at];
        size_t before = entry_count();
        if (a % 16 < std::size(ACTIONS)) {
            unsigned id = ACTIONS[a % 16];
            run_step(f, id);
            steps += id != ID_UNDO && id != ID_REDO;
        } else if (entry_count()) {
            recall(f, (a >> 4) % entry_count());
            ++steps;
        }
        FUZZ_REQUIRE(entry_count() >= std::min(before, WORKSHEET_CAP) && entry_count() <= WORKSHEET_CAP,
                     "the worksheet lost an entry or outgrew its cap");
        FUZZ_REQUIRE(rows_follow(), "a list that follows the news does not hold the entries");
    }
    FUZZ_REQUIRE(entry_count() == std::min(WORKSHEET_CAP, entries + worksheet_changes() - added),
                 "an entry went missing");
    // Everything undone gives the first texts, boxes and picture, as far
    // as the steps kept reach; everything redone, the last.
    while (can_redo()) run_step(f, ID_REDO);
    State last = state_of(d);
    size_t undone = 0;
    while (can_undo()) run_step(f, ID_UNDO), ++undone;
    FUZZ_REQUIRE(undone <= UNDO_DEPTH, "more steps kept than the depth");
    if (steps <= UNDO_DEPTH) FUZZ_REQUIRE(same(state_of(d), first), "undoing everything did not give the first state");
    while (can_redo()) run_step(f, ID_REDO);
    FUZZ_REQUIRE(same(state_of(d), last), "redoing everything did not give the last state");
    return 0;
}
