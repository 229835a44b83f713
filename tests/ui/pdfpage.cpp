#include "pdfpage.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace moxon::test {

namespace {

std::optional<QByteArray> runTool(const QString &tool, const QStringList &arguments, QString &error)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        error = tool +
                QStringLiteral(" is not installed (poppler-utils; scripts/install-deps.sh test)");
        return std::nullopt;
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = QStringLiteral("%1 %2 failed: %3")
                    .arg(tool, arguments.join(QLatin1Char(' ')),
                         QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

bool isInk(QRgb pixel, int level)
{
    return qRed(pixel) < level || qGreen(pixel) < level || qBlue(pixel) < level;
}

} // namespace

std::optional<int> pdfPageCount(const QString &pdf, QString &error)
{
    const std::optional<QByteArray> info = runTool(QStringLiteral("pdfinfo"), {pdf}, error);
    if (!info) {
        return std::nullopt;
    }
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(QString::fromUtf8(*info));
    if (!match.hasMatch()) {
        error = QStringLiteral("pdfinfo names no page count for ") + pdf;
        return std::nullopt;
    }
    return match.captured(1).toInt();
}

std::optional<QStringList> pdfFontNames(const QString &pdf, QString &error)
{
    const std::optional<QByteArray> listing = runTool(QStringLiteral("pdffonts"), {pdf}, error);
    if (!listing) {
        return std::nullopt;
    }
    // Two heading lines, then one font a line with its name first.
    QStringList names;
    const QStringList lines =
        QString::fromUtf8(*listing).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        names.append(lines.at(i).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty));
    }
    return names;
}

std::optional<QString> pdfText(const QString &pdf, QString &error, PdfTextOrder order)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                          QStringLiteral("-")};
    if (order == PdfTextOrder::Layout) {
        arguments.prepend(QStringLiteral("-layout"));
    }
    const std::optional<QByteArray> text = runTool(QStringLiteral("pdftotext"), arguments, error);
    if (!text) {
        return std::nullopt;
    }
    // A font may map a glyph shared by an ideograph and a radical to the radical's code
    // point; compatibility normalisation gives the ideograph back.
    return QString::fromUtf8(*text).normalized(QString::NormalizationForm_KC);
}

std::optional<QImage> pdfPageImage(const QString &pdf, int dpi, QString &error)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        error = QStringLiteral("no temporary folder for the page image");
        return std::nullopt;
    }
    const QString base = dir.filePath(QStringLiteral("page"));
    if (!runTool(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                  QStringLiteral("1"), QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                  base},
                 error)) {
        return std::nullopt;
    }
    QImage image(base + QStringLiteral(".png"));
    if (image.isNull()) {
        error = QStringLiteral("pdftoppm wrote no readable PNG for ") + pdf;
        return std::nullopt;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QRect inkBounds(const QImage &image, int level)
{
    int left = image.width();
    int top = image.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(row[x], level)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

double inkShare(const QImage &image, const QRect &area, int level)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty()) {
        return 0;
    }
    qint64 ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ink += isInk(row[x], level) ? 1 : 0;
        }
    }
    return static_cast<double>(ink) / (static_cast<qint64>(inside.width()) * inside.height());
}

} // namespace moxon::test
