#include "captionface.h"
#include "frmmoxon.h"
#include "testsuite.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(moxon::UiLanguage)

// The window's captions in its own shipped face: every character of every caption, Chinese
// and English, is in the face the control draws with, and the window draws the same pixels on
// a machine whose fontconfig knows no CJK font at all.

namespace moxon::test {

namespace {

// Set in the environment of the copy of this program that grabs the window into a file.
constexpr char kGrabVariable[] = "MOXON_GRAB_WINDOW_TO";

// Every text a control shows: its caption, title, text or all its entries.
QString shownTexts(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        return label->text();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        return button->text();
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        return frame->title();
    }
    if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
        return box->text();
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        QString entries;
        for (int i = 0; i < list->count(); ++i) {
            entries += list->itemText(i);
        }
        return entries;
    }
    return {};
}

QImage grabWindow()
{
    frmMoxon window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return {};
    }
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The copy of this program that runs with another font configuration.
int grabWindowTo(const QString &path)
{
    return grabWindow().save(path) ? 0 : 1;
}

class TestCaptionFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows from the window's own controls, each with the font it draws in.
    void everyCaptionIsInItsFace_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<UiLanguage>("language");
        for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
            const frmMoxon window(language);
            const QByteArray suffix = uiLanguageName(language).toLatin1();
            QTest::addRow("frmMoxon %s", suffix.constData()) << window.objectName() << language;
            for (const QWidget *child : window.findChildren<QWidget *>()) {
                if (!child->objectName().isEmpty() &&
                    window.control(child->objectName()) == child && !shownTexts(child).isEmpty()) {
                    QTest::addRow("%s %s", qPrintable(child->objectName()), suffix.constData())
                        << child->objectName() << language;
                }
            }
        }
    }
    void everyCaptionIsInItsFace()
    {
        QFETCH(QString, control);
        QFETCH(UiLanguage, language);
        const frmMoxon window(language);
        const QWidget *shown = window.control(control);
        QVERIFY(shown);
        const QString text = shown == &window ? window.windowTitle() : shownTexts(shown);

        // The engine the font resolves to first, before any fallback: it must be the shipped
        // face, in the weight asked for, and hold every character itself.
        const QRawFont face = QRawFont::fromFont(shown->font());
        QVERIFY(face.isValid());
        QCOMPARE(face.familyName(), QString::fromUtf16(kCaptionFamily));
        QCOMPARE(face.styleName(),
                 shown->font().bold() ? QStringLiteral("Bold") : QStringLiteral("Regular"));
        for (const char32_t character : text.toUcs4()) {
            QVERIFY2(face.supportsCharacter(character),
                     qPrintable(QStringLiteral("U+%1 of \"%2\" is not in the face")
                                    .arg(uint(character), 4, 16, QLatin1Char('0'))
                                    .arg(text)));
        }
    }

    // The same window, pixel for pixel, when fontconfig sees only DejaVu.
    void sameWindowWithoutSystemCjkFonts()
    {
        const QString dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu");
        if (!QFileInfo(dejavu).isDir()) {
            QSKIP("no DejaVu fonts to stand for a machine without CJK fonts");
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(QStringLiteral("fonts.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>%1</dir>\n"
                                    "<cachedir>%2</cachedir>\n</fontconfig>\n")
                         .arg(dejavu, dir.filePath(QStringLiteral("cache")))
                         .toUtf8());
        config.close();

        const QString grabbed = dir.filePath(QStringLiteral("window.png"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
        environment.insert(QString::fromLatin1(kGrabVariable), grabbed);
        QProcess child;
        child.setProcessEnvironment(environment);
        // The folder's test program runs this case again, by its name.
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("tst_captionface")});
        QVERIFY2(child.waitForFinished(60000), "the copy with DejaVu only did not finish");
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));

        const QImage withDejaVuOnly(grabbed);
        const QImage here = grabWindow();
        QVERIFY(!here.isNull());
        QCOMPARE(withDejaVuOnly.convertToFormat(QImage::Format_RGB32), here);
    }
};

} // namespace moxon::test

int MOXON_TEST_ENTRY(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Result boxes show numbers in the locale's format, in both copies alike.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (const QString path = qEnvironmentVariable(moxon::test::kGrabVariable); !path.isEmpty()) {
        return moxon::test::grabWindowTo(path);
    }
    moxon::test::TestCaptionFace test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_captionface.moc"
