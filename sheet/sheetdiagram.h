#pragma once

#include "cutlist.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace moxon {

// What the drawing writes beside its letters, in the window's language.
struct DiagramLabels
{
    QString driver;        // the driven element, along its long side
    QString reflector;     // the reflector, along its long side
    QString feed;          // under the feed point
    QString tailInsulator; // beside the insulators between the tail tips
    QString hub;           // beside the X-frame's hub
    QString beam;          // beside the arrow towards the front
    QString angleAcrossE;  // the angle between the arms at one end, with its unit
    QString angleAcrossA;  // the angle between the arms at the ends of one element
};

// The antenna seen from above, front up, in `box` (tenths of a point): the driven element
// with its feed point and its two halves, the reflector, the tail insulators, the X-frame's
// hub and arms with the angles between them, and the dimension lines A to E. A and E are drawn
// to scale; the tails and the gap too, except that a gap too narrow to see is widened at the
// tails' expense, so that its insulators and its letter stay apart.
void drawSheetDiagram(QPainter &painter, const QRectF &box, const BuildDimensions &dims,
                      const DiagramLabels &labels);

} // namespace moxon
