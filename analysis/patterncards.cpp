#include "patterncards.h"

#include <QList>

#include <optional>

namespace moxon {

namespace {

// An RP card: directions from (theta, phi) in steps of thetaStep and phiStep, degrees.
struct PatternCard
{
    int thetas = 0;
    int phis = 0;
    double theta = 0;
    double phi = 0;
    double thetaStep = 0;
    double phiStep = 0;
};

std::optional<PatternCard> patternCard(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 9) {
        return std::nullopt;
    }
    bool ok = true;
    const auto number = [&](qsizetype i) {
        bool read = false;
        const double value = fields.at(i).toDouble(&read);
        ok = ok && read;
        return value;
    };
    PatternCard card{int(number(2)), int(number(3)), number(5), number(6), number(7), number(8)};
    return ok ? std::optional(card) : std::nullopt;
}

} // namespace

void takeDeckAngles(NecFrequencyResult &result, const QByteArray &deck)
{
    QList<PatternCard> cards;
    for (const QByteArray &line : deck.split('\n')) {
        if (line.trimmed().startsWith("RP")) {
            const std::optional<PatternCard> card = patternCard(line);
            if (!card) {
                return;
            }
            cards.append(*card);
        }
    }
    if (cards.size() != result.tableStarts.size()) {
        return;
    }
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const PatternCard &card = cards.at(i);
        const qsizetype begin = result.tableStarts.at(i);
        const qsizetype end =
            i + 1 < cards.size() ? result.tableStarts.at(i + 1) : result.pattern.size();
        if ((card.thetas != 1 && card.phis != 1) ||
            end - begin != qsizetype(card.thetas) * card.phis) {
            return;
        }
    }
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const PatternCard &card = cards.at(i);
        for (qsizetype k = 0; k < qsizetype(card.thetas) * card.phis; ++k) {
            PatternPoint &point = result.pattern[result.tableStarts.at(i) + k];
            point.theta = card.thetas == 1 ? card.theta : card.theta + double(k) * card.thetaStep;
            point.phi = card.phis == 1 ? card.phi : card.phi + double(k) * card.phiStep;
        }
    }
}

} // namespace moxon
