#include "dialogs.h"

#include <QMessageBox>

namespace moxon {

// The message-box look of each kind of message: icon and buttons.
namespace {

QMessageBox::Icon messageIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::InputError:
    case MessageKind::Failure:
        return QMessageBox::Warning;
    case MessageKind::Warning:
        return QMessageBox::Information;
    case MessageKind::Notice:
    case MessageKind::Question:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool showMessageBox(const Message &message, QWidget *parent)
{
    const bool question = message.kind == MessageKind::Question;
    QMessageBox box(messageIcon(message.kind), message.title, message.text,
                    question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    // Texts may name files: show them as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(question ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString qtFileFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0) {
        return filter;
    }
    const QString description = filter.left(bar).trimmed();
    const QString pattern = filter.mid(bar + 1).trimmed();
    if (pattern.isEmpty() || description.contains(u'(' + pattern + u')')) {
        return description;
    }
    return QStringLiteral("%1 (%2)").arg(description, pattern);
}

} // namespace moxon
