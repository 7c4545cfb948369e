// survey-to-dxf IN.tlx OUT.dxf
//
// A host that embeds tlxexport's reader and DXF writer without any dialog.
// It subclasses the writer to receive the reading and export logs through
// the log hooks, which the library's own classes leave empty, and prints
// them (their texts are code page 1251, as the survey's are).
#include <cstdio>
#include <memory>
#include <new>

#include "dxf/DXFWriter.h"
#include "platform/Exceptions.h"

namespace {

class CPrintingDXFWriter : public tvk::CDXFWriter {
public:
    void WriteToLog(const char* text) override {
        if (text) std::fputs(text, stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: survey-to-dxf IN.tlx OUT.dxf\n");
        return 2;
    }
    auto writer = std::make_unique<CPrintingDXFWriter>();
    writer->Init();
    try {
        writer->Read(argv[1], nullptr);
        writer->Export(argv[2], nullptr);
        writer->FreeExportData();
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "survey-to-dxf: %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "survey-to-dxf: out of memory\n");
        return 1;
    }
    std::printf("%zu points, %zu features written to %s\n", writer->Points.size(), writer->Features.size(), argv[2]);
    return 0;
}
