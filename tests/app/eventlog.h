#pragma once

#include "fakeview.h"

#include <QStringList>

namespace moxon::test {

// The view calls as one line each, so that an order of calls compares as a list of texts
// and a failure prints what the session did. A design shows as its unit and A: the core
// tests check every figure, these check which design was shown when.
inline QString describe(const Message &message)
{
    static const char *const kinds[] = {"input error", "warning", "notice", "failure", "question"};
    return QString::fromLatin1(kinds[int(message.kind)]) + u' ' + message.title +
           QStringLiteral(": ") + message.text;
}

inline QString describe(const ViewEvent &event)
{
    if (const auto *wire = std::get_if<ShownWireSize>(&event)) {
        return QStringLiteral("wire ") + wire->text + u' ' + unitText(wire->unit);
    }
    if (const auto *design = std::get_if<ShownDesign>(&event)) {
        return QStringLiteral("design ") + unitText(design->unit) + u' ' + design->texts[0];
    }
    if (const auto *message = std::get_if<Message>(&event)) {
        return QStringLiteral("message ") + describe(*message);
    }
    if (const auto *focused = std::get_if<Focused>(&event)) {
        return focused->field == InputField::Frequency ? QStringLiteral("focus frequency")
                                                       : QStringLiteral("focus wire size");
    }
    if (const auto *asked = std::get_if<AskedSavePath>(&event)) {
        return asked->format == ModelFormat::Nec ? QStringLiteral("save as NEC")
                                                 : QStringLiteral("save as EZNEC");
    }
    if (const auto *sheet = std::get_if<ShownSheet>(&event)) {
        return sheet->sheet ? QStringLiteral("sheet on") : QStringLiteral("sheet off");
    }
    if (const auto *question = std::get_if<Confirmed>(&event)) {
        return QStringLiteral("confirm ") + describe(question->message);
    }
    if (std::holds_alternative<PrintedBuildSheet>(event)) {
        return QStringLiteral("print build sheet");
    }
    return std::holds_alternative<Printed>(event) ? QStringLiteral("print")
                                                  : QStringLiteral("close");
}

inline QStringList eventLog(const QList<ViewEvent> &events)
{
    QStringList log;
    for (const ViewEvent &event : events) {
        log.append(describe(event));
    }
    return log;
}

} // namespace moxon::test
