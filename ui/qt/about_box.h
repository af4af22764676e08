// frmAbout: the application title, the version, the logo, a few lines on
// what the program is and its licence, and a link to its manual. Its texts
// are fixed.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ftvb::ui::qt {

// Hands the address to the desktop's browser without waiting for it; true
// when the desktop took it.
bool WebEmailOpen(const QString& address);

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Label1_Click(int index);

private:
    void Form_Load();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QPushButton* cmdOK;
};

}  // namespace ftvb::ui::qt
