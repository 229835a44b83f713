#include "messages.h"

namespace moxon {

Message inputErrorMessage(const InputError &error)
{
    return {MessageKind::InputError, QStringLiteral("Invalid Entry"), error.message};
}

Message rangeWarningMessage(RangeWarning warning)
{
    return {MessageKind::Warning, QStringLiteral("Warning"), rangeWarningText(warning)};
}

Message modelWrittenMessage(const QString &path)
{
    return {MessageKind::Notice, QStringLiteral("Model Generated"),
            QStringLiteral("Model written to file '") + path +
                QStringLiteral("'.\n\nThis model has been constructed for Free Space with Zero "
                               "wire loss.\nIf desired you may use your modeling program to "
                               "change these attributes.")};
}

Message exportFailedMessage(const QString &path, const QString &reason)
{
    return {MessageKind::Failure, QStringLiteral("Export Failed"),
            QStringLiteral("Model could not be written to file '") + path +
                QStringLiteral("'.\n") + reason};
}

Message confirmPrintMessage()
{
    return {MessageKind::Question, QStringLiteral("Confirm Print"),
            QStringLiteral("Printing will be done with the color scheme as shown.")};
}

Message noPrinterMessage()
{
    return {MessageKind::Failure, QStringLiteral("Print"),
            QStringLiteral("No default printer is set up. Nothing was printed.")};
}

Message printFailedMessage()
{
    return {MessageKind::Failure, QStringLiteral("Print"),
            QStringLiteral("Printing failed. Nothing was printed.")};
}

QString saveFilter(ModelFormat format)
{
    return format == ModelFormat::Eznec ? QStringLiteral("EZNEC files (*.ez)|*.ez")
                                        : QStringLiteral("NEC files (*.nec)|*.nec");
}

} // namespace moxon
