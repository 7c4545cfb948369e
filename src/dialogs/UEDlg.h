// The universal export dialog (template editor and text export).
#pragma once
#include <QDialog>
#include <string>

namespace tvk {

class CUEDlg : public QDialog {
    Q_OBJECT
public:
    explicit CUEDlg(QWidget* parent = nullptr);
    void SetFilePath(const char* path);

private:
    std::string filePath_;
};

}  // namespace tvk
