// Baseline for the reader's speed: the least a program does to take a .tlx file
// apart - fgets line by line and atoi/atof of the fixed columns of POINTS lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: line_splitter FILE.tlx\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "r");
    if (!file) {
        std::perror(argv[1]);
        return 2;
    }
    char line[1024];
    char field[32];
    bool inPoints = false;
    long long lines = 0, points = 0, numbers = 0;
    double coordinates = 0;
    while (std::fgets(line, sizeof line, file)) {
        ++lines;
        if (std::strncmp(line, "BEGIN POINTS", 12) == 0) {
            inPoints = true;
            continue;
        }
        if (std::strncmp(line, "END", 3) == 0) {
            inPoints = false;
            continue;
        }
        if (!inPoints) continue;
        const size_t length = std::strlen(line);
        // the columns from..to, cut short where the line ends
        auto cut = [&](size_t from, size_t to) -> const char* {
            size_t n = from < length ? (to < length ? to : length - 1) - from + 1 : 0;
            std::memcpy(field, line + from, n);
            field[n] = '\0';
            return field;
        };
        numbers += std::atoi(cut(0, 7)) + std::atoi(cut(26, 33));
        coordinates += std::atof(cut(35, 50)) + std::atof(cut(52, 67)) + std::atof(cut(69, 84));
        ++points;
    }
    std::fclose(file);
    std::printf("%lld lines, %lld points, checksum %lld %.3f\n", lines, points, numbers, coordinates);
    return 0;
}
