#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>

namespace moxon::test {

// Answers an open file dialog with `path` as a user does: types it into the file name box and
// accepts. QFileDialog::selectFile leaves that box alone once it has the focus, which the
// dialog gives it a moment after it shows: an answer that came late chose the name offered.
inline void chooseFile(QFileDialog *dialog, const QString &path)
{
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
        name->setText(path);
    } else {
        dialog->selectFile(path);
    }
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides its override
}

} // namespace moxon::test
