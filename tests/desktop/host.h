// What each desktop host gives a scenario of this folder, from its own
// file in tests/fltk or tests/win32: the program started under its driver
// (nullptr when no dialog came up; a usage error ends the run with 2), and
// the checks that only that host has.
#pragma once

#include <memory>

#include "tests/desktop/driver.h"
#include "view/view.h"

std::unique_ptr<DesktopDriver> start_app(int argc, char** argv);
inline std::unique_ptr<DesktopDriver> started(int argc, char** argv) {
    std::unique_ptr<DesktopDriver> driver = start_app(argc, argv);
    CHECK(driver != nullptr);
    return driver;
}
void host_checks(DesktopDriver& app);

// The view script (tests/desktop/view.cpp): the display scale the program
// runs at, and the host's own checks after each named step, with the
// frame the step judged, if any.
double view_scale();
void view_step(DesktopDriver& app, const std::string& step, const ViewState& camera, const Shot& frame);
