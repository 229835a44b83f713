#include "cable.h"
#include "installation.h"
#include "testsuite.h"
#include "tunegoal.h"

#include <QRegularExpression>
#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

// The names of grounds, metals, cables and tuning goals, from the core's tables: every name the
// command line is offered reads back as what it names, whatever its letter case.
class TestNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesReadBack_data();
    void namesReadBack();
    void metalsInTheOrderOfTheirKinds();
    void goalSentencesCarryTheirLimit_data();
    void goalSentencesCarryTheirLimit();
};

void TestNames::namesReadBack_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");

    for (const QString &name : groundNames()) {
        QTest::addRow("--ground %s", qPrintable(name)) << u"--ground"_s << name;
    }
    for (const QString &name : conductorNames()) {
        QTest::addRow("--conductor %s", qPrintable(name)) << u"--conductor"_s << name;
    }
    for (const QString &name : tuneGoalNames()) {
        QTest::addRow("--goal %s", qPrintable(name)) << u"--goal"_s << name;
    }
    for (const QString &name : cableNames()) {
        QTest::addRow("--feedline %s", qPrintable(name)) << u"--feedline"_s << name;
    }
}

void TestNames::namesReadBack()
{
    QFETCH(QString, option);
    QFETCH(QString, name);

    for (const QString &typed : {name, name.toUpper()}) {
        if (option == u"--ground") {
            const std::optional<Ground> ground = groundFromText(typed);
            QVERIFY(ground);
            // Free space and perfect ground by their kind's name, real ground by its preset's.
            const GroundPreset *preset = groundPreset(*ground);
            QCOMPARE(preset ? preset->name.toString() : groundKindName(ground->kind), name);
        } else if (option == u"--conductor") {
            const std::optional<Conductor> metal = conductorFromText(typed);
            QVERIFY(metal);
            QCOMPARE(conductorKindName(metal->kind), name);
            QCOMPARE(metal->conductivity, conductorPreset(metal->kind)->conductivity);
        } else if (option == u"--feedline") {
            const std::optional<Cable> cable = cableFromText(typed);
            QVERIFY(cable);
            QCOMPARE(cable->name, name);
            QVERIFY(cable->loss.dbPer100m(14) > 0);
        } else {
            const std::optional<TuneGoal> goal = tuneGoalFromText(typed);
            QVERIFY(goal);
            QCOMPARE(tuneGoalInfo(*goal).name.toString(), name);
        }
    }
}

void TestNames::metalsInTheOrderOfTheirKinds()
{
    // The window's list of metals is the table followed by the user's own conductivity, and
    // picks its entry by the kind's number.
    const std::span<const ConductorPreset> metals = conductorPresets();
    for (std::size_t i = 0; i < metals.size(); ++i) {
        QCOMPARE(int(metals[i].kind), int(i));
    }
    QCOMPARE(int(metals.size()), int(ConductorKind::Other));
    QCOMPARE(conductorFromText(u"aluminum"), std::optional<Conductor>(aluminium()));
    QCOMPARE(copper().conductivity, kCopperConductivity);
}

void TestNames::goalSentencesCarryTheirLimit_data()
{
    QTest::addColumn<TuneGoal>("goal");
    for (const TuneGoalInfo &goal : tuneGoals()) {
        QTest::addRow("%s", qPrintable(goal.name.toString())) << goal.goal;
    }
}

void TestNames::goalSentencesCarryTheirLimit()
{
    // "at most <limit>" in the report's goal line, the limit the tuner holds the goal to.
    QFETCH(TuneGoal, goal);
    const QString summary = tuneGoalSummary(goal);
    const QRegularExpressionMatch limit = QRegularExpression(u"at most ([0-9.]+)"_s).match(summary);
    QVERIFY2(limit.hasMatch(), qPrintable(summary));
    QCOMPARE(limit.captured(1).toDouble(), tuneGoalInfo(goal).swrLimit);
    QVERIFY(!summary.contains(u'%') && !tuneGoalAim(goal).contains(u'%'));
}

MOXON_TEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
