#include "buildsheetpage.h"

#include "checkfigureformat.h"
#include "localenumbers.h"
#include "sheetcanvas.h"
#include "sheetdiagram.h"
#include "windowtexts.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace moxon {

namespace {

constexpr double kDiagramHeight = 2050; // tenths of a point

// The sheet's texts and their order on the page, in the language in force.
class SheetWriter
{
    Q_DECLARE_TR_FUNCTIONS(BuildSheet)

public:
    SheetWriter(QPainter &painter, const BuildSheet &sheet, const QLocale &locale)
        : m_canvas(painter, kSheetWidth)
        , m_painter(painter)
        , m_sheet(sheet)
        , m_locale(locale)
        , m_format(locale)
    {
        const DisplayUnitInfo &unit = unitInfo(sheet.model.units);
        m_step.unit = unitText(sheet.model.units);
        m_step.decimals = unit.decimals;
        m_step.metresPerUnit = unit.metresPerUnit;
    }

    void write()
    {
        header();
        diagram();
        dimensions();
        cuts();
        spreaders();
        predictions();
        m_canvas.skip(SheetCanvas::kSmallSize);
        m_canvas.paragraph(tr("由 Moxon 矩形天线计算器生成。长度单位为 %1；谐振点、驻波比、前后比"
                              "与公差是 nec2c 对上述导线与架设的计算值。")
                               .arg(m_step.unit),
                           SheetCanvas::kSmallSize);
    }

private:
    // A length in the display unit with the result boxes' decimals: "3.8812 m".
    [[nodiscard]] QString length(double metres) const
    {
        return LocaleNumbers(m_locale).toMask(metres / m_step.metresPerUnit, m_step.decimals) +
               u' ' + m_step.unit;
    }
    // A short length in the builder's step: "5.0 cm", "2.00 in".
    [[nodiscard]] QString step(double metres) const
    {
        return dimensionChange(metres / m_step.metresPerUnit, m_step, m_locale, false).mid(1);
    }

    void header()
    {
        m_canvas.title(buildSheetTitle(), m_format.frequency(m_sheet.model.frequencyMHz));
        const ModelInput &model = m_sheet.model;
        m_canvas.paragraph(
            tr("尺寸：%1，%2极化。导线：%3。")
                .arg(origin(), model.vertical ? tr("垂直") : tr("水平"),
                     wireDescription(m_sheet.wireText, model.wire.unit, m_sheet.installation)));
        m_canvas.paragraph(tr("架设：%1。").arg(where()));
    }

    [[nodiscard]] QString origin() const
    {
        switch (m_sheet.origin) {
        case SheetDimensions::Formula:
            break;
        case SheetDimensions::Tuned:
            return tr("按架设调谐后的尺寸");
        case SheetDimensions::Given:
            return tr("给定的尺寸");
        }
        return tr("公式计算的尺寸");
    }

    [[nodiscard]] QString where() const
    {
        const Installation &installation = m_sheet.installation;
        const Ground &ground = installation.ground;
        if (ground.kind == GroundKind::FreeSpace) {
            return tr("自由空间");
        }
        const QString height =
            tr("中心离地 %1（%2 λ）")
                .arg(length(installation.heightMetres),
                     m_locale.toString(installation.heightMetres /
                                           freeSpaceWavelength(m_sheet.model.frequencyMHz),
                                       'f', 2));
        if (ground.kind == GroundKind::Perfect) {
            return tr("%1，理想地面").arg(height);
        }
        const GroundPreset *preset = groundPreset(ground);
        return tr("%1，%2 εr %3 σ %4 S/m")
            .arg(height, preset ? groundCaption(*preset) : tr("实际地面"),
                 m_locale.toString(ground.permittivity, 'g', 6),
                 m_locale.toString(ground.conductivity, 'g', 6));
    }

    void diagram()
    {
        const CutList &cuts = m_sheet.cuts;
        const DiagramLabels labels{
            tr("驱动单元：两个半边"),
            tr("反射单元：一根"),
            tr("馈电点（间隙 %1）").arg(step(cuts.feedGap)),
            tr("尾端绝缘子"),
            tr("中心座"),
            tr("波束方向"),
            m_format.angle(cuts.spreaders.angleAcrossE),
            m_format.angle(cuts.spreaders.angleAcrossA),
        };
        m_canvas.skip(SheetCanvas::kBodySize);
        drawSheetDiagram(m_painter, QRectF(0, m_canvas.y(), kSheetWidth, kDiagramHeight),
                         builtMetres(m_sheet.dimensions, m_sheet.model.units), labels);
        m_canvas.skip(kDiagramHeight);
    }

    void dimensions();
    void cuts();
    void spreaders();
    void predictions();

    SheetCanvas m_canvas;
    QPainter &m_painter;
    const BuildSheet &m_sheet;
    QLocale m_locale;
    CheckFigureFormat m_format;
    TuneSetup m_step; // the display unit and its decimals, as the tolerances name their steps
};

void SheetWriter::dimensions()
{
    m_canvas.heading(tr("尺寸"));
    const BuildDimensions metres = builtMetres(m_sheet.dimensions, m_sheet.model.units);
    const std::array values = {metres.a, metres.b, metres.c, metres.d, metres.e};
    const std::array meanings = {tr("单元长边"), tr("驱动单元尾长"), tr("尾端间隙"),
                                 tr("反射单元尾长"), tr("纵深 = B + C + D")};
    const std::optional<ToleranceResult> &tolerances = m_sheet.tolerances;
    QList<QStringList> rows;
    for (std::size_t i = 0; i < values.size(); ++i) {
        QString shorter = QStringLiteral("—");
        QString longer = shorter;
        if (tolerances && i < tolerances->cuts.size()) {
            const DimensionTolerance &cut = tolerances->cuts.at(i);
            shorter = toleranceText(cut.minus, cut.minusLimit, m_step, m_locale);
            longer = toleranceText(cut.plus, cut.plusLimit, m_step, m_locale);
        }
        rows.append(
            {QString(QChar(u'A' + int(i))), meanings.at(i), length(values.at(i)), shorter, longer});
    }
    m_canvas.table(
        {{400}, {1900}, {1100, Qt::AlignRight}, {900, Qt::AlignRight}, {900, Qt::AlignRight}},
        {tr("代号"), tr("含义"), tr("长度"), tr("可短"), tr("可长")}, rows);
    if (tolerances) {
        m_canvas.paragraph(tr("可短、可长：该尺寸单独改变时，设计频率上驻波比仍 ≤ %1、前后比下降"
                              "不超过 %2 dB 的范围（≥：搜索范围内都在限度内）。")
                               .arg(LocaleNumbers(m_locale).toShort(kToleranceSwr, 1),
                                    LocaleNumbers(m_locale).toShort(kToleranceFrontToBackDrop, 1)),
                           SheetCanvas::kSmallSize);
    } else {
        m_canvas.paragraph(tr("公差未计算：在检查窗口的“公差”页计算后再打印，或用 moxon-cli sheet "
                              "--tolerances。"),
                           SheetCanvas::kSmallSize);
    }
}

void SheetWriter::cuts()
{
    const CutList &cuts = m_sheet.cuts;
    m_canvas.heading(tr("下料单"));
    const auto piece = [&](const QString &name, const WirePiece &wire) {
        return QStringList{
            name, QString::number(wire.count), length(wire.span),
            QStringLiteral("%1 × %2").arg(wire.wrappedEnds).arg(step(wire.allowance)),
            length(wire.cut())};
    };
    m_canvas.table({{2000},
                    {500, Qt::AlignRight},
                    {1000, Qt::AlignRight},
                    {800, Qt::AlignRight},
                    {900, Qt::AlignRight}},
                   {tr("线段"), tr("数量"), tr("挂线长度"), tr("绕线余量"), tr("下料长度")},
                   {piece(tr("驱动单元半边：馈电点至尾端"), cuts.driverHalf),
                    piece(tr("反射单元：尾端至尾端"), cuts.reflector),
                    {tr("导线合计"), QString(), QString(), QString(), length(cuts.totalWire())}});
    m_canvas.paragraph(tr("挂线长度从绝缘子孔量到绝缘子孔，下料长度另加两端绕在绝缘子上的余量。"
                          "馈电间隙 %1：驱动单元两个半边在中心绝缘子上相隔的距离，由馈线引线跨接，"
                          "每个半边已扣除一半。")
                           .arg(step(cuts.feedGap)),
                       SheetCanvas::kSmallSize);
    m_canvas.paragraph(tr("尾端绝缘子两个：每侧驱动单元尾端与反射单元尾端相距 C = %1（孔到孔）。")
                           .arg(length(cuts.tailSpacing)));
}

void SheetWriter::spreaders()
{
    const Spreaders &frame = m_sheet.cuts.spreaders;
    m_canvas.heading(tr("X 形撑杆"));
    m_canvas.table(
        {{3000}, {500, Qt::AlignRight}, {1700, Qt::AlignRight}},
        {tr("部件"), tr("数量"), tr("长度或角度")},
        {{tr("支臂：中心座中心至一角"), QString::number(frame.arms), length(frame.arm)},
         {tr("同一端两支臂的夹角（跨 E）"), QString(), m_format.angle(frame.angleAcrossE)},
         {tr("同一单元两端支臂的夹角（跨 A）"), QString(), m_format.angle(frame.angleAcrossA)}});
}

void SheetWriter::predictions()
{
    const DesignFigures &figures = m_sheet.figures;
    m_canvas.heading(tr("nec2c 预测"));
    // To the kilohertz, as an analyser reads a dip: the curve's vertex has more digits than the
    // model means.
    const QString dip = m_sheet.dipMhz
                            ? LocaleNumbers(m_locale).toMask(*m_sheet.dipMhz, 3) + u" MHz"_s
                            : tr("扫频范围（±5 %）内没有谐振点");
    const QString frontToBack =
        figures.takeoff ? tr("前后比（主瓣仰角 %1）").arg(m_format.angle(*figures.takeoff))
                        : tr("前后比");
    m_canvas.table({{3000}, {2200, Qt::AlignRight}}, {tr("项目"), tr("数值")},
                   {{tr("谐振点（驻波比最低处）"), dip},
                    {tr("设计频率上的驻波比（50 Ω）"), m_format.swr(figures.swr)},
                    {frontToBack, m_format.frontToBack(figures.frontToBack)},
                    {tr("增益"), m_format.gain(figures.forwardGain)},
                    {tr("馈点阻抗"), m_format.impedance(figures.feed)}});
}

} // namespace

QString buildSheetTitle()
{
    return QCoreApplication::translate("BuildSheet", "Moxon 矩形天线施工单");
}

void drawBuildSheet(QPainter &painter, const QRectF &area, const BuildSheet &sheet,
                    const QLocale &locale)
{
    const double scale = std::min(area.width() / kSheetWidth, area.height() / kSheetHeight);
    if (!(scale > 0)) {
        return;
    }
    painter.save();
    painter.translate(area.left() + (area.width() - kSheetWidth * scale) / 2, area.top());
    painter.scale(scale, scale);
    painter.setPen(Qt::black);
    SheetWriter(painter, sheet, locale).write();
    painter.restore();
}

} // namespace moxon
