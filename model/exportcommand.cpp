#include "exportcommand.h"

#include "writeez.h"
#include "writenec.h"

#include <QSaveFile>

namespace moxon {

namespace {

QString exportFailedTitle()
{
    return QStringLiteral("Export Failed");
}

} // namespace

ExportCommand::ExportCommand(Toolkit &toolkit, const LocaleNumbers &numbers, FormState &state)
    : m_toolkit(toolkit)
    , m_numbers(numbers)
    , m_state(state)
{
}

std::optional<WireTable> ExportCommand::buildFromResults() const
{
    const std::optional<double> a = m_numbers.toDouble(m_toolkit.text(Control::txtA));
    const std::optional<double> b = m_numbers.toDouble(m_toolkit.text(Control::txtB));
    const std::optional<double> d = m_numbers.toDouble(m_toolkit.text(Control::txtD));
    const std::optional<double> e = m_numbers.toDouble(m_toolkit.text(Control::txtE));
    if (!a || !b || !d || !e) {
        return std::nullopt;
    }
    return buildWireTable({*a, *b, *d, *e}, m_toolkit.isSelected(Control::optVert),
                          m_toolkit.isSelected(Control::optXaxis));
}

ModelSource ExportCommand::modelSource() const
{
    return ModelSource{m_state.wireTable,
                       m_state.DisplayUnits,
                       m_toolkit.selectedEntry(Control::cboDiaUnits),
                       m_toolkit.text(Control::txtWD),
                       m_toolkit.text(Control::txtFreq),
                       m_toolkit.isSelected(Control::optXaxis)};
}

void ExportCommand::reportFailure(const QString &path, const QString &reason) const
{
    m_toolkit.messageBox(QStringLiteral("Model could not be written to file '") + path +
                             QStringLiteral("'.\n") + reason,
                         exportFailedTitle(), MessageStyle::Exclamation);
}

void ExportCommand::run() const
{
    m_toolkit.press(Control::btnCalculate);
    // A rejected input has had its "Invalid Entry" message; a model of the last good
    // dimensions with the rejected frequency or wire size would be wrong.
    if (m_state.lastCalculation == CalculateOutcome::Rejected) {
        return;
    }

    const std::optional<WireTable> wires = buildFromResults();
    if (!wires) {
        m_toolkit.messageBox(QStringLiteral("There is no calculated design to export."),
                             exportFailedTitle(), MessageStyle::Exclamation);
        return;
    }
    m_state.wireTable = *wires;

    const ModelFormat format =
        m_toolkit.isSelected(Control::optEZNEC) ? ModelFormat::Eznec : ModelFormat::Nec;
    const std::optional<QString> path =
        m_toolkit.saveAs(format == ModelFormat::Eznec ? QStringLiteral("EZNEC files (*.ez)|*.ez")
                                                      : QStringLiteral("NEC files (*.nec)|*.nec"));
    if (!path || path->isEmpty()) {
        return;
    }

    const WriteResult written = saveModelFile(*path, format, modelSource(), m_numbers);
    if (!written.ok()) {
        reportFailure(*path, written.error());
        return;
    }
    m_toolkit.messageBox(
        QStringLiteral("Model written to file '") + *path +
            QStringLiteral("'.\n\nThis model has been constructed for Free Space with Zero wire "
                           "loss.\nIf desired you may use your modeling program to change "
                           "these attributes."),
        QStringLiteral("Model Generated"), MessageStyle::OkOnly);
}

WriteResult saveModelFile(const QString &path, ModelFormat format, const ModelSource &source,
                          const LocaleNumbers &numbers)
{
    // No fallback to writing the target in place: where no temporary file can be made
    // beside it, the export fails rather than risk a half-written model.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteResult::failure(file.errorString());
    }
    const WriteResult written = format == ModelFormat::Eznec ? WriteEZ(file, source, numbers)
                                                             : WriteNEC(file, source, numbers);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit()) {
        return WriteResult::failure(file.errorString());
    }
    return WriteResult::success();
}

} // namespace moxon
