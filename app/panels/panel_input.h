// Reading and showing the numbers of a panel's boxes. A box that does not hold what it
// should is marked, the status bar names it and says what is wrong, and the caller
// changes nothing.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/controls.h"
#include "model/model.h"

class QComboBox;
class QLineEdit;
class QScrollBar;

namespace tamsel {

class Dialogs;
class PanelHost;

// The whole text as a number that a Single can store ("." as the decimal point).
std::optional<double> ReadNumber(QLineEdit* box, PanelHost& host);
std::optional<Single3> ReadNumbers(const XYZBoxes& boxes, PanelHost& host);
// A whole number from `lo` to `hi`; `what` is how the message names the range.
std::optional<std::int64_t> ReadWhole(QLineEdit* box, std::int64_t lo, std::int64_t hi,
                                      PanelHost& host, const QString& what);

// Asks for a number starting from `initial`: nothing when cancelled, or, after a message
// "\"TEXT\" is not EXPECTED", when the text is no number `valid` takes.
std::optional<double> AskNumber(Dialogs& ask, const QString& prompt, const QString& title,
                                double initial, bool (*valid)(double), const QString& expected);

QString NumberText(float value);
void ShowNumbers(const XYZBoxes& boxes, const Single3& value);

// Shows a code in a list of `known` names; a code beyond them as an extra entry.
void ShowCode(QComboBox* combo, int code, int known);

// Sets a slider from its box when the box holds a whole number in the slider's range;
// otherwise the box is marked and the slider keeps its value.
void BoxToSlider(QLineEdit* box, QScrollBar* bar);

}  // namespace tamsel
