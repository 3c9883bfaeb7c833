#pragma once
// "calc": the summary CSV, the analysis or JSON for four figures.

#include "bep_model.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace brevant {

class ProfileStore;

// The subcommand on the whole argument list (argument 0 is the program, 1 the
// subcommand), with text for standard output appended to `out`.
int RunCalcCommand(const QStringList& arguments, ProfileStore& store, QString& out);

// The figures of calc --json: each amount (the three inputs, the break-even point and the
// target operating profit) as {"yen", "words", "label"}, "yen" and "words" null when the
// amount is not finite, and the two ratios in percent.
QJsonObject FiguresJson(const BepInputs& inputs);

} // namespace brevant
