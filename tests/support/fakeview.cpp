#include "fakeview.h"

#include <QStandardPaths>

namespace moxon::test {

void FakeView::showWireSize(const QString &text, WireUnit unit)
{
    wireSize = text;
    wireUnit = unit;
    events.append(ShownWireSize{text, unit});
}

void FakeView::showDesign(const ShownDesign &shown)
{
    design = shown;
    events.append(shown);
}

void FakeView::showMessage(const Message &message)
{
    events.append(message);
}

void FakeView::focusField(InputField field)
{
    events.append(Focused{field});
}

std::optional<QString> FakeView::askSavePath(ModelFormat format)
{
    events.append(AskedSavePath{format});
    return savePaths.isEmpty() ? std::nullopt : savePaths.takeFirst();
}

void FakeView::showSheet(bool on)
{
    sheet = on;
    events.append(ShownSheet{on});
}

bool FakeView::confirm(const Message &message)
{
    events.append(Confirmed{message});
    return confirmAnswers.isEmpty() || confirmAnswers.takeFirst();
}

PrintOutcome FakeView::printSheet()
{
    events.append(Printed{});
    return printOutcome;
}

PrintOutcome FakeView::printBuildSheet(const BuildSheet &sheet)
{
    events.append(PrintedBuildSheet{});
    buildSheet = sheet;
    return printOutcome;
}

void FakeView::closeWindow()
{
    closed = true;
    events.append(Closed{});
}

QList<Message> FakeView::messages() const
{
    QList<Message> found;
    for (const ViewEvent &event : events) {
        if (const auto *message = std::get_if<Message>(&event)) {
            found.append(*message);
        } else if (const auto *question = std::get_if<Confirmed>(&event)) {
            found.append(question->message);
        }
    }
    return found;
}

TestSettings::TestSettings()
{
    QStandardPaths::setTestModeEnabled(true);
}

FakeWindow::FakeWindow(const QLocale &locale)
    : session(view, LocaleNumbers(locale))
{
    session.formLoad();
    view.clear();
}

FakeWindow &FakeWindow::enter(const QString &freq, const QString &wire, WireUnit unit)
{
    session.setFrequencyText(freq);
    session.setWireSizeText(wire);
    session.setWireUnit(unit);
    view.wireSize = wire;
    view.wireUnit = unit;
    return *this;
}

} // namespace moxon::test
