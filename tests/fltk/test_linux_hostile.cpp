// The Linux host's part of the hostile texts (tests/desktop/hostile.cpp):
// the program under the XTest and clipboard driver, and what only an FLTK
// field does.
//
// Usage: test_linux_hostile PATH/arrowbench

#include "tests/desktop/host.h"
#include "tests/fltk/app_driver.h"

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv) {
    return start_or_usage(argc, argv, "test_linux_hostile PATH/arrowbench");
}

// The result fields take no paste, however long. (A Windows field takes
// any text by message; typing into a result is test_win32_dialog's.)
void host_checks(DesktopDriver& driver) {
    auto& app = static_cast<AppDriver&>(driver);
    set_all(app, {{ID_V1, "1 2 3"}, {ID_V2, "1 1 1"}});
    CHECK(app.press(ID_ADD));
    CHECK(app.press(ID_LENGTH));
    for (int id : {ID_V3, ID_S2}) {
        std::string before = app.get(id);
        app.set_field(id, rep("9", 10000), 0.5);  // no paste is asked for
        CHECK_STR(app.get(id), before);
    }
}
