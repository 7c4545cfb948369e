// The bytes of a dBASE III attribute table (.DBF): the field table derived
// from a layer's columns, the header and the records. Texts are the model's
// 1251 bytes, written unchanged.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// A layer column as the table needs it (the name in 1251).
struct DBFColumn {
    std::string name;
    int type = 0;  // 0 Char, 1 Integer, 2 Smallint, 3 Decimal, 4 Float, 5 Angular
    int width = 0;
    int precision = 0;
};

struct DBFField {
    std::string name;         // at most 10 bytes
    unsigned nameChange = 0;  // tagNameChange bits: how the column's name became it
    char type = 'C';          // 'C', 'N' or 'F'
    uint8_t length = 1;
    uint8_t decimals = 0;
    uint32_t offset = 1;  // in the record; byte 0 is the deletion flag
};

inline constexpr int kDBFFieldNameBytes = 10;
inline constexpr int kDBFMaxFieldLength = 254;
inline constexpr int kDBFMaxDecimals = 15;

// Type letter, length and decimal count of a column. A Char or Decimal width
// outside 1..254 is clamped into that range, so that it does not wrap when
// stored as one byte, and a Decimal precision into 0..15 and at most the
// width less 2 (the point and a digit), beyond which readers refuse the field.
DBFField DBFFieldForColumn(int type, int width, int precision);

// Field names: each cut to its first 10 bytes. A name equal (without regard
// to case) to one an earlier field already has gets the first free suffix _1,
// _2, ... within the 10 bytes, so no two fields share a name. `changes`, when
// given, receives the tagNameChange bits of each.
std::vector<std::string> DBFFieldNames(const std::vector<std::string>& columnNames,
                                       std::vector<unsigned>* changes = nullptr);

class CDBFLayout {
public:
    CDBFLayout() = default;
    explicit CDBFLayout(const std::vector<DBFColumn>& columns);

    const std::vector<DBFField>& Fields() const { return fields_; }
    // 32 + 32 per field + 1 (the 0x0D terminator).
    int64_t HeaderLength() const { return 33 + 32 * static_cast<int64_t>(fields_.size()); }
    // 1 (the deletion flag) + the sum of the field lengths.
    int64_t RecordLength() const { return recordLength_; }
    // False when the header or record length does not fit the 16 bits the header gives it.
    bool FitsHeader() const { return HeaderLength() <= 0xFFFF && RecordLength() <= 0xFFFF; }

    // The whole header: version 3, the date (years since 1900, month, day),
    // `records`, the two lengths, the field descriptors and 0x0D.
    std::string Header(const std::tm& date, uint32_t records) const;

private:
    std::vector<DBFField> fields_;
    int64_t recordLength_ = 1;
};

// Fills the `length` bytes at `field`: the text cut to that length,
// left-aligned and padded with zero bytes.
void PutDBFValue(char* field, size_t length, std::string_view text);

inline constexpr char kDBFRecordFlag = ' ';  // a record that is not deleted
inline constexpr char kDBFEndOfFile = 0x1A;
inline constexpr int kDBFRecordCountOffset = 4;

}  // namespace tvk
