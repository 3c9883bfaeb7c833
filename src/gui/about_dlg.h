#pragma once
// The version dialog: the product name, the application icon and the version history.

#include <QDialog>
#include <QString>

namespace brevant {

// The version history as the dialog shows it: newest first, every line ended by CR LF.
QString VersionHistoryText();

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace brevant
