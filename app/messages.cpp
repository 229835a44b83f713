#include "messages.h"

#include "insulationload.h"

#include <QLocale>

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

Message tunedModelWrittenMessage(const QString &path, ModelFormat format, const ModelInput &model,
                                 const Insulation &insulation)
{
    const QLocale c = QLocale::c();
    const double radius = double(radiusInches(model.wire).value_or(0)) * 0.0254;
    const QString inductance = c.toString(insulationInductance(radius, insulation) * 1e9, 'f', 1) +
                               QStringLiteral(" nH per metre on every wire");
    QString text = QStringLiteral("Model written to file '") + path +
                   QStringLiteral("'.\n\nThis model has been constructed for Free Space with "
                                  "Zero wire loss, with the dimensions tuned for insulated wire. ");
    if (format == ModelFormat::Nec) {
        return {MessageKind::Notice, QStringLiteral("Model Generated"),
                text + QStringLiteral("Its insulation is in the deck as a series inductance of ") +
                    inductance + QStringLiteral(" (an LD 3 card).")};
    }
    return {MessageKind::Warning, QStringLiteral("Model Generated"),
            text + QStringLiteral("The file has no place for the insulation, without which these "
                                  "dimensions resonate higher: add it in your modeling program, "
                                  "as insulation %1 mm thick of relative permittivity %2, or as a "
                                  "series inductance of %3.")
                       .arg(c.toString(insulation.thicknessMetres * 1000, 'g', 6),
                            c.toString(insulation.permittivity, 'g', 6), inductance)};
}

Message exportFailedMessage(const QString &path, const QString &reason)
{
    return {MessageKind::Failure, QStringLiteral("Export Failed"),
            QStringLiteral("Model could not be written to file '") + path + QStringLiteral("'.\n") +
                reason};
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
