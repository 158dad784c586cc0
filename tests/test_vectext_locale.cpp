// The conversions with the process in a locale whose decimal point is a
// comma: the texts must not change.

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "tests/check.h"
#include "tests/vectext_cases.h"

int main() {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "German", "deu"};
    const char* chosen = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    }
    CHECK(chosen != nullptr);
    if (!chosen) {
        std::printf("no German locale available (on Linux: localedef -i de_DE -f UTF-8 de_DE.UTF-8)\n");
        return check_exit();
    }
    std::printf("locale %s\n", chosen);
    // The library itself now writes a comma, or the test proves nothing.
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 2.5);
    CHECK_STR(probe, "2,5");
    CHECK(std::strtod("2,5", nullptr) == 2.5);

    check_all_tables();
    CHECK_STR(format_vector(parse_vector("1,5 2.5 3")).text, "1 0 0");
    return check_exit();
}
