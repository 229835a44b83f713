#include "testsuite.h"

#include <cstdio>
#include <cstring>

namespace moxon::test {

int runTestCase(const TestCase *cases, int count, int argc, char *argv[])
{
    if (argc >= 2) {
        for (int i = 0; i < count; ++i) {
            if (std::strcmp(argv[1], cases[i].name) == 0) {
                // The case sees the program's path and its own options, as Qt Test expects.
                argv[1] = argv[0];
                return cases[i].entry(argc - 1, argv + 1);
            }
        }
    }
    std::fprintf(stderr, "Usage: %s CASE [Qt Test options]\nCases:", argv[0]);
    for (int i = 0; i < count; ++i) {
        std::fprintf(stderr, " %s", cases[i].name);
    }
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace moxon::test
