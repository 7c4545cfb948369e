#include "universal/AngleFormat.h"

#include <optional>

#include "msr/msr.h"

namespace tvk {
namespace {

bool IsKind(char c) { return c == 'd' || c == 'm' || c == 's' || c == 'x'; }
int Rank(char kind) { return kind == 'd' ? 0 : kind == 'm' ? 1 : kind == 's' ? 2 : 3; }

struct Piece {
    char kind;
    int letters;
    std::string separator;
};

// The prefix and the runs of a template, each with the text after it.
std::string Split(std::string_view text, std::vector<Piece>& pieces) {
    size_t i = 0, n = text.size();
    while (i < n && !IsKind(text[i])) ++i;
    std::string prefix(text.substr(0, i));
    while (i < n) {
        char kind = text[i];
        size_t end = i;
        while (end < n && text[end] == kind) ++end;
        size_t next = end;
        while (next < n && !IsKind(text[next])) ++next;
        pieces.push_back({kind, static_cast<int>(end - i), std::string(text.substr(end, next - end))});
        i = next;
    }
    return prefix;
}

// Walks through a text of the units library token by token.
class TokenCursor {
public:
    explicit TokenCursor(std::string_view text) : text_(text) {}
    // The characters up to one of `delimiters` (which is skipped), after any
    // blanks; nothing when the text is used up.
    std::optional<std::string> Next(std::string_view delimiters) {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
        if (pos_ >= text_.size()) return std::nullopt;
        size_t end = text_.find_first_of(delimiters, pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string token(text_.substr(pos_, end - pos_));
        pos_ = end < text_.size() ? end + 1 : end;
        return token;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

const std::string_view kDegreeEnd = "\xB0 ";
const std::string_view kWholeEnd = "., ";

}  // namespace

bool CAngleFormat::IsValidTemplate(std::string_view text) {
    std::vector<Piece> pieces;
    Split(text, pieces);
    if (pieces.empty()) return false;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (i > 0) {
            int before = Rank(pieces[i - 1].kind), now = Rank(p.kind);
            if (now < before || (now == before && p.kind != 'x')) return false;
        }
        if ((p.kind == 'm' || p.kind == 's') && p.separator.empty() && p.letters != 2) return false;
    }
    return true;
}

bool CAngleFormat::Parse(std::string_view text, int unit) {
    unit_ = (unit == kGon || unit == kMil) ? unit : kDegree;
    degrees_ = minutes_ = seconds_ = Run();
    fraction_.clear();
    std::vector<Piece> pieces;
    prefix_ = Split(text, pieces);
    // A run of d, m or s that comes out of order is passed over, so that an
    // invalid template still gives a usable layout.
    int lastRank = -1;
    for (const Piece& p : pieces) {
        int rank = Rank(p.kind);
        if (rank == 3) {
            fraction_.push_back({p.letters, p.separator});
            lastRank = 3;
            continue;
        }
        if (rank <= lastRank) continue;
        Run& run = rank == 0 ? degrees_ : rank == 1 ? minutes_ : seconds_;
        run = {p.letters, p.separator};
        lastRank = rank;
    }
    bool hasM = minutes_.letters > 0, hasS = seconds_.letters > 0;
    mode_ = hasS ? kDegMinSec : hasM ? kDegDecimalMin : kDecimalDeg;
    return IsValidTemplate(text);
}

std::string CAngleFormat::Layout(const std::vector<std::string>& tokens, const std::string* fraction) const {
    std::string out = prefix_;
    const Run* runs[] = {&degrees_, &minutes_, &seconds_};
    size_t produced = mode_ == kDegMinSec ? 3 : mode_ == kDegDecimalMin ? 2 : 1;
    for (size_t i = 0; i < produced; ++i) {
        if (i >= tokens.size()) return out;
        const Run& run = *runs[i];
        if (run.HasSeparator()) out += tokens[i] + run.separator;
        else out += tokens[i].substr(0, static_cast<size_t>(run.letters));
    }
    if (!fraction) return out;
    size_t used = 0;
    for (const Run& group : fraction_) {
        if (group.HasSeparator()) {
            out += fraction->substr(std::min(used, fraction->size())) + group.separator;
            return out;
        }
        if (used < fraction->size()) out += fraction->substr(used, static_cast<size_t>(group.letters));
        used += static_cast<size_t>(group.letters);
    }
    return out;
}

std::string CAngleFormat::Write(double radians, int precision) const {
    char buffer[msr::kTextSize];
    msr::CAngular angle(radians);
    if (unit_ == kGon) return angle.wr_gon(buffer, precision < 0 ? 6 : precision, "%0.*f");
    if (unit_ == kMil) return angle.wr_mil(buffer, precision < 0 ? 6 : precision, "%0.*f");

    std::vector<std::string> tokens;
    std::optional<std::string> fraction;
    auto take = [&](std::optional<std::string> token) {
        if (token) tokens.push_back(std::move(*token));
        return tokens.size();
    };
    if (mode_ == kDegMinSec) {
        int p = precision < 0 ? 2 : precision;
        TokenCursor cursor(angle.wr_dms(buffer, p, nullptr));
        if (take(cursor.Next(kDegreeEnd)) == 1 && take(cursor.Next("' ")) == 2 &&
            take(cursor.Next(p == 0 ? "\" " : kWholeEnd)) == 3 && p > 0)
            fraction = cursor.Next("\"");
    } else if (mode_ == kDegDecimalMin) {
        int p = precision < 0 ? 4 : precision;
        TokenCursor cursor(angle.wr_dmx(buffer, p, nullptr));
        if (take(cursor.Next(kDegreeEnd)) == 1 && take(cursor.Next(p == 0 ? "' " : kWholeEnd)) == 2 && p > 0)
            fraction = cursor.Next("' ");
    } else {
        int p = precision < 0 ? 2 : precision;
        TokenCursor cursor(angle.wr_dxx(buffer, p, nullptr));
        if (take(cursor.Next(p == 0 ? kDegreeEnd : std::string_view("., \xB0"))) == 1 && p > 0)
            fraction = cursor.Next(kDegreeEnd);
    }
    return Layout(tokens, fraction ? &*fraction : nullptr);
}

std::string CAngleFormat::Read(std::string_view text) const {
    if (unit_ != kDegree) return std::string(text);
    size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (i < n && prefix_.find(text[i]) != std::string::npos) ++i;

    // One run's characters: up to its separator, which is skipped, or as many
    // characters as the run has letters.
    auto take = [&](const Run& run) {
        size_t end;
        if (run.HasSeparator()) {
            size_t found = text.find(run.separator, i);
            end = found == std::string_view::npos ? n : found;
            std::string part(text.substr(i, end - i));
            i = found == std::string_view::npos ? n : found + run.separator.size();
            return part;
        }
        end = std::min(n, i + static_cast<size_t>(run.letters));
        std::string part(text.substr(i, end - i));
        i = end;
        return part;
    };

    std::string out = take(degrees_);
    if (out.empty()) out = "0";
    if (mode_ != kDecimalDeg) {
        std::string minutes = take(minutes_);
        out += ' ' + (minutes.empty() ? std::string("0") : minutes);
    }
    if (mode_ == kDegMinSec) {
        std::string seconds = take(seconds_);
        out += ' ' + (seconds.empty() ? std::string("0") : seconds);
    }
    std::string fraction;
    for (const Run& group : fraction_) fraction += take(group);
    fraction += text.substr(i);
    if (!fraction.empty()) out += '.' + fraction;
    return out;
}

}  // namespace tvk
