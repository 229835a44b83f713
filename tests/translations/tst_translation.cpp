#include "testsuite.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>

// The English translation against the sources: lupdate, run on the sources now, finds no text
// that translations/moxon_en.ts lacks or leaves unfinished, the file keeps no text the sources
// no longer have, every translation keeps its source's placeholders and mnemonic, and the
// translation the build embeds is the file as it stands.

namespace moxon::test {

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment; // the disambiguation, if any
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete"; empty when finished
};

QString key(const Message &message)
{
    return message.context + u'\x1f' + message.source + u'\x1f' + message.comment;
}

QList<Message> readTs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(path));
    }
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == u"message") {
                messages.append(message);
            }
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            message = {context, {}, {}, {}, {}};
        } else if (xml.name() == u"source") {
            message.source = xml.readElementText();
        } else if (xml.name() == u"comment") {
            message.comment = xml.readElementText();
        } else if (xml.name() == u"translation") {
            message.type = xml.attributes().value(QStringLiteral("type")).toString();
            message.translation = xml.readElementText();
        }
    }
    if (xml.hasError()) {
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    }
    return messages;
}

// The sources' texts as lupdate finds them now, with the options of the update target.
QList<Message> scanSources(const QString &folder)
{
    const QString scanned = folder + QStringLiteral("/scan.ts");
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(MOXON_SOURCE_DIR));
    QStringList arguments{QStringLiteral("-locations"),       QStringLiteral("none"),
                          QStringLiteral("-source-language"), QStringLiteral("zh_CN"),
                          QStringLiteral("-target-language"), QStringLiteral("en")};
    arguments += QString::fromUtf8(MOXON_TRANSLATED_SOURCES).split(u',');
    arguments << QStringLiteral("-ts") << scanned;
    lupdate.start(QStringLiteral(MOXON_LUPDATE), arguments);
    if (!lupdate.waitForFinished(120'000) || lupdate.exitStatus() != QProcess::NormalExit ||
        lupdate.exitCode() != 0) {
        qFatal("lupdate failed: %s", lupdate.readAllStandardError().constData());
    }
    return readTs(scanned);
}

QList<Message> committed()
{
    return readTs(QStringLiteral(MOXON_TRANSLATIONS));
}

// "%1", "%2", ... in order of their numbers, each once.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text)) {
        found.append(match.captured(0));
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

// How many mnemonics a caption marks: "&" before a character, "&&" being a plain ampersand.
int mnemonics(const QString &text)
{
    return int(text.count(u'&') - 2 * text.count(QStringLiteral("&&")));
}

void addRows(const QList<Message> &messages)
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("comment");
    for (const Message &message : messages) {
        QTest::addRow("%s: %s", qPrintable(message.context), qPrintable(message.source))
            << message.context << message.source << message.comment;
    }
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_scanned = scanSources(m_folder.path());
        for (const Message &message : committed()) {
            m_committed.insert(key(message), message);
        }
        // Not an empty scan that would pass everything below.
        QVERIFY2(m_scanned.size() > 50, qPrintable(QString::number(m_scanned.size())));
    }

    // Every text of the sources has a finished English translation.
    void everyTextIsTranslated_data() { addRows(m_scanned); }
    void everyTextIsTranslated()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, comment);
        const auto found = m_committed.constFind(key({context, source, comment, {}, {}}));
        QVERIFY2(found != m_committed.constEnd(),
                 "not in translations/moxon_en.ts: build the target moxon_update_translations "
                 "and translate it");
        QVERIFY2(found->type.isEmpty(), qPrintable(QStringLiteral("marked %1").arg(found->type)));
        QVERIFY(!found->translation.trimmed().isEmpty());
    }

    // The file keeps nothing the sources no longer say, and nothing unfinished.
    void noStaleText_data() { addRows(committed()); }
    void noStaleText()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, comment);
        const bool inSources =
            std::any_of(m_scanned.cbegin(), m_scanned.cend(), [&](const Message &message) {
                return key(message) == key({context, source, comment, {}, {}});
            });
        QVERIFY2(inSources, "no source has this text any more");
    }

    // "%1" and its kind are filled in by the code, and the mnemonic is a key the user presses:
    // a translation that drops or adds one shows a wrong text or loses the key.
    void translationKeepsPlaceholdersAndMnemonic_data() { addRows(committed()); }
    void translationKeepsPlaceholdersAndMnemonic()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, comment);
        const QString translation =
            m_committed.value(key({context, source, comment, {}, {}})).translation;
        QCOMPARE(placeholders(translation), placeholders(source));
        QCOMPARE(mnemonics(translation), mnemonics(source));
    }

    // The program's embedded translation is the file as it stands.
    void embeddedTranslationIsCurrent()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/i18n/moxon_en.qm")));
        QCOMPARE(translator.language(), QStringLiteral("en"));
        for (const Message &message : std::as_const(m_committed)) {
            const QByteArray context = message.context.toUtf8();
            const QByteArray source = message.source.toUtf8();
            const QByteArray comment = message.comment.toUtf8();
            QCOMPARE(translator.translate(context.constData(), source.constData(),
                                          comment.isEmpty() ? nullptr : comment.constData()),
                     message.translation);
        }
    }

private:
    QTemporaryDir m_folder;
    QList<Message> m_scanned;
    QHash<QString, Message> m_committed;
};

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::TestTranslation)

#include "tst_translation.moc"
