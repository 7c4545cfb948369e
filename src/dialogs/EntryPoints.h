// The four functions a host calls to open an export dialog for a .tlx file.
// Each builds its dialog without a parent, runs it modally and destroys it
// (with everything it read) before returning. A QApplication is created when
// the host has none.
#pragma once

#if defined(_WIN32)
#define TLXDIALOGS_EXPORT __declspec(dllexport)
#else
#define TLXDIALOGS_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
TLXDIALOGS_EXPORT void ShowACEDialog(char* path);
TLXDIALOGS_EXPORT void ShowMIEDialog(char* path);
TLXDIALOGS_EXPORT void ShowSHEDialog(char* path);
TLXDIALOGS_EXPORT void ShowUEDialog(char* path);
}
