#pragma once

#include "pdfpage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTest>

#include <optional>

namespace moxon::test {

// The test queue as lpstat and the output folder see it.
class PrintQueue
{
public:
    PrintQueue()
        : m_name(qEnvironmentVariable("MOXON_TEST_PRINTER"))
        , m_folder(qEnvironmentVariable("MOXON_TEST_PDF_DIR"))
    {
    }

    [[nodiscard]] const QString &name() const { return m_name; }
    [[nodiscard]] const QString &folder() const { return m_folder; }

    // Job ids of the queue: `which` is "all" or "not-completed".
    [[nodiscard]] QSet<QString> jobs(const QString &which) const
    {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"),
                     {QStringLiteral("-W"), which, QStringLiteral("-o"), m_name});
        lpstat.waitForFinished(10000);
        QSet<QString> ids;
        const QStringList lines =
            QString::fromLocal8Bit(lpstat.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const QString id = line.section(QLatin1Char(' '), 0, 0);
            if (id.startsWith(m_name + QLatin1Char('-'))) {
                ids.insert(id);
            }
        }
        return ids;
    }

    [[nodiscard]] QSet<QString> pdfs() const
    {
        const QStringList names = QDir(m_folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        return {names.cbegin(), names.cend()};
    }

    // Waits, at most `timeoutMs`, until no job of the queue is pending any more.
    [[nodiscard]] bool waitUntilIdle(int timeoutMs) const
    {
        QElapsedTimer clock;
        clock.start();
        while (!jobs(QStringLiteral("not-completed")).isEmpty()) {
            if (clock.elapsed() > timeoutMs) {
                return false;
            }
            QTest::qWait(200);
        }
        return true;
    }

    // Once the queue is idle, the one PDF file it wrote since `pdfsBefore`, a single page; none,
    // with why in `error`, otherwise.
    [[nodiscard]] std::optional<QString> printedPage(const QSet<QString> &pdfsBefore,
                                                     QString &error) const
    {
        if (!waitUntilIdle(60000)) {
            error = QStringLiteral("the print job did not finish within 60 s");
            return std::nullopt;
        }
        const QSet<QString> newPdfs = pdfs() - pdfsBefore;
        if (newPdfs.size() != 1) {
            error = QStringLiteral("%1 new PDF files, not one").arg(newPdfs.size());
            return std::nullopt;
        }
        const QString pdf = QDir(m_folder).filePath(*newPdfs.cbegin());
        const std::optional<int> pages = pdfPageCount(pdf, error);
        if (pages && *pages != 1) {
            error = QStringLiteral("%1 pages, not one").arg(*pages);
        }
        return pages == 1 ? std::optional<QString>(pdf) : std::nullopt;
    }

private:
    QString m_name;
    QString m_folder;
};

} // namespace moxon::test
