// Prints the simple upper-case mappings of the Basic Multilingual Plane as the runs of
// src/platform/name_order.cpp. Run by hand when the table is to follow a newer Unicode:
//   g++ scripts/upcase_runs.cpp $(pkg-config --cflags --libs icu-uc) && ./a.out
#include <cstdio>
#include <unicode/uchar.h>
#include <vector>
struct Run {
    unsigned first, last;
    int delta;
    unsigned step;
};
int main() {
    std::vector<std::pair<unsigned, unsigned>> pairs;
    for (unsigned c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        unsigned u = u_toupper(c);
        if (u == c || u > 0xFFFF) continue;
        if (c >= 0x80 && u < 0x80) continue;  // dotless i, long s
        pairs.push_back({c, u});
    }
    std::vector<Run> runs;
    for (auto [c, u] : pairs) {
        int d = int(u) - int(c);
        if (!runs.empty()) {
            Run& r = runs.back();
            if (r.delta == d) {
                if (r.first == r.last && (c - r.last == 1 || c - r.last == 2)) {
                    r.step = c - r.last;
                    r.last = c;
                    continue;
                }
                if (r.first != r.last && c - r.last == r.step) {
                    r.last = c;
                    continue;
                }
            }
        }
        runs.push_back({c, c, d, 1});
    }
    std::printf("// %zu mappings in %zu runs, ICU %s, Unicode %s\n", pairs.size(), runs.size(),
                U_ICU_VERSION, U_UNICODE_VERSION);
    for (auto& r : runs)
        std::printf("    {0x%04X, 0x%04X, %d, %u},\n", r.first, r.last, r.delta, r.step);
}
