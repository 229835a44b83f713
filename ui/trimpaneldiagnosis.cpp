// The diagnosis's result in the trim's page: each cut's error in the builder's words with its
// 1-σ, the fit against the noise, and the trim of the antenna as diagnosed.

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "trimpanel.h"
#include "windowtexts.h"

#include <cmath>
#include <tuple>

namespace moxon {

namespace {

// "± 0.2 cm", or that the file cannot tell it from the other errors.
QString sigmaText(const Estimate &estimate, const TuneSetup &setup, const QLocale &locale)
{
    if (!std::isfinite(estimate.sigma)) {
        return TrimPanel::tr("（实测无法把它与其余偏差区分）");
    }
    return QStringLiteral(" ± ") + dimensionChange(estimate.sigma, setup, locale, false).mid(1);
}

// One error as the builder reads it: `longer` when positive, `shorter` when negative, each
// taking the amount and its uncertainty.
QString errorLine(const Estimate &estimate, const TuneSetup &setup, const QLocale &locale,
                  const QString &longer, const QString &shorter)
{
    const QString amount = dimensionChange(estimate.value, setup, locale, false).mid(1);
    return (estimate.value < 0 ? shorter : longer).arg(amount, sigmaText(estimate, setup, locale));
}

} // namespace

void TrimPanel::showDiagnosis(const DiagnosisResult &result, const TuneSetup &setup)
{
    showFinished([](const QString &runs) { return tr("诊断已算完%1。").arg(runs); },
                 result.engineRuns, result.seconds,
                 [this, result, setup] { return diagnosisLines(result, setup); });
}

QString TrimPanel::diagnosisLines(const DiagnosisResult &r, const TuneSetup &setup) const
{
    if (r.dipAlone) {
        return dipAloneDiagnosis(r, setup);
    }
    const LocaleNumbers numbers(locale());
    // What the builder acts on comes first, where the page shows it without scrolling: the
    // verdict or each cut's error; then how well the fit went, then the trim.
    const QString fit = tr("拟合 %1 个频点（%2 – %3 MHz），%4 步")
                            .arg(r.points)
                            .arg(numbers.toMask(r.lowerMhz, 4), numbers.toMask(r.upperMhz, 4))
                            .arg(r.iterations);
    const QString residual =
        tr("残差 %1 Ω（均方根），单次读数噪声 %2 Ω")
            .arg(numbers.toMask(r.residualOhm, 2), numbers.toMask(r.noiseOhm, 2));
    QStringList lines;
    if (!r.explained) {
        lines.append(tr("实测结果不只是这副天线：请查找附近的导体、馈线上的共模电流，或馈线是否"
                        "有误。"));
        lines.append(QString());
        lines.append(fit);
        lines.append(residual);
        return lines.join(u'\n');
    }
    lines.append(tr("模型按实际尺寸解释了实测，偏差如下："));
    const QLocale here = locale();
    const QString scaleSigma = std::isfinite(r.scale.sigma)
                                   ? QStringLiteral(" ± ") + numbers.toMask(r.scale.sigma, 4)
                                   : sigmaText(r.scale, setup, here);
    lines.append(tr("电尺度 %1%2").arg(numbers.toMask(r.scale.value, 4), scaleSigma));
    lines.append(errorLine(r.driverTailError, setup, here, tr("驱动单元两端各长 %1%2"),
                           tr("驱动单元两端各短 %1%2")));
    lines.append(errorLine(r.reflectorTailError, setup, here, tr("反射单元两端各长 %1%2"),
                           tr("反射单元两端各短 %1%2")));
    if (r.gapError) {
        lines.append(
            errorLine(*r.gapError, setup, here, tr("间隙 C 宽 %1%2"), tr("间隙 C 窄 %1%2")));
    }
    if (r.lineLengthError) {
        lines.append(errorLine(*r.lineLengthError, setup, here, tr("馈线电长度比给定长 %1%2"),
                               tr("馈线电长度比给定短 %1%2")));
    }
    lines.append(QString());
    lines.append(fit);
    lines.append(residual);
    lines.append(QString());
    lines.append(tr("按诊断出的天线修剪（各剪加量相对于它现在的样子）"));
    if (r.trim && r.trim->ok()) {
        lines.append(resultLines(*r.trim, setup));
    } else {
        lines.append(tr("无法给出修剪。"));
        if (!r.trimRefusal.isEmpty()) {
            lines.append(r.trimRefusal);
        }
    }
    if (r.gapTrim && r.gapTrim->ok() && r.gapTrim->fieldTrim) {
        lines.append(QString());
        lines.append(tr("若单元角点可沿撑杆移动，连同 E 一起修剪（A 不变）"));
        lines.append(fieldTrimLines(*r.gapTrim, setup));
    }
    if (r.newFrame) {
        lines.append(QString());
        lines.append(newFrameLines(r, setup));
    }
    return lines.join(u'\n');
}

// The new frame of `r`, which has one: why the trims fall short, and every dimension as built
// and anew, with what it predicts.
QString TrimPanel::newFrameLines(const DiagnosisResult &r, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    const CheckFigureFormat format(locale());
    const TrimResult &frame = *r.newFrame;
    const double held =
        heldFrontToBack(r.trim->rebuild.figures.frontToBack, r.trim->designFrontToBack);
    const QString percent = numbers.toMask(std::fabs(frame.scale - 1) * 100, 2);
    QStringList lines{
        (frame.scale >= 1 ? tr("天线的电尺寸比模型长 %1 %，两端和 E 都补不回来：")
                          : tr("天线的电尺寸比模型短 %1 %，两端和 E 都补不回来："))
            .arg(percent),
        tr("修剪后前后比仅 %1，应有 %2。")
            .arg(format.frontToBack(ledFrontToBack(r).value_or(0)), format.frontToBack(held)),
        tr("换新框架（各尺寸除以电尺度，再把两端修到目标）")};
    const TuneDimensions &after = frame.fieldTrim->antenna.dimensions;
    const TuneDimensions &before = r.diagnosed; // as the trims' cuts are, against it as it is
    const QList<std::tuple<char16_t, double, double>> rows{{u'A', before.a, after.a},
                                                           {u'B', before.b, after.b},
                                                           {u'C', before.c(), after.c()},
                                                           {u'D', before.d, after.d},
                                                           {u'E', before.e, after.e}};
    for (const auto &[letter, was, now] : rows) {
        lines.append(tr("%1 %2 → %3 %4")
                         .arg(QChar(letter))
                         .arg(numbers.toMask(was, setup.decimals),
                              numbers.toMask(now, setup.decimals), setup.unit));
    }
    lines.append(predictedText(frame.fieldTrim->antenna, r.targetMhz));
    return lines.join(u'\n');
}

// Too few readings in range to fit: the trim from the file's dip alone, which says itself why
// it holds for either antenna.
QString TrimPanel::dipAloneDiagnosis(const DiagnosisResult &r, const TuneSetup &setup) const
{
    const LocaleNumbers numbers(locale());
    QStringList lines;
    lines.append(tr("设计频率 ±%1 % 内只有 %2 个频点，至少需要 %3 个才能诊断；\n"
                    "下面按文件的谐振点修剪。")
                     .arg(numbers.toShort(kDiagnosisRangeShare * 100, 3))
                     .arg(r.points)
                     .arg(kLeastDiagnosisPoints));
    lines.append(QString());
    if (r.trim && r.trim->ok()) {
        lines.append(resultLines(*r.trim, setup));
    } else {
        lines.append(tr("无法给出修剪。"));
        lines.append(r.trimRefusal);
    }
    return lines.join(u'\n');
}

} // namespace moxon
