#pragma once

#include <QFontMetrics>
#include <QLineEdit>
#include <QString>

namespace moxon {

// A box for a number of about `characters` digits, as the check window's installation row has
// them: as wide as those digits and its frame.
inline QLineEdit *numberEdit(const QString &objectName, int characters, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * characters + 12);
    return edit;
}

} // namespace moxon
