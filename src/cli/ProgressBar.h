// A progress bar on standard error for the reader's and writers' three
// progress callbacks. It draws only when standard error is a terminal.
#pragma once

namespace tvk {
class CTLXReader;
}

namespace tlxcli {

class CProgressBar {
public:
    // Draws when `enabled`; by default when standard error is a terminal.
    CProgressBar();
    explicit CProgressBar(bool enabled);
    ~CProgressBar();
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    // Installs the three callbacks into `reader` (after its Init, which clears them).
    void Attach(tvk::CTLXReader& reader);

    void Begin(int low, int high);
    void Step(int delta);
    void End();

    // Erases the bar that is on screen, if any, so that other text can go to
    // standard error; the next step draws it again.
    static void EraseShown();

private:
    void Draw();

    bool enabled_;
    long long low_ = 0, high_ = 0, done_ = 0;
    int shownPercent_ = -1;
};

}  // namespace tlxcli
