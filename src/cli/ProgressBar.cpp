#include "cli/ProgressBar.h"

#include <unistd.h>

#include <cstdio>

#include "reader/TLXReader.h"

namespace tlxcli {

namespace {
constexpr int kWidth = 40;
CProgressBar* g_shown = nullptr;  // the bar currently on screen
}  // namespace

CProgressBar::CProgressBar() : CProgressBar(::isatty(STDERR_FILENO) != 0) {}

CProgressBar::CProgressBar(bool enabled) : enabled_(enabled) {}

CProgressBar::~CProgressBar() {
    if (g_shown == this) EraseShown();
}

void CProgressBar::Attach(tvk::CTLXReader& reader) {
    reader.OnProgressBegin = [this](int low, int high) { Begin(low, high); };
    reader.OnProgressStep = [this](int delta) { Step(delta); };
    reader.OnProgressEnd = [this] { End(); };
}

void CProgressBar::Begin(int low, int high) {
    low_ = low;
    high_ = high;
    done_ = low;
    shownPercent_ = -1;
    Draw();
}

void CProgressBar::Step(int delta) {
    done_ += delta;
    Draw();
}

void CProgressBar::End() {
    if (g_shown == this) EraseShown();
    shownPercent_ = -1;
}

void CProgressBar::Draw() {
    if (!enabled_) return;
    long long span = high_ - low_;
    int percent = span > 0 ? static_cast<int>((done_ - low_) * 100 / span) : 100;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (percent == shownPercent_ && g_shown == this) return;
    shownPercent_ = percent;
    char bar[kWidth + 1];
    int filled = percent * kWidth / 100;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '-';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    std::fflush(stderr);
    g_shown = this;
}

void CProgressBar::EraseShown() {
    if (!g_shown) return;
    std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
    std::fflush(stderr);
    g_shown->shownPercent_ = -1;
    g_shown = nullptr;
}

}  // namespace tlxcli
