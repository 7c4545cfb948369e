// Writes a survey of many feature codes or many layers, for the benchmark of
// the number maps: numbers spaced by 500, so that in the 1000 buckets the code
// and layer maps start with they all share two, and a map that kept its
// buckets would chain half of them into each.
//
//   wide_tables codes N OUT.tlx    one layer and N codes on it
//   wide_tables layers N OUT.tlx   N layers, each with one code
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr long kSpacing = 500;  // the numbers fit the 8 columns up to 199 999 items

void Line(std::FILE* out, long number, long other, const char* prefix) {
    std::fprintf(out, "%8ld %8ld %s%ld\n", number, other, prefix, number / kSpacing);
}

}  // namespace

int main(int argc, char** argv) {
    long count = argc == 4 ? std::strtol(argv[2], nullptr, 10) : 0;
    bool codes = argc == 4 && std::strcmp(argv[1], "codes") == 0;
    bool layers = argc == 4 && std::strcmp(argv[1], "layers") == 0;
    if ((!codes && !layers) || count <= 0 || count > 199999) {
        std::fprintf(stderr, "Usage: wide_tables codes|layers N OUT.tlx (N up to 199999)\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) {
        std::perror(argv[3]);
        return 1;
    }
    std::fputs("BEGIN LAYERS\n", out);
    if (codes) Line(out, kSpacing, 0, "L");
    else
        for (long i = 1; i <= count; ++i) Line(out, i * kSpacing, 0, "L");
    std::fputs("END LAYERS\nBEGIN FEATURE_CODES\n", out);
    for (long i = 1; i <= count; ++i) Line(out, i * kSpacing, codes ? kSpacing : i * kSpacing, "C");
    std::fputs("END FEATURE_CODES\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}
