#include "savelocation.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace moxon {

void SaveLocation::save(QWidget *parent, const SavedFile &file,
                        const std::function<QString(const QString &path)> &write)
{
    if (m_lastFolder.isEmpty()) {
        m_lastFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    QString path = QFileDialog::getSaveFileName(
        parent, file.caption, QDir(m_lastFolder).filePath(file.stem + u'.' + file.suffix),
        file.filter);
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += u'.' + file.suffix;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    const QString problem = write(path);
    if (!problem.isEmpty()) {
        QMessageBox::warning(parent, file.failureTitle,
                             file.failureText.arg(QDir::toNativeSeparators(path), problem));
    }
}

} // namespace moxon
