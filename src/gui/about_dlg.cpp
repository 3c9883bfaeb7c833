#include "about_dlg.h"

#include "dialog_units.h"
#include "string_table.h"

#include <QFile>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brevant {

namespace {

constexpr int kOkButton = 1;
constexpr int kHistoryEdit = 1001;

const QString kAppIconPath = QStringLiteral(":/images/brevant.svg");
const QString kOkImagePath = QStringLiteral(":/images/IDB_OK32.svg");

// A picture that is not compiled in yet gives a plain button rather than a warning.
QIcon IconIfPresent(const QString& path)
{
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace

QString VersionHistoryText()
{
    QString text;
    for (int id : {IDS_VERSION_102, IDS_VERSION_101, IDS_VERSION_100})
        text += LoadStringEntry(id).value_or(QString()) + QStringLiteral("\r\n");
    return text;
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(DialogFont(QStringLiteral("Meiryo UI"), 9));
    const QFont& f = font();
    auto place = [&f](QWidget* w, int x, int y, int width, int height) {
        w->setGeometry(DialogUnitsToPixels(QRect(x, y, width, height), f));
    };
    setFixedSize(DialogUnitsToPixels(QRect(0, 0, 315, 270), f).size());

    const QIcon appIcon = IconIfPresent(kAppIconPath);
    setWindowIcon(appIcon);

    auto* ok = new QPushButton(QStringLiteral("確認(&Y)"), this);
    ok->setObjectName(QString::number(kOkButton));
    ok->setIcon(IconIfPresent(kOkImagePath));
    ok->setIconSize(QSize(32, 32));
    ok->setToolTip(QStringLiteral("バージョン情報ウィンドウを閉じて戻ります"));
    ok->setDefault(true);
    place(ok, 243, 2, 70, 27);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The desktop shows an icon control at the icon's own size from the top-left corner.
    auto* icon = new QLabel(this);
    place(icon, 39, 10, 20, 20);
    if (!appIcon.isNull()) {
        icon->setPixmap(appIcon.pixmap(QSize(32, 32), devicePixelRatioF()));
        icon->resize(icon->size().expandedTo(QSize(32, 32)));
    }

    auto* name = new QLabel(QStringLiteral("ブレヴァント\n(損益分岐点シミュレータ)"), this);
    name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(name, 211, 113, 100, 17);

    auto* caption = new QLabel(QStringLiteral("バージョン情報"), this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    caption->setLineWidth(1);
    place(caption, 2, 181, 55, 36);

    auto* history = new QPlainTextEdit(this);
    history->setObjectName(QString::number(kHistoryEdit));
    history->setReadOnly(true);
    history->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    history->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    history->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    history->setPlainText(VersionHistoryText());
    place(history, 58, 181, 254, 36);

    auto* separator = new QFrame(this);
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    place(separator, 4, 221, 309, 1);
    if (separator->height() < 2)
        separator->resize(separator->width(), 2); // an etched line needs two pixel rows

    ok->setFocus();
}

} // namespace brevant
