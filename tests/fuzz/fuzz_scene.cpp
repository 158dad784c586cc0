// restore_scene on any text, as a link may bring. Whatever it reads, no
// field may get more than a field read takes or text that is not UTF-8,
// the camera must stay a camera, and the scene it leaves must write out
// and open again with the same field texts, boxes, command and camera
// bits. (Redraw and the command then rewrite fields as they always do:
// "Infinity" does not read back, so the picture may not be the same.)

#include <map>

#include "app/scene.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Dialog {
    std::map<int, std::string> text, first;  // first: each field's first write
    std::map<int, bool> checked;
};

void read(void* host, int id, char* buffer, int size) {
    std::string t = static_cast<Dialog*>(host)->text[id].substr(0, size_t(size - 1));
    std::memcpy(buffer, t.c_str(), t.size() + 1);
}
void write(void* host, int id, const char* text) {
    auto* d = static_cast<Dialog*>(host);
    d->text[id] = text;
    d->first.emplace(id, text);
}
bool is_checked(void* host, int id) { return static_cast<Dialog*>(host)->checked[id]; }
void set_checked(void* host, int id, bool on) { static_cast<Dialog*>(host)->checked[id] = on; }
void repaint(void*) {}

bool utf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

unsigned open_scene(Dialog& d, ViewState& view, const std::string& text, bool& complete) {
    for (int id = ID_V1; id <= ID_S2; ++id) d.text[id] = id == ID_S1 || id == ID_S2 ? "0" : "0 0 0";
    for (int id = ID_ROW_VECTOR; id < ID_REDRAW; ++id) d.text[id] = "0 0 0";
    set_start_camera(view);
    return restore_scene({&d, read, write, is_checked, repaint, set_checked}, view, text.c_str(), complete);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = up_to_nul(data, size);
    Dialog d;
    ViewState view;
    bool complete = false;
    unsigned command = open_scene(d, view, text, complete);

    for (const auto& [id, t] : d.text)
        FUZZ_REQUIRE(t.size() < FIELD_BUFFER_SIZE && utf8(t), quoted(text) + " left field " + std::to_string(id) +
                                                                   " holding " + quoted(t));
    const Vector3& e = view.eye_dir;
    double length = std::sqrt(double(e.x) * e.x + double(e.y) * e.y + double(e.z) * e.z);
    FUZZ_REQUIRE(std::fabs(length - 1.0) < 1e-5 && view.eye_distance >= MIN_EYE_DISTANCE &&
                     std::isfinite(view.eye_distance),
                 quoted(text) + " left no camera");

    std::string link = write_scene({&d, read, write, is_checked, repaint, set_checked}, view, command);
    Dialog again;
    ViewState view2;
    bool complete2 = false;
    FUZZ_REQUIRE(open_scene(again, view2, link, complete2) == command && complete2, quoted(link) + " did not open whole");
    FUZZ_REQUIRE(same_bits(view2.eye_dir, view.eye_dir) && view2.eye_distance == view.eye_distance,
                 quoted(link) + " opens to another camera");
    for (const auto& [id, t] : d.text) {
        bool result = id == ID_V3 || id == ID_S2, start = t == (id == ID_S1 ? "0" : "0 0 0");
        if (result || start) continue;
        FUZZ_REQUIRE(again.first[id] == t, quoted(text) + " wrote " + quoted(link) + ", which puts " +
                                               quoted(again.first[id]) + " for " + quoted(t));
    }
    for (int row = 0; row < 3; ++row) {
        int id = ID_ROW_INVERSE + row * ROW_STRIDE;
        FUZZ_REQUIRE(again.checked[id] == d.checked[id], quoted(link) + " lost a box");
    }
    return 0;
}
