#pragma once

#include "buildsheet.h"
#include "designview.h"
#include "session.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>
#include <variant>

namespace moxon::test {

// What the session asked of the view, one entry per call, in order.
struct ShownWireSize
{
    QString text;
    WireUnit unit = WireUnit::Gauge;
    bool operator==(const ShownWireSize &) const = default;
};
struct Focused
{
    InputField field = InputField::Frequency;
    bool operator==(const Focused &) const = default;
};
struct AskedSavePath
{
    ModelFormat format = ModelFormat::Nec;
    bool operator==(const AskedSavePath &) const = default;
};
struct ShownSheet
{
    bool sheet = false;
    bool operator==(const ShownSheet &) const = default;
};
struct Confirmed
{
    Message message;
    bool operator==(const Confirmed &) const = default;
};
struct Printed
{
    bool operator==(const Printed &) const = default;
};
// The build sheet went to the printer; the view keeps the sheet itself.
struct PrintedBuildSheet
{
    bool operator==(const PrintedBuildSheet &) const = default;
};
struct Closed
{
    bool operator==(const Closed &) const = default;
};
using ViewEvent = std::variant<ShownWireSize, ShownDesign, Message, Focused, AskedSavePath,
                               ShownSheet, Confirmed, Printed, PrintedBuildSheet, Closed>;

// A window without a screen: it shows what the session gives it in plain members, keeps every
// call in order, and answers Save As, the print question and the printer from what the test
// set beforehand. Unset, Save As cancels, the question answers OK and printing succeeds.
class FakeView : public DesignView
{
public:
    void showWireSize(const QString &text, WireUnit unit) override;
    void showDesign(const ShownDesign &design) override;
    void showMessage(const Message &message) override;
    void focusField(InputField field) override;
    std::optional<QString> askSavePath(ModelFormat format) override;
    void showSheet(bool sheet) override;
    bool confirm(const Message &message) override;
    PrintOutcome printSheet() override;
    PrintOutcome printBuildSheet(const BuildSheet &sheet) override;
    void closeWindow() override;

    // Answers, consumed in order.
    QList<std::optional<QString>> savePaths;
    QList<bool> confirmAnswers;
    PrintOutcome printOutcome = PrintOutcome::Printed;

    // What a window would show now.
    QString wireSize = QStringLiteral("#12");
    std::optional<WireUnit> wireUnit;
    std::optional<ShownDesign> design;
    bool sheet = false;
    bool closed = false;
    std::optional<BuildSheet> buildSheet; // the last one printed

    QList<ViewEvent> events;
    // The messages alone, in order, questions included.
    [[nodiscard]] QList<Message> messages() const;
    void clear() { events.clear(); }
};

// Settings in Qt's test location, never the user's: a session reads its installation there.
struct TestSettings
{
    TestSettings();
};

// A session on a fake view in a pinned locale, loaded as the window loads at start-up, with
// the start-up's events cleared.
struct FakeWindow : private TestSettings
{
    explicit FakeWindow(const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates));

    // Types the frequency and the wire size and picks the wire unit, as the user would,
    // without running anything.
    FakeWindow &enter(const QString &freq, const QString &wire, WireUnit unit);

    FakeView view;
    Session session;
};

} // namespace moxon::test
