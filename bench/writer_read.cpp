// The writer's Read alone, for the benchmark: reading, validation and the
// export model (PrepareData); exits without tearing the model down.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "export/Writer.h"
#include "platform/Exceptions.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: writer_read FILE.tlx\n");
        return 2;
    }
    auto* writer = new tvk::CWriter;
    writer->Init();
    auto start = std::chrono::steady_clock::now();
    try {
        writer->Read(argv[1], nullptr);
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "writer_read: cannot read %s: %s\n", argv[1], e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "writer_read: out of memory reading %s\n", argv[1]);
        return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu points, %zu features, %zu layers, %d errors, Read+PrepareData %.3f s\n", argv[1],
                writer->Points.size(), writer->Features.size(), writer->Layers.size(), writer->ErrorCount, seconds);
    std::fflush(stdout);
    std::_Exit(writer->ErrorCount ? 3 : 0);
}
