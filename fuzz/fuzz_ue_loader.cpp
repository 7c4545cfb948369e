// libFuzzer target: the .ue template loader must refuse every malformed file
// with CArchiveException and never crash, hang or exhaust memory; whatever it
// accepts is a valid template whose stored bytes load back to the same bytes
// (bytes, so that a NaN false origin compares equal to itself).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "universal/ArchiveException.h"
#include "universal/UETemplateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        tvk::CUETemplate t = tvk::LoadTemplate(bytes, "fuzz.ue");
        if (!t.IsValid()) std::abort();
        std::string stored = tvk::StoreTemplate(t);
        if (tvk::StoreTemplate(tvk::LoadTemplate(stored, "again.ue")) != stored) std::abort();
    } catch (const tvk::CArchiveException&) {
    }
    return 0;
}
