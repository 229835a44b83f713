#include "installationsettings.h"
#include "testsuite.h"

#include <QSettings>
#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

// The check's installation kept across runs: the insulation with it, and what a damaged or an
// older store holds read as bare wire rather than as a broken installation. Run through ctest,
// in a home of its own: it clears the settings.
class TestInstallationSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void insulationComesBack_data();
    void insulationComesBack();
    void unreadableInsulationIsBareWire_data();
    void unreadableInsulationIsBareWire();
};

void TestInstallationSettings::init()
{
    QSettings(u"moxon"_s, u"moxon"_s).clear();
}

void TestInstallationSettings::insulationComesBack_data()
{
    QTest::addColumn<Installation>("installation");

    Installation pvc{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    pvc.insulation = Insulation{InsulationKind::Pvc, 3.5, 0.0008};
    Installation own;
    own.insulation = Insulation{InsulationKind::Other, 2.75, 0.000254};
    QTest::newRow("PVC over average ground") << pvc;
    QTest::newRow("a permittivity of one's own in free space") << own;
    // The ground's constants as a fresh session has them, which real ground would refuse.
    QTest::newRow("copper wire in free space") << Installation{0, {}, copper(), {}};
    QTest::newRow("bare again") << Installation{10, {GroundKind::Perfect, 13, 0.005}, copper(), {}};
}

void TestInstallationSettings::insulationComesBack()
{
    QFETCH(Installation, installation);

    // Over an insulated installation stored before, so that going bare is stored too.
    Installation before;
    before.insulation = Insulation{InsulationKind::Ptfe, 2.1, 0.001};
    storeInstallation(before);
    storeInstallation(installation);
    QVERIFY(storedInstallation() == installation);
}

void TestInstallationSettings::unreadableInsulationIsBareWire_data()
{
    QTest::addColumn<QVariant>("kind");
    QTest::addColumn<QVariant>("permittivity");
    QTest::addColumn<QVariant>("thickness");

    QTest::newRow("a store from before the insulation") << QVariant() << QVariant() << QVariant();
    QTest::newRow("an unknown kind") << QVariant(7) << QVariant(3.5) << QVariant(0.0008);
    QTest::newRow("a kind that is no number")
        << QVariant(u"pvc"_s) << QVariant(3.5) << QVariant(0.0008);
    QTest::newRow("permittivity below 1") << QVariant(3) << QVariant(0.5) << QVariant(0.0008);
    QTest::newRow("permittivity past any material")
        << QVariant(3) << QVariant(1e9) << QVariant(0.0008);
    QTest::newRow("permittivity missing") << QVariant(0) << QVariant() << QVariant(0.0008);
    QTest::newRow("negative thickness") << QVariant(0) << QVariant(3.5) << QVariant(-0.001);
    QTest::newRow("thickness not a number") << QVariant(0) << QVariant(3.5) << QVariant(u"nan"_s);
}

void TestInstallationSettings::unreadableInsulationIsBareWire()
{
    QFETCH(QVariant, kind);
    QFETCH(QVariant, permittivity);
    QFETCH(QVariant, thickness);

    const Installation overGround{10, {GroundKind::Real, 13, 0.005}, copper(), {}};
    storeInstallation(overGround);
    QSettings settings(u"moxon"_s, u"moxon"_s);
    settings.beginGroup(u"designCheck"_s);
    const auto put = [&settings](const QString &key, const QVariant &value) {
        if (value.isValid()) {
            settings.setValue(key, value);
        } else {
            settings.remove(key);
        }
    };
    put(u"insulation"_s, kind);
    put(u"insulationPermittivity"_s, permittivity);
    put(u"insulationThicknessMetres"_s, thickness);
    settings.sync();

    // The rest of the installation stays as stored.
    QVERIFY(storedInstallation() == overGround);
}

MOXON_TEST_GUILESS_MAIN(TestInstallationSettings)
#include "tst_installationsettings.moc"
