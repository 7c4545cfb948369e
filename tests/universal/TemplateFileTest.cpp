// The .ue file: exact bytes, round trips and every way a file is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/Exceptions.h"
#include "support/Files.h"
#include "universal/ArchiveException.h"
#include "universal/UETemplateFile.h"

using namespace tvk;

namespace {

std::string Le16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(uint16_t(v & 0xFFFF)) + Le16(uint16_t(v >> 16)); }
std::string Le64(double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    return Le32(uint32_t(v)) + Le32(uint32_t(v >> 32));
}

// A template's settings after its fields, as written.
std::string Tail(const CUETemplate& t) {
    std::string s = Le32(t.DosCodePage) + Le32(uint32_t(t.NorthType)) + Le32(uint32_t(t.EastType)) +
                    Le64(t.FalseNorthing) + Le64(t.FalseEasting) + Le16(uint16_t(t.Zone)) + Le32(uint32_t(t.AngleUnit));
    s += char(t.AngleFormat.size()) + t.AngleFormat + Le32(uint32_t(t.LinearUnit));
    s += char(t.FileFilter.size()) + t.FileFilter;
    return s;
}

const std::string kTemplateHead = Le16(0xFFFF) + Le16(2) + Le16(11) + "CUETemplate";
const std::string kFieldHead = Le16(0xFFFF) + Le16(1) + Le16(8) + "CUEField";

CArchiveException::Cause LoadFailure(const std::string& bytes) {
    try {
        LoadTemplate(bytes, "t.ue");
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_strFileName, "t.ue");
        return e.m_cause;
    }
    return CArchiveException::none;
}

CUETemplate Sample() {
    CUETemplate t;
    t.Fields = {CUEField(CUEField::kName, "", 12, 10, 0), CUEField(CUEField::kText, "a\tb\nc \\d", 0),
                CUEField(CUEField::kLatitude, "", 0, 4, 1)};
    t.DosCodePage = true;
    t.NorthType = -1;
    t.EastType = 2;
    t.FalseNorthing = -5000000.25;
    t.FalseEasting = 500000.5;
    t.Zone = -7;
    t.AngleUnit = 2;
    t.AngleFormat = "ddd.mm.ss.xxx";
    t.LinearUnit = 1;
    t.FileFilter = "*.csv;*.txt";
    return t;
}

}  // namespace

TEST(TemplateFile, SmallTemplateHasTheArchiveBytes) {
    CUETemplate t;
    t.Fields = {CUEField(CUEField::kName), CUEField(CUEField::kText, ", ", 3, 2, 1),
                CUEField(CUEField::kNorth, "", 8, 3)};
    t.FileFilter = "*.txt";
    std::string expected = kTemplateHead + Le32(3);
    expected += kFieldHead + Le32(1) + '\0' + Le32(0) + Le32(10) + Le32(0);
    expected += Le16(0x8003) + Le32(0) + "\x02, " + Le32(3) + Le32(2) + Le32(1);
    expected += Le16(0x8003) + Le32(2) + '\0' + Le32(8) + Le32(3) + Le32(1);
    expected += Tail(t);
    EXPECT_EQ(StoreTemplate(t), expected);
    EXPECT_EQ(LoadTemplate(expected, "t.ue"), t);
}

TEST(TemplateFile, StringLengthsUseTheirThreeForms) {
    CUETemplate t;
    for (size_t n : {254u, 255u, 65533u, 65534u, 70000u}) {
        t.FileFilter.assign(n, 'f');
        std::string bytes = StoreTemplate(t);
        std::string head = bytes.substr(bytes.size() - n - 7, 7);
        if (n < 255) EXPECT_EQ(head.substr(6), std::string(1, char(n)));
        else if (n < 65534) EXPECT_EQ(head.substr(4), "\xFF" + Le16(uint16_t(n)));
        else EXPECT_EQ(head, "\xFF\xFF\xFF" + Le32(uint32_t(n)));
        EXPECT_EQ(LoadTemplate(bytes, "t.ue").FileFilter, t.FileFilter) << n;
    }
}

TEST(TemplateFile, FieldCountLimits) {
    CUETemplate empty;
    std::string bytes = StoreTemplate(empty);
    EXPECT_EQ(bytes, kTemplateHead + Le32(0) + Tail(empty));
    EXPECT_TRUE(LoadTemplate(bytes, "t.ue").Fields.empty());

    CUETemplate many;
    many.Fields.assign(10240, CUEField(CUEField::kHeight));
    EXPECT_EQ(LoadTemplate(StoreTemplate(many), "t.ue").Fields.size(), 10240u);
    many.Fields.push_back(CUEField());
    EXPECT_EQ(LoadFailure(StoreTemplate(many)), CArchiveException::badIndex);

    std::string negative = kTemplateHead + Le32(0xFFFFFFFF) + Tail(empty);
    EXPECT_EQ(LoadFailure(negative), CArchiveException::badIndex);
}

TEST(TemplateFile, InvalidTemplatesAreBadClass) {
    auto refused = [](auto change) {
        CUETemplate t = Sample();
        change(t);
        return LoadFailure(StoreTemplate(t));
    };
    EXPECT_EQ(refused([](CUETemplate& t) { t.Fields[0].Precision = 25; }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.Fields[1].Width = 101; }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.Fields[1].Text.assign(101, 'a'); }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.Fields[2].FieldType = 8; }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.Fields[2].Alignment = -1; }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.NorthType = 2; }), CArchiveException::badClass);
    EXPECT_EQ(refused([](CUETemplate& t) { t.AngleUnit = -2; }), CArchiveException::badClass);
    // The edges of every range are accepted.
    EXPECT_EQ(refused([](CUETemplate& t) {
                  t.Fields[0] = CUEField(7, std::string(100, 'x'), 100, 20, 1);
                  t.Fields[1].Precision = 0;
              }),
              CArchiveException::none);
}

TEST(TemplateFile, WrongClassesAndSchemasAreRefused) {
    const std::string fields = Le32(1) + kFieldHead + Le32(1) + '\0' + Le32(0) + Le32(10) + Le32(0);
    const std::string tail = Tail(CUETemplate());
    EXPECT_EQ(LoadFailure(kTemplateHead + fields + tail), CArchiveException::none);

    // A template written by another version.
    EXPECT_EQ(LoadFailure(Le16(0xFFFF) + Le16(3) + Le16(11) + "CUETemplate" + fields + tail),
              CArchiveException::badSchema);
    // A field class of another version.
    std::string fieldSchema2 = Le32(1) + Le16(0xFFFF) + Le16(2) + Le16(8) + "CUEField";
    EXPECT_EQ(LoadFailure(kTemplateHead + fieldSchema2), CArchiveException::badSchema);
    // The top object is a field or no object at all.
    EXPECT_EQ(LoadFailure(kFieldHead + Le32(1)), CArchiveException::badClass);
    EXPECT_EQ(LoadFailure(Le16(0) + fields + tail), CArchiveException::badClass);
    // A field that is a template: the class reference 0x8001 names the template's class.
    EXPECT_EQ(LoadFailure(kTemplateHead + Le32(1) + Le16(0x8001)), CArchiveException::badClass);
    // A reference to the template object (2) instead of a new field.
    EXPECT_EQ(LoadFailure(kTemplateHead + Le32(1) + Le16(0x0002)), CArchiveException::badClass);
    // References to stored items that do not exist, or that are not classes.
    EXPECT_EQ(LoadFailure(kTemplateHead + Le32(1) + Le16(0x8009)), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(kTemplateHead + Le32(1) + Le16(0x8002)), CArchiveException::badIndex);
    // The big object tag form of the field class reference is understood.
    std::string big = kTemplateHead + Le32(2) + kFieldHead + Le32(1) + '\0' + Le32(0) + Le32(10) + Le32(0) +
                      Le16(0x7FFF) + Le32(0x80000003) + Le32(4) + '\0' + Le32(0) + Le32(3) + Le32(1) + tail;
    EXPECT_EQ(LoadTemplate(big, "t.ue").Fields[1].FieldType, CUEField::kHeight);
}

TEST(TemplateFile, TruncatedFilesEndEarlyAtEveryLength) {
    std::string bytes = StoreTemplate(Sample());
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_EQ(LoadFailure(bytes.substr(0, n)), CArchiveException::endOfFile) << n;
    // A string length that points past the end does not allocate it.
    std::string huge = kTemplateHead + Le32(1) + kFieldHead + Le32(0) + "\xFF\xFF\xFF" + Le32(0xFFFFFFF0);
    EXPECT_EQ(LoadFailure(huge), CArchiveException::endOfFile);
}

TEST(TemplateFile, RandomBytesAreRefusedWithoutCrashing) {
    std::mt19937 random(7);
    std::string good = StoreTemplate(Sample());
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 2) {
            bytes.resize(random() % 200);
            for (char& c : bytes) c = char(random());
        } else {
            bytes = good;
            for (int k = 0; k < 3; ++k) bytes[random() % bytes.size()] = char(random());
        }
        try {
            CUETemplate t = LoadTemplate(bytes, "t.ue");
            EXPECT_TRUE(t.IsValid());
        } catch (const CArchiveException& e) {
            EXPECT_NE(e.m_cause, CArchiveException::none);
        }
    }
}

struct TemplateFiles : ::testing::Test {
    test::MemoryFiles files;
    CMemoryFileSystem& fs = files.fs;
};

TEST_F(TemplateFiles, WrittenFileReadsBackAndFailuresKeepTheCurrentTemplate) {
    WriteTemplateFile("dir/t.ue", Sample());
    EXPECT_EQ(*fs.Contents("dir/t.ue"), StoreTemplate(Sample()));
    CUETemplate current;
    ReadTemplateFile("dir/t.ue", current);
    EXPECT_EQ(current, Sample());

    fs.Put("bad.ue", StoreTemplate(Sample()).substr(0, 40));
    CUETemplate kept = CUETemplate::Internal();
    EXPECT_THROW(ReadTemplateFile("bad.ue", kept), CArchiveException);
    EXPECT_EQ(kept, CUETemplate::Internal());
    EXPECT_THROW(ReadTemplateFile("missing.ue", kept), CFileException);
    EXPECT_EQ(kept, CUETemplate::Internal());
}

TEST_F(TemplateFiles, AWriteThatFailsLeavesNoFile) {
    fs.SetDiskLimit(10);
    EXPECT_THROW(WriteTemplateFile("t.ue", Sample()), CFileException);
    EXPECT_EQ(fs.Contents("t.ue"), nullptr);
}
