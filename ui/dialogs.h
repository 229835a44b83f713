#pragma once

#include "messages.h"

#include <QString>

class QWidget;

namespace moxon {

// A modal message box in the look of its kind: the exclamation icon for input errors and
// failures, the information icon for warnings, no icon for notices, OK and Cancel for a
// question. The text is shown as plain text, never as markup. True when closed with OK.
bool showMessageBox(const Message &message, QWidget *parent);

// The one-entry filter "Description (*.ext)|*.ext" in the form a Qt file dialog takes,
// "Description (*.ext)". A description that does not show its pattern gets it appended, so
// the dialog still lists only the matching files.
[[nodiscard]] QString qtFileFilter(const QString &filter);

} // namespace moxon
