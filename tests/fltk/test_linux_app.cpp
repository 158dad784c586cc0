// The Linux host's part of the dialog script (tests/desktop/dialog.cpp):
// the program under the XTest and clipboard driver. Its window names
// itself to the desktop as arrowbench, with the packaged icon's pictures
// as its own; Enter in a field and typing into a result compute nothing;
// the README's screenshot.
//
// Usage: test_linux_app PATH/arrowbench [screenshot.png [packaged-icon-32.png]]

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/desktop/host.h"
#include "tests/expected_dialog.h"
#include "tests/fltk/app_driver.h"

namespace {

const char *screenshot = nullptr, *icon = nullptr;

// What docks and task bars match to arrowbench.desktop, and show for it.
void check_identity(AppDriver& app) {
    XClassHint hint{};
    CHECK(XGetClassHint(app.display, app.app, &hint));
    CHECK_STR(std::string(hint.res_name ? hint.res_name : "") + ", " + (hint.res_class ? hint.res_class : ""),
              "arrowbench, arrowbench");
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);

    // _NET_WM_ICON: width, height and the ARGB pixels of each picture.
    std::string bytes = window_property(app.display, app.app, XInternAtom(app.display, "_NET_WM_ICON", False));
    std::vector<long> words(bytes.size() / sizeof(long));
    std::memcpy(words.data(), bytes.data(), words.size() * sizeof(long));
    std::string sizes;
    std::vector<unsigned long> icon_32;
    for (size_t at = 0; at + 2 <= words.size(); at += 2 + size_t(words[at] * words[at + 1])) {
        sizes += std::to_string(words[at]) + "x" + std::to_string(words[at + 1]) + " ";
        if (words[at] == 32 && at + 2 + 1024 <= words.size())
            icon_32.assign(words.begin() + long(at) + 2, words.begin() + long(at) + 2 + 1024);
    }
    CHECK_STR(sizes, "16x16 32x32 48x48 ");
    if (!icon) return;
    // The 32 px picture, pixel for pixel, against the packaged PNG.
    std::vector<unsigned long> packaged;
    if (FILE* in = popen(("convert '" + std::string(icon) + "' -depth 8 rgba:-").c_str(), "r")) {
        unsigned char p[4];
        while (std::fread(p, 1, 4, in) == 4)
            packaged.push_back((unsigned long)p[3] << 24 | (unsigned long)p[0] << 16 | p[1] << 8 | p[2]);
        pclose(in);
    }
    for (unsigned long& p : icon_32) p &= 0xFFFFFFFFul;
    CHECK(!packaged.empty() && packaged == icon_32);
}

}  // namespace

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    screenshot = argc > 2 ? argv[2] : nullptr;
    icon = argc > 3 ? argv[3] : nullptr;
    auto app = start_or_usage(argc, argv, "test_linux_app PATH/arrowbench [screenshot.png [icon-32.png]]");
    if (!app) return nullptr;
    check_identity(*app);
    return app;
}

void host_checks(DesktopDriver& driver) {
    auto& app = static_cast<AppDriver&>(driver);
    // Typing into a result field changes nothing; neither does Enter in a
    // field.
    app.type(ID_V3, "99");
    CHECK_STR(app.get(ID_V3), "0 0 0");
    set_all(app, {{ID_V1, "7 7 7"}, {ID_V2, "1 1 1"}});
    app.click(ID_V1);
    app.key(XK_Return);
    CHECK_STR(app.get(ID_V3), "0 0 0");
    if (!screenshot) return;
    // Three vectors: one from the origin, one placed by its offset, one
    // ending at its offset (Inverse), partly below the ground.
    set_all(app, {{ID_V1, "1 2 3"}, {ID_V2, "0.5 -1 2"}});
    CHECK(app.press(ID_CROSS_PRODUCT));
    set_all(app, {{ID_ROW_VECTOR, "2.5 0.5 1.5"},
                  {ID_ROW_OFFSET, "0 0 0"},
                  {ID_ROW_COLOR, "220 0 0"},
                  {ID_ROW_VECTOR + ROW_STRIDE, "0 0 2.5"},
                  {ID_ROW_OFFSET + ROW_STRIDE, "1 -1 0"},
                  {ID_ROW_COLOR + ROW_STRIDE, "200 0 200"},
                  {ID_ROW_VECTOR + 2 * ROW_STRIDE, "1 2 1"},
                  {ID_ROW_OFFSET + 2 * ROW_STRIDE, "-1 1 0"},
                  {ID_ROW_COLOR + 2 * ROW_STRIDE, "0 90 255"}});
    CHECK(app.press(ID_ROW_INVERSE + 2 * ROW_STRIDE));
    CHECK(app.press(ID_REDRAW));
    app.move_to(600, 10);
    app.settle(500);
    std::string ppm = std::string(screenshot) + ".ppm";
    CHECK(write_ppm(app.shoot(0, 0, px_x(expected::DIALOG_W), px_y(expected::DIALOG_H)), ppm.c_str()));
    CHECK(std::system(("convert '" + ppm + "' '" + screenshot + "' && rm -f '" + ppm + "'").c_str()) == 0);
}
