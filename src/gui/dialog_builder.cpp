#include "dialog_builder.h"

#include "color_button.h"
#include "dialog_units.h"
#include "image_resources.h"
#include "text_util.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

#include <algorithm>

namespace brevant {

namespace {

Qt::Alignment HorizontalAlignment(unsigned style)
{
    switch (style & kAlignMask) {
    case kAlignCenter:
        return Qt::AlignHCenter;
    case kAlignRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

QString Text(const char* utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

bool AllDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A number entry takes what an input method in full-width mode types ("１２５", "，")
// as the ASCII characters they stand for. A digits-only entry refuses anything else that
// is typed, as a number entry does on the desktop; texts the program sets, and pasted
// texts, may hold anything.
class NumberTypingFilter : public QObject {
public:
    NumberTypingFilter(QObject* parent, bool digitsOnly)
        : QObject(parent), digitsOnly_(digitsOnly)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (!command && !text.isEmpty() && text.at(0).isPrint()) {
                const QString narrow = NarrowNumberText(text);
                if (digitsOnly_ && !AllDigits(narrow))
                    return true;
                if (narrow != text) {
                    QKeyEvent typed(key->type(), key->key(), key->modifiers(), narrow,
                                    key->isAutoRepeat(), ushort(key->count()));
                    QCoreApplication::sendEvent(watched, &typed);
                    return true;
                }
            }
        } else if (event->type() == QEvent::InputMethod) {
            // Text committed whole by an input method goes by the same rule as keys.
            auto* input = static_cast<QInputMethodEvent*>(event);
            const QString text = input->commitString();
            const QString narrow = NarrowNumberText(text);
            if (!text.isEmpty() && (narrow != text || (digitsOnly_ && !AllDigits(narrow)))) {
                QInputMethodEvent typed(input->preeditString(), input->attributes());
                typed.setCommitString(digitsOnly_ && !AllDigits(narrow) ? QString() : narrow,
                                      input->replacementStart(), input->replacementLength());
                QCoreApplication::sendEvent(watched, &typed);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool digitsOnly_;
};

QIcon LoadPicture(const char* symbol)
{
    if (!symbol)
        return {};
    InitImageResources();
    const QString path = ButtonImagePath(QString::fromLatin1(symbol));
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QPushButton* MakeImageButton(QWidget* window, const ControlTemplate& c, const QRect& px)
{
    auto* b = new QPushButton(Text(c.text), window);
    b->setIcon(LoadPicture(c.image));
    // A picture alone fills about three quarters of the button; beside a text it keeps to
    // the text's scale.
    const int side = c.text ? std::min(20, px.height() - 12)
                            : std::min(px.width(), px.height()) * 3 / 4;
    b->setIconSize(QSize(std::max(side, 8), std::max(side, 8)));
    if (c.style & kImageRight)
        b->setLayoutDirection(Qt::RightToLeft);
    return b;
}

QWidget* MakeControl(QWidget* window, const ControlTemplate& c, const QRect& px,
                     Platform& platform)
{
    const QString text = Text(c.text);
    switch (c.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(text, window);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(HorizontalAlignment(c.style) | Qt::AlignTop);
        return label;
    }
    case ControlKind::Entry: {
        auto* edit = new QLineEdit(window);
        edit->setAlignment(HorizontalAlignment(c.style) | Qt::AlignVCenter);
        if (c.style & kDigitsOnly) {
            edit->installEventFilter(new NumberTypingFilter(edit, true));
            edit->setInputMethodHints(Qt::ImhDigitsOnly);
            // Text composed by an input method arrives without key presses; keep it out.
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        }
        return edit;
    }
    case ControlKind::SpinEntry: {
        auto* spin = new QSpinBox(window);
        spin->setLocale(QLocale::c());
        spin->setAlignment(HorizontalAlignment(c.style) | Qt::AlignVCenter);
        spin->setGroupSeparatorShown(false);
        // A typed number counts once editing finishes, brought into the range.
        spin->setKeyboardTracking(false);
        spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        spin->setAccelerated(true);
        spin->installEventFilter(new NumberTypingFilter(spin, false));
        return spin;
    }
    case ControlKind::Check:
        return new QCheckBox(window);
    case ControlKind::Radio:
        return new QRadioButton(text, window);
    case ControlKind::PushButton:
        return new QPushButton(text, window);
    case ControlKind::ImageButton:
        return MakeImageButton(window, c, px);
    case ControlKind::ColorButton:
        return new ColorButton(platform, window);
    case ControlKind::GroupBox:
        return new QGroupBox(text, window);
    case ControlKind::HorizontalRule:
    case ControlKind::VerticalRule: {
        auto* rule = new QFrame(window);
        rule->setFrameShape(c.kind == ControlKind::HorizontalRule ? QFrame::HLine
                                                                  : QFrame::VLine);
        rule->setFrameShadow(QFrame::Sunken);
        return rule;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(window);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::TextBox: {
        auto* box = new QTextEdit(window);
        box->setReadOnly(true);
        box->setAcceptRichText(false);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setLineWrapMode(QTextEdit::WidgetWidth);
        return box;
    }
    case ControlKind::Marker:
        return new QWidget(window);
    case ControlKind::Frame: {
        auto* frame = new QFrame(window);
        frame->setFrameShape(QFrame::Box);
        return frame;
    }
    case ControlKind::Spin:
        break;
    }
    return nullptr;
}

// The name a screen reader gives a control: its label's text without the mnemonic mark
// and the trailing colon.
QString AccessibleText(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&(?=.)")));
    while (text.endsWith(u'：') || text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

// Controls a person types into or picks with, which take their name from a label.
bool TakesLabelName(ControlKind kind)
{
    return kind == ControlKind::Entry || kind == ControlKind::SpinEntry ||
           kind == ControlKind::Check || kind == ControlKind::ColorButton ||
           kind == ControlKind::TextBox || kind == ControlKind::ProgressBar;
}

// Tooltip and accessible name; `label` is the text of the label just placed, which
// names the controls after it.
void NameControl(QWidget* w, const ControlTemplate& c, QString& label)
{
    if (c.tooltip)
        w->setToolTip(QString::fromUtf8(c.tooltip));
    if (TakesLabelName(c.kind) && !label.isEmpty())
        w->setAccessibleName(label);
    else if (!c.text && c.tooltip)
        // A picture button or box without a label is named by its tooltip.
        w->setAccessibleName(AccessibleText(QString::fromUtf8(c.tooltip)));
    // A label names the run of controls after it (a line's colour and width).
    // A label without text shows a value beside its control (the ratio in words).
    if (c.kind == ControlKind::Label && c.text)
        label = AccessibleText(Text(c.text));
    else if (c.kind != ControlKind::Label && !TakesLabelName(c.kind))
        label.clear();
}

void ApplyStyle(QWidget* w, const ControlTemplate& c)
{
    if (c.style & kHidden)
        w->hide();
    if (c.style & kAcceptFiles)
        w->setAcceptDrops(true);
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        // Enter never presses a button of this window.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

// A radio button joins the group of the ones before it unless it starts a new one.
void AddToRadioGroup(QWidget* window, QRadioButton* radio, const ControlTemplate& c,
                     QButtonGroup*& group, BuiltDialog& built)
{
    if (!group || (c.style & kGroupStart)) {
        group = new QButtonGroup(window);
        group->setExclusive(true);
        built.radioGroups.append(group);
    }
    group->addButton(radio, c.id);
}

} // namespace

QFont TemplateFont(const DialogTemplate& dialog)
{
    return DialogFont(QString::fromUtf8(dialog.fontFace), dialog.pointSize);
}

BuiltDialog BuildDialog(QWidget* window, const DialogTemplate& dialog, Platform& platform)
{
    BuiltDialog built;
    built.font = TemplateFont(dialog);
    window->setFont(built.font);
    built.size = DialogUnitsToPixels(QRect(QPoint(0, 0), dialog.size), built.font).size();

    QWidget* lastSpinEntry = nullptr;
    QButtonGroup* group = nullptr;
    // The text of the label just placed: the control after it is what it names, as the
    // controls are created (and tabbed through) in the template's order.
    QString label;
    for (const ControlTemplate& c : dialog.controls) {
        if (c.kind == ControlKind::Spin) {
            // The spin and its entry are one spin box; the spin's id finds it too.
            if (lastSpinEntry && c.id != IDC_STATIC)
                built.byId.insert(c.id, lastSpinEntry);
            continue;
        }
        const QRect px = DialogUnitsToPixels(c.rect, built.font);
        QWidget* w = MakeControl(window, c, px, platform);
        if (!w)
            continue;
        w->setGeometry(px);
        if (c.id != IDC_STATIC) {
            w->setObjectName(QString::number(c.id));
            built.byId.insert(c.id, w);
        }
        NameControl(w, c, label);
        ApplyStyle(w, c);
        lastSpinEntry = c.kind == ControlKind::SpinEntry ? w : nullptr;
        if (c.kind == ControlKind::Radio)
            AddToRadioGroup(window, static_cast<QRadioButton*>(w), c, group, built);
    }
    return built;
}

} // namespace brevant
