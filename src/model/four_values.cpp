#include "four_values.h"

#include "text_util.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace brevant {

namespace {

constexpr AmountField kKinds[3] = {AmountField::MaxSales, AmountField::TargetSales,
                                   AmountField::FixedCosts};

// A spreadsheet cell as its number: formatting that is not part of the number goes. The
// backslash is the yen sign as Japanese fonts draw it.
QString CellNumber(const QString& cell)
{
    QString r;
    for (const QChar c : cell) {
        if (c != u',' && c != u'円' && c != QChar(0x00A5) && c != u'\\' && c != u'%' &&
            !c.isSpace())
            r += c;
    }
    return r;
}

QString Yen(double amount)
{
    QLocale grouped = QLocale::c();
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    return grouped.toString(qint64(amount)) + u'円';
}

} // namespace

QStringList FourValueFields(const QString& pasted)
{
    QString text = NarrowNumberText(pasted);
    // A spreadsheet ends its copy with a line break; it separates nothing.
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    static const QRegularExpression cellBreak(QStringLiteral("\r\n|[\r\n\t]"));
    if (!text.contains(cellBreak))
        return text.split(u',');
    QStringList cells = text.split(cellBreak);
    for (QString& cell : cells)
        cell = CellNumber(cell);
    return cells;
}

StringId ApplyFourValues(const QString& text,
                         const std::function<void(int index, const QString& field)>& setAmount,
                         const std::function<void(int32_t ratio)>& setRatio)
{
    const QStringList fields = FourValueFields(text);
    for (int k = 0; k < 3; ++k) {
        const QString field = fields.value(k);
        if (k < 2 && field.isEmpty())
            return IDS_ZERO_VALUE;
        setAmount(k, field);
    }
    const QString ratio = fields.value(3);
    if (!ratio.isEmpty())
        setRatio(std::clamp(ParseRatioPercent(ratio), 0, 10000));
    return IDS_NONE;
}

StringId ApplyFourValues(BepInputs& inputs, const QString& text)
{
    double* amounts[3] = {&inputs.maxSales, &inputs.targetSales, &inputs.fixedCosts};
    return ApplyFourValues(
        text,
        [&](int k, const QString& field) { *amounts[k] = ApplyAmountText(kKinds[k], field).value; },
        [&](int32_t ratio) { inputs.variableCostRatio = ratio; });
}

QString DescribeFourValues(const QString& text)
{
    static const char16_t* const kLabels[4] = {u"最大売上高：", u"目標売上高：", u"固定費：",
                                               u"変動費率："};
    const QStringList fields = FourValueFields(text);
    QString r;
    for (int k = 0; k < 4; ++k) {
        const QString field = fields.value(k);
        r += QString::fromUtf16(kLabels[k]);
        if (k < 2 && field.isEmpty()) {
            r += u"（空欄）\n"; // the paste stops here
            break;
        }
        if (k < 3) {
            const AppliedAmount amount = ApplyAmountText(kKinds[k], field);
            r += Yen(amount.value);
            if (amount.capped)
                r += u"（上限）";
        } else if (field.isEmpty()) {
            r += u"変更なし";
        } else {
            r += RatioText(std::clamp(ParseRatioPercent(field), 0, 10000));
        }
        r += u'\n';
    }
    return r;
}

} // namespace brevant
