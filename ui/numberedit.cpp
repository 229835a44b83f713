#include "numberedit.h"

#include <QLineEdit>

namespace moxon {

QLineEdit *numberEdit(const QString &objectName, int characters, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * characters + 12);
    return edit;
}

} // namespace moxon
