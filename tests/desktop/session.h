// The desktop session (tests/desktop/session.cpp): its options, and what
// each host adds from its own file (tests/fltk/test_linux_session.cpp,
// tests/win32/test_win32_session.cpp).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/desktop/driver.h"
#include "view/view.h"

struct SessionOptions {
    long commands = 900, motions = 2000, rounds = 10, drag = 500;
    bool memory = false, no_gl = false;
    double patience = 1.0;
    std::string trace;
    std::vector<std::string> command;
};

std::unique_ptr<DesktopDriver> start_session(const SessionOptions& o);
// The view against the camera the drags must have left.
void check_view(DesktopDriver& app, const ViewState& camera, const std::string& what);
// The memory after each round, and what else the host checks at the end.
void end_session(DesktopDriver& app, const SessionOptions& o, const std::vector<Memory>& rounds, long redraws);
