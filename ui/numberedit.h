#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace moxon {

// A line edit for a number, named `objectName`, as wide as `characters` digits: the check
// window's rows of short numbers keep their fields narrow.
[[nodiscard]] QLineEdit *numberEdit(const QString &objectName, int characters, QWidget *parent);

} // namespace moxon
