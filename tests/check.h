// A minimal check harness shared by the test programs of both hosts: no
// framework to cross-build, and the same output under Wine as natively.
// A failed check prints where and what, and the run goes on; check_exit()
// prints the tally and gives the process exit code.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace check_detail {
inline int passed = 0;
inline int failed = 0;
inline std::string context;
}  // namespace check_detail

// Names the case being checked, for the failure messages of table rows.
inline void check_context(const std::string& what) { check_detail::context = what; }

inline void check_record(bool ok, const char* file, int line, const std::string& what) {
    if (ok) {
        ++check_detail::passed;
        return;
    }
    ++check_detail::failed;
    std::string where = check_detail::context.empty() ? "" : "  [case: " + check_detail::context + "]";
    std::printf("FAIL %s:%d: %s%s\n", file, line, what.c_str(), where.c_str());
    std::fflush(stdout);
}

#define CHECK(cond) check_record(static_cast<bool>(cond), __FILE__, __LINE__, #cond)

#define CHECK_STR(actual, expected)                                                                 \
    do {                                                                                            \
        std::string check_a_(actual), check_e_(expected);                                           \
        check_record(check_a_ == check_e_, __FILE__, __LINE__,                                      \
                     std::string(#actual) + " is '" + check_a_ + "', expected '" + check_e_ + "'"); \
    } while (0)

#define CHECK_INT(actual, expected)                                                                     \
    do {                                                                                                \
        long long check_a_ = (long long)(actual), check_e_ = (long long)(expected);                     \
        check_record(check_a_ == check_e_, __FILE__, __LINE__,                                          \
                     std::string(#actual) + " is " + std::to_string(check_a_) + ", expected " +         \
                         std::to_string(check_e_));                                                     \
    } while (0)

inline int check_exit() {
    std::printf("%d passed, %d failed\n", check_detail::passed, check_detail::failed);
    std::fflush(stdout);
    return check_detail::failed == 0 && check_detail::passed > 0 ? 0 : 1;
}
