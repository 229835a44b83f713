#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace moxon {

// A file the user saves from a context menu, as the dialog and a failure name it.
struct SavedFile
{
    QString caption;      // of the file dialog: "保存图像"
    QString stem;         // the name offered, without its suffix: "moxon-check-146MHz"
    QString suffix;       // after it, and added when none was typed: "png"
    QString filter;       // "PNG (*.png)"
    QString failureTitle; // "Save Failed"
    QString failureText;  // "The image could not be saved to %1: %2."
};

// Where a window's context menu saves its files: a file dialog offering the name in the
// folder saved to last (the documents folder the first time), the suffix added when none was
// typed; then the file written, and a failure told in a message box.
class SaveLocation
{
public:
    // Asks where, then writes with `write`, which returns why it failed or an empty string.
    void save(QWidget *parent, const SavedFile &file,
              const std::function<QString(const QString &path)> &write);

private:
    QString m_lastFolder; // where the last file was saved
};

} // namespace moxon
