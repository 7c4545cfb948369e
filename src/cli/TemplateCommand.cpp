// `tlxexport template show FILE.ue`: prints an export template's fields and
// settings as a table, so a .ue file can be understood without the dialog.
#include <cstdio>
#include <string>

#include "cli/ArgParser.h"
#include "cli/Commands.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/NumberText.h"
#include "universal/AngleFormat.h"
#include "universal/ArchiveException.h"
#include "universal/TemplateGridText.h"
#include "universal/UETemplateFile.h"

namespace tlxcli {

namespace {

using namespace tvk;

const char* const kUsage =
    "Usage: tlxexport template show FILE.ue\n"
    "Prints the fields and the settings of an export template of the text export.\n";

// A 1251 text for the terminal, padded with blanks to `width` characters.
std::string Cell(const std::string& text1251, size_t width) {
    std::string utf8 = Utf8From1251(text1251);
    if (text1251.size() < width) utf8.append(width - text1251.size(), ' ');
    return utf8;
}

std::string Choice(int value, std::initializer_list<const char*> names) {
    if (value == -1) return "keep the current setting (-1)";
    if (value >= 0 && static_cast<size_t>(value) < names.size())
        return std::string(names.begin()[value]) + " (" + std::to_string(value) + ")";
    return "invalid (" + std::to_string(value) + ")";
}

void PrintTemplate(const std::string& path, const CUETemplate& t) {
    std::printf("Template %s\n\n", path.c_str());
    std::printf("Fields: %zu%s\n", t.Fields.size(), t.Fields.empty() ? " (every point gives an empty line)" : "");
    if (!t.Fields.empty()) {
        const size_t widths[] = {12, 24, 6, 10};
        std::string header = "   #  ";
        for (int c = 0; c < kTemplateColumnCount; ++c)
            header += Cell(ColumnTitle(static_cast<TemplateColumn>(c)), widths[c]) + "  ";
        while (header.back() == ' ') header.pop_back();
        std::printf("%s\n", header.c_str());
        for (size_t i = 0; i < t.Fields.size(); ++i) {
            const CUEField& f = t.Fields[i];
            std::string kind = ShownCellText(f, TemplateColumn::FieldType);
            if (kind.empty()) kind = "kind " + std::to_string(f.FieldType);  // writes nothing
            std::string row = std::string(i + 1 < 10     ? "   "
                                          : i + 1 < 100  ? "  "
                                          : i + 1 < 1000 ? " "
                                                         : "") +
                              std::to_string(i + 1) + "  " + Cell(kind, widths[0]) + "  ";
            for (int c = 1; c < kTemplateColumnCount; ++c)
                row += Cell(ShownCellText(f, static_cast<TemplateColumn>(c)), widths[c]) + "  ";
            while (!row.empty() && row.back() == ' ') row.pop_back();
            std::printf("%s\n", row.c_str());
        }
        std::printf("Texts are shown escaped: \\s blank, \\t tab, \\n line feed, \\\\ backslash.\n");
    }
    std::printf("\nSettings\n");
    std::printf("  Coordinate N type        %s\n", Choice(t.NorthType, {"N", "N-No"}).c_str());
    std::printf("  N0 value                 %s\n", Gcvt(t.FalseNorthing, 16).c_str());
    std::printf("  Coordinate E type        %s\n", Choice(t.EastType, {"E", "E+Eo", "zone number and E+Eo"}).c_str());
    std::printf("  E0 value                 %s\n", Gcvt(t.FalseEasting, 16).c_str());
    std::printf("  Zone number              %d\n", t.Zone);
    std::printf("  Angle units              %s\n", Choice(t.AngleUnit, {"degree", "gon", "mil"}).c_str());
    std::printf("  Angle format             %s%s\n", Utf8From1251(t.AngleFormat).c_str(),
                CAngleFormat::IsValidTemplate(t.AngleFormat) ? "" : " (not a valid angle template)");
    std::printf("  Linear units             %s\n", Choice(t.LinearUnit, {"meter", "foot"}).c_str());
    std::printf("  File filter              %s\n", Utf8From1251(t.FileFilter).c_str());
    std::printf("  MS-DOS code page (866)   %s\n", t.DosCodePage ? "yes" : "no");
}

}  // namespace

int RunTemplate(const Args& args) {
    ArgParser parser({}, {});
    if (!parser.Parse(args)) {
        std::fprintf(stderr, "tlxexport template: %s\n%s", parser.Error().c_str(), kUsage);
        return 2;
    }
    if (parser.WantsHelp()) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto& words = parser.Positional();
    if (words.size() != 2 || words[0] != "show") {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& path = words[1];
    CUETemplate t;
    try {
        ReadTemplateFile(path, t);
    } catch (const CFileException& e) {
        std::fprintf(stderr, "tlxexport template: cannot open %s: %s\n", path.c_str(), e.SystemReason().c_str());
        return 2;
    } catch (const CArchiveException& e) {
        std::fprintf(stderr, "tlxexport template: %s is not a valid export template: %s\n", path.c_str(),
                     e.Reason().c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tlxexport template: out of memory reading %s\n", path.c_str());
        return 1;
    }
    PrintTemplate(path, t);
    return 0;
}

}  // namespace tlxcli
