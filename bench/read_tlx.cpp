// The reader's Read alone, for the benchmark: Init, Read(path, no log), then
// exit without tearing the model down (a caller keeps it for the export).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/Exceptions.h"
#include "reader/TLXReader.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: read_tlx FILE.tlx\n");
        return 2;
    }
    auto* reader = new tvk::CTLXReader;
    reader->Init();
    auto start = std::chrono::steady_clock::now();
    try {
        reader->Read(argv[1], nullptr);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "read_tlx: cannot read %s: %s\n", argv[1], e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "read_tlx: out of memory reading %s\n", argv[1]);
        return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu points, %zu features, %d errors, Read %.3f s\n", argv[1], reader->Points.size(),
                reader->Features.size(), reader->ErrorCount, seconds);
    std::fflush(stdout);
    std::_Exit(reader->ErrorCount ? 3 : 0);
}
