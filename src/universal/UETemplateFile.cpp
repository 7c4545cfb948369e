#include "universal/UETemplateFile.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/File.h"
#include "universal/ArchiveException.h"

namespace tvk {
namespace {

// Tags of the object archive.
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr size_t kMaxClassNameLength = 64;
constexpr size_t kArchiveBufferSize = 4096;

struct ArchivedClass {
    const char* name;
    uint16_t schema;
};
constexpr ArchivedClass kTemplateClass{"CUETemplate", 2};
constexpr ArchivedClass kFieldClass{"CUEField", 1};
// Index of the field class in the archive's table of stored items: the
// template's class is 1, the template object 2, the field class 3.
constexpr uint16_t kFieldClassReference = kClassTag | 3;

class ArchiveWriter {
public:
    void U16(uint16_t v) { Number(v, 2); }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v) { Number(v, 4); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F64(double v) { Number(std::bit_cast<uint64_t>(v), 8); }
    void String(const std::string& s) {
        size_t n = s.size();
        if (n < 255) {
            out_.push_back(static_cast<char>(n));
        } else if (n < 0xFFFE) {
            out_.push_back('\xFF');
            U16(static_cast<uint16_t>(n));
        } else {
            out_.push_back('\xFF');
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
        out_.append(s);
    }
    void ClassDescription(const ArchivedClass& c) {
        U16(kNewClassTag);
        U16(c.schema);
        U16(static_cast<uint16_t>(std::strlen(c.name)));
        out_.append(c.name);
    }
    std::string Take() { return std::move(out_); }

private:
    // Numbers are little-endian whatever the host is.
    void Number(uint64_t v, size_t n) {
        for (size_t i = 0; i < n; ++i, v >>= 8) out_.push_back(static_cast<char>(v & 0xFF));
    }
    std::string out_;
};

class ArchiveReader {
public:
    using Pull = std::function<size_t(char*, size_t)>;
    ArchiveReader(Pull pull, int64_t length, std::string fileName)
        : pull_(std::move(pull)), remaining_(length), fileName_(std::move(fileName)) {
        buffer_.resize(kArchiveBufferSize);
        loaded_.push_back(Item::Null);
    }

    uint8_t U8() { return static_cast<uint8_t>(Number(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Number(2)); }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32() { return static_cast<uint32_t>(Number(4)); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    double F64() { return std::bit_cast<double>(Number(8)); }

    std::string String() {
        uint64_t n = U8();
        if (n == 0xFF) {
            n = U16();
            // 0xFFFE announces a UTF-16 text, which templates never hold.
            if (n == 0xFFFE) Fail(CArchiveException::generic);
            if (n == 0xFFFF) n = U32();
        }
        // Checked before allocating, so a forged length cannot exhaust memory.
        if (n > static_cast<uint64_t>(remaining_)) Fail(CArchiveException::endOfFile);
        std::string s(static_cast<size_t>(n), '\0');
        Bytes(s.data(), s.size());
        return s;
    }

    // Reads the tag (and class description) that must introduce a new object
    // of class `wanted`, and enters the object in the table of stored items.
    void NewObject(const ArchivedClass& wanted) {
        uint16_t tag = U16();
        uint32_t obTag =
            tag == kBigObjectTag ? U32() : (static_cast<uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag);
        if (!(obTag & kBigClassTag)) {
            // A null object or a reference to an object read before: not a new
            // object of the wanted class.
            if (obTag >= loaded_.size()) Fail(CArchiveException::badIndex);
            Fail(CArchiveException::badClass);
        }
        Item cls;
        if (tag == kNewClassTag) {
            uint16_t schema = U16();
            uint16_t length = U16();
            if (length >= kMaxClassNameLength) Fail(CArchiveException::badClass);
            std::string name(length, '\0');
            Bytes(name.data(), length);
            const ArchivedClass* known = name == kTemplateClass.name ? &kTemplateClass
                                         : name == kFieldClass.name  ? &kFieldClass
                                                                     : nullptr;
            if (!known) Fail(CArchiveException::badClass);
            if (schema != known->schema) Fail(CArchiveException::badSchema);
            cls = known == &kTemplateClass ? Item::TemplateClass : Item::FieldClass;
            loaded_.push_back(cls);
        } else {
            uint32_t index = obTag & ~kBigClassTag;
            if (index == 0 || index >= loaded_.size()) Fail(CArchiveException::badIndex);
            cls = loaded_[index];
            if (cls != Item::TemplateClass && cls != Item::FieldClass) Fail(CArchiveException::badIndex);
        }
        Item wantedClass = &wanted == &kTemplateClass ? Item::TemplateClass : Item::FieldClass;
        if (cls != wantedClass) Fail(CArchiveException::badClass);
        loaded_.push_back(Item::Object);
    }

    [[noreturn]] void Fail(CArchiveException::Cause cause) const { throw CArchiveException(cause, fileName_); }

private:
    enum class Item : uint8_t { Null, TemplateClass, FieldClass, Object };

    void Bytes(void* out, size_t n) {
        char* dst = static_cast<char*>(out);
        size_t done = 0;
        while (done < n) {
            if (pos_ == end_) {
                pos_ = 0;
                end_ = pull_(buffer_.data(), buffer_.size());
                if (end_ == 0) Fail(CArchiveException::endOfFile);
            }
            size_t k = std::min(n - done, end_ - pos_);
            std::memcpy(dst + done, buffer_.data() + pos_, k);
            pos_ += k;
            done += k;
        }
        remaining_ -= static_cast<int64_t>(n);
    }

    // A little-endian number of `n` bytes, whatever the host is.
    uint64_t Number(size_t n) {
        unsigned char b[8];
        Bytes(b, n);
        uint64_t v = 0;
        for (size_t i = n; i-- > 0;) v = (v << 8) | b[i];
        return v;
    }

    Pull pull_;
    int64_t remaining_;
    std::string fileName_;
    std::vector<char> buffer_;
    size_t pos_ = 0, end_ = 0;
    std::vector<Item> loaded_;  // the archive's table of stored items, 0 = null
};

CUETemplate ReadArchive(ArchiveReader& ar) {
    ar.NewObject(kTemplateClass);
    CUETemplate t;
    int32_t count = ar.I32();
    if (count < 0 || count > CUETemplate::kMaxFieldsOnLoad) ar.Fail(CArchiveException::badIndex);
    t.Fields.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        ar.NewObject(kFieldClass);
        CUEField f;
        f.FieldType = ar.I32();
        f.Text = ar.String();
        f.Width = ar.I32();
        f.Precision = ar.I32();
        f.Alignment = ar.I32();
        t.Fields.push_back(std::move(f));
    }
    t.DosCodePage = ar.I32() != 0;
    t.NorthType = ar.I32();
    t.EastType = ar.I32();
    t.FalseNorthing = ar.F64();
    t.FalseEasting = ar.F64();
    t.Zone = ar.I16();
    t.AngleUnit = ar.I32();
    t.AngleFormat = ar.String();
    t.LinearUnit = ar.I32();
    t.FileFilter = ar.String();
    if (!t.IsValid()) ar.Fail(CArchiveException::badClass);
    return t;
}

}  // namespace

std::string StoreTemplate(const CUETemplate& t) {
    ArchiveWriter ar;
    ar.ClassDescription(kTemplateClass);
    ar.I32(static_cast<int32_t>(t.Fields.size()));
    for (size_t i = 0; i < t.Fields.size(); ++i) {
        const CUEField& f = t.Fields[i];
        if (i == 0) ar.ClassDescription(kFieldClass);
        else ar.U16(kFieldClassReference);
        ar.I32(f.FieldType);
        ar.String(f.Text);
        ar.I32(f.Width);
        ar.I32(f.Precision);
        ar.I32(f.Alignment);
    }
    ar.I32(t.DosCodePage ? 1 : 0);
    ar.I32(t.NorthType);
    ar.I32(t.EastType);
    ar.F64(t.FalseNorthing);
    ar.F64(t.FalseEasting);
    ar.I16(t.Zone);
    ar.I32(t.AngleUnit);
    ar.String(t.AngleFormat);
    ar.I32(t.LinearUnit);
    ar.String(t.FileFilter);
    return ar.Take();
}

CUETemplate LoadTemplate(std::string_view bytes, const std::string& fileName) {
    size_t offset = 0;
    auto pull = [&](char* out, size_t size) {
        size_t n = std::min(size, bytes.size() - offset);
        std::memcpy(out, bytes.data() + offset, n);
        offset += n;
        return n;
    };
    ArchiveReader ar(pull, static_cast<int64_t>(bytes.size()), fileName);
    return ReadArchive(ar);
}

void ReadTemplateFile(const std::string& path, CUETemplate& current) {
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    ArchiveReader ar([&](char* out, size_t size) { return file.Read(out, size); }, file.GetLength(), path);
    current = ReadArchive(ar);
}

void WriteTemplateFile(const std::string& path, const CUETemplate& tmpl) {
    std::string bytes = StoreTemplate(tmpl);
    CFile file(path, CFile::modeWrite | CFile::modeCreate);
    try {
        file.Write(bytes);
        file.Close();
    } catch (...) {
        file.Abort();
        FileSystem().Remove(path);
        throw;
    }
}

}  // namespace tvk
