// The exe from the Windows zip, under Wine: its version resource read back
// through the version API as Explorer's properties page reads it, then the
// program itself started, its dialog found, and closed with exit code 0.
//
// Usage: test_win32_package.exe PATH\arrowbench.exe VERSION   (VERSION as major.minor.patch)

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/check.h"
#include "tests/win32/win32_driver.h"

namespace {

std::string string_value(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(missing)";
    return std::string(value);  // the length counts the terminating NUL
}

void check_version_resource(const std::string& exe, const std::string& version) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    CHECK(size > 0);
    if (size == 0) return;
    std::vector<char> info(size);
    CHECK(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    if (fixed) {
        CHECK(fixed->dwSignature == 0xFEEF04BDu);
        unsigned major = 0, minor = 0, patch = 0;
        CHECK(std::sscanf(version.c_str(), "%u.%u.%u", &major, &minor, &patch) == 3);
        CHECK_INT(HIWORD(fixed->dwFileVersionMS), major);
        CHECK_INT(LOWORD(fixed->dwFileVersionMS), minor);
        CHECK_INT(HIWORD(fixed->dwFileVersionLS), patch);
        CHECK_INT(LOWORD(fixed->dwFileVersionLS), 0);
        CHECK_INT(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        CHECK_INT(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        CHECK_INT(fixed->dwFileType, VFT_APP);
        CHECK_INT(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0);  // no debug or pre-release build
    }

    // The language and code page the strings are filed under.
    WORD* translation = nullptr;
    CHECK(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    if (translation && length >= 4) {
        CHECK_INT(translation[0], 0x409);
        CHECK_INT(translation[1], 1200);
    }

    struct Row {
        const char* name;
        std::string expected;
    };
    const Row rows[] = {
        {"ProductName", "Arrowbench"},
        {"ProductVersion", version},
        {"FileVersion", version},
        {"OriginalFilename", "arrowbench.exe"},
        {"InternalName", "arrowbench"},
        {"CompanyName", "Arrowbench developers"},
        {"LegalCopyright", "Copyright (c) 2026 Arrowbench developers"},
    };
    for (const Row& row : rows) {
        check_context(row.name);
        CHECK_STR(string_value(info, row.name), row.expected);
    }
    check_context("FileDescription");
    CHECK(string_value(info, "FileDescription").rfind("Arrowbench", 0) == 0);
    check_context("");
}

void check_runs(const char* exe) {
    Win32Driver app(exe);
    CHECK(app.dialog != nullptr);
    if (!app.dialog) return;
    // What the close box sends.
    PostMessageA(app.dialog, WM_COMMAND, IDCANCEL, 0);
    CHECK(app.wait_exit(10000));
    CHECK_INT(app.exit_code(), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: test_win32_package PATH\\arrowbench.exe VERSION\n");
        return 2;
    }
    check_version_resource(windows_path(argv[1]), argv[2]);
    check_runs(argv[1]);
    return check_exit();
}
