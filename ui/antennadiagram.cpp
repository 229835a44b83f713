#include "antennadiagram.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace moxon {

namespace {

// Coordinates below are in the drawing's grid (349 x 233). The window's labels are placed in
// twips over the picture; these positions leave each label where the design puts it: "A" in
// the opening of the width line, "B", "D" and "E" in openings of the vertical lines, "C" beside
// the gap, the feed-point caption under the feed point and the element captions inside.
constexpr double kLeft = 20; // short sides of the rectangle
constexpr double kRight = 256;
constexpr double kTop = 55;        // driven element's long side
constexpr double kBottom = 203;    // reflector's long side
constexpr double kGapTop = 113;    // ends of the driven element's tails
constexpr double kGapBottom = 126; // ends of the reflector's tails
constexpr double kFeedHalfGap = 5; // half the break in the driven element
constexpr double kFeedDotRadius = 2.2;

constexpr double kWidthLineY = 33; // dimension line A and its end ticks
constexpr double kEndTickHalf = 5;
constexpr double kWidthLabelHalfGap = 8;

constexpr double kLevelTickStart = 262; // short ticks right of the rectangle
constexpr double kInnerTickEnd = 289;   // at the gap's ends
constexpr double kOuterTickEnd = 328;   // at the top and bottom sides
constexpr double kTailLineX = 282;      // B, C and D
constexpr double kDepthLineX = 321;     // E

struct Opening
{
    double from;
    double to;
};
constexpr Opening kOpeningB{77, 92};
constexpr Opening kOpeningD{157, 172};
constexpr Opening kOpeningE{121, 137};

// Line widths in the widget's pixels.
constexpr double kElementPen = 2.0;
constexpr double kDimensionPen = 1.0;

// Maps the grid onto the widget, stretched like a picture, with every line on whole pixels
// so that it draws sharp at the screen's scale.
class Grid
{
public:
    Grid(double width, double height)
        : m_scaleX(width / AntennaDiagram::kGridWidth)
        , m_scaleY(height / AntennaDiagram::kGridHeight)
    {
    }

    QPointF at(double x, double y, double penWidth) const
    {
        const double offset = std::fmod(penWidth, 2.0) == 1.0 ? 0.5 : 0.0;
        return {std::round(x * m_scaleX) + offset, std::round(y * m_scaleY) + offset};
    }

    double scaleX() const { return m_scaleX; }
    double scaleY() const { return m_scaleY; }

private:
    double m_scaleX;
    double m_scaleY;
};

void line(QPainter &painter, const Grid &grid, double x1, double y1, double x2, double y2)
{
    const double width = painter.pen().widthF();
    painter.drawLine(grid.at(x1, y1, width), grid.at(x2, y2, width));
}

// A vertical dimension line from `from` to `to`, left open where its label sits.
void verticalWithOpening(QPainter &painter, const Grid &grid, double x, double from, double to,
                         Opening opening)
{
    line(painter, grid, x, from, x, opening.from);
    line(painter, grid, x, opening.to, x, to);
}

void drawElements(QPainter &painter, const Grid &grid)
{
    const double mid = (kLeft + kRight) / 2;
    // Driven element: long side broken at the feed point, tails down to the gap.
    line(painter, grid, kLeft, kGapTop, kLeft, kTop);
    line(painter, grid, kLeft, kTop, mid - kFeedHalfGap, kTop);
    line(painter, grid, mid + kFeedHalfGap, kTop, kRight, kTop);
    line(painter, grid, kRight, kTop, kRight, kGapTop);
    // Reflector: whole long side, tails up to the gap.
    line(painter, grid, kLeft, kGapBottom, kLeft, kBottom);
    line(painter, grid, kLeft, kBottom, kRight, kBottom);
    line(painter, grid, kRight, kBottom, kRight, kGapBottom);

    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    const double radius = kFeedDotRadius * std::min(grid.scaleX(), grid.scaleY());
    for (const double x : {mid - kFeedHalfGap, mid + kFeedHalfGap}) {
        painter.drawEllipse(grid.at(x, kTop, kElementPen), radius, radius);
    }
}

void drawDimensions(QPainter &painter, const Grid &grid)
{
    const double mid = (kLeft + kRight) / 2;
    // A: across the width, above the driven element, open for its letter.
    line(painter, grid, kLeft, kWidthLineY, mid - kWidthLabelHalfGap, kWidthLineY);
    line(painter, grid, mid + kWidthLabelHalfGap, kWidthLineY, kRight, kWidthLineY);
    for (const double x : {kLeft, kRight}) {
        line(painter, grid, x, kWidthLineY - kEndTickHalf, x, kWidthLineY + kEndTickHalf);
    }

    // Levels of the two long sides and of both ends of the gap.
    line(painter, grid, kLevelTickStart, kTop, kOuterTickEnd, kTop);
    line(painter, grid, kLevelTickStart, kGapTop, kInnerTickEnd, kGapTop);
    line(painter, grid, kLevelTickStart, kGapBottom, kInnerTickEnd, kGapBottom);
    line(painter, grid, kLevelTickStart, kBottom, kOuterTickEnd, kBottom);

    // B from the top side to the gap, C across the gap, D from the gap to the bottom side.
    verticalWithOpening(painter, grid, kTailLineX, kTop, kGapTop, kOpeningB);
    line(painter, grid, kTailLineX, kGapTop, kTailLineX, kGapBottom);
    verticalWithOpening(painter, grid, kTailLineX, kGapBottom, kBottom, kOpeningD);
    // E over the whole depth.
    verticalWithOpening(painter, grid, kDepthLineX, kTop, kBottom, kOpeningE);
}

} // namespace

AntennaDiagram::AntennaDiagram(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("单击打开设计检查 (Ctrl+D)"));
}

void AntennaDiagram::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT checkRequested();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void AntennaDiagram::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    connect(menu.addAction(tr("设计检查…(&D)")), &QAction::triggered, this,
            &AntennaDiagram::checkRequested);
    menu.addSeparator();
    // The choice of language reads the same in either language, each language named in its
    // own, so that it is found whichever is in force: these texts are not translated.
    QMenu *languages = menu.addMenu(QStringLiteral("界面语言 / Language"));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(languages);
    for (const auto &[language, name] :
         {std::pair(UiLanguage::Chinese, QStringLiteral("简体中文")),
          std::pair(UiLanguage::English, QStringLiteral("English"))}) {
        QAction *choice = languages->addAction(name);
        choice->setObjectName(uiLanguageName(language));
        choice->setCheckable(true);
        choice->setChecked(language == m_language);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this,
                [this, language] { Q_EMIT languageChosen(language); });
    }
    menu.exec(event->globalPos());
}

void AntennaDiagram::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        setToolTip(tr("单击打开设计检查 (Ctrl+D)"));
    }
}

void AntennaDiagram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF area = rect();
    painter.fillRect(area, Qt::white);
    // A thin single-line border around the picture.
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));

    painter.setRenderHint(QPainter::Antialiasing);
    const Grid grid(area.width(), area.height());
    painter.setPen(QPen(Qt::black, kDimensionPen, Qt::SolidLine, Qt::FlatCap));
    drawDimensions(painter, grid);
    painter.setPen(QPen(Qt::black, kElementPen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    drawElements(painter, grid);
}

} // namespace moxon
