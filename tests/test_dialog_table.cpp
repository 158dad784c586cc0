// The Linux host's control table and the push buttons' table, generated
// from res/main_dlg.rc, against the dialog as it must be.

#include <iterator>
#include <string>

#include "app/control_ids.h"
#include "app/dialog_template.h"
#include "tests/check.h"
#include "tests/expected_dialog.h"

int main() {
    CHECK_STR(MAIN_DLG.caption, expected::CAPTION);
    CHECK_INT(MAIN_DLG.x, expected::DIALOG_X);
    CHECK_INT(MAIN_DLG.y, expected::DIALOG_Y);
    CHECK_INT(MAIN_DLG.width, expected::DIALOG_W);
    CHECK_INT(MAIN_DLG.height, expected::DIALOG_H);
    CHECK_INT(MAIN_DLG.style, expected::DIALOG_STYLE);
    CHECK_STR(MAIN_DLG.font, "MS Sans Serif");
    CHECK_INT(MAIN_DLG.font_points, 8);
    for (int i = 0; i < CONTROL_COUNT; ++i) {
        const TemplateControl& got = MAIN_DLG_CONTROLS[i];
        const expected::Control& want = expected::CONTROLS[i];
        std::string label = "control " + std::to_string(i) + " (" + want.text + ")";
        check_context(label.c_str());
        CHECK_INT(got.id, want.id);
        CHECK_STR(got.window_class, want.window_class);
        CHECK_STR(got.text, want.text);
        CHECK_INT(got.x, want.x);
        CHECK_INT(got.y, want.y);
        CHECK_INT(got.width, want.w);
        CHECK_INT(got.height, want.h);
        CHECK_INT(got.style, want.style);
        CHECK_INT(got.exstyle, want.exstyle);
    }
    // Every push button is a command, in template order.
    size_t buttons = 0;
    for (const expected::Control& want : expected::CONTROLS) {
        if (std::string(want.window_class) != "Button" || want.style != expected::PUSH) continue;
        check_context(want.text);
        const CommandButton* got = buttons < std::size(COMMAND_BUTTONS) ? &COMMAND_BUTTONS[buttons] : nullptr;
        CHECK(got && got->id == unsigned(want.id) && std::string(got->text) == want.text);
        ++buttons;
    }
    check_context("");
    CHECK_INT(std::size(COMMAND_BUTTONS), buttons);
    return check_exit();
}
