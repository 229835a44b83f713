#pragma once

#include "figures.h"
#include "radiofigures.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QLabel;

namespace moxon {

// The design check's figures as captions and values: the feed-point impedance, the SWR, the
// take-off angle (over ground only), the gain, the front-to-back, the bandwidth, the
// beamwidth and, for insulated wire, the SWR dip beside the bare wire's; with a feed line,
// what the radio sees at its end (impedance and SWR), what the line loses and the power of
// 100 W that reaches the antenna, and the bandwidth at the radio. A value being calculated
// shows "…", one there is none of "—"; captions and values follow the language and the locale.
class FigureTable : public QWidget
{
    Q_OBJECT

public:
    explicit FigureTable(QWidget *parent = nullptr);

    // The figures of the check shown (none before they come or after a failure), its
    // bandwidth once the curve is whole, at the design frequency; `calculating` while the
    // engine runs.
    void showFigures(const std::optional<DesignFigures> &figures,
                     const std::optional<Bandwidth> &bandwidth, double frequencyMhz,
                     bool calculating);
    // Over ground the take-off angle has a row.
    void setOverGround(bool overGround);
    // Insulated wire has a row of the SWR dip, which tells what the insulation does to it: the
    // dips once the curve is whole, none before.
    void setInsulated(bool insulated);
    void showDips(const std::optional<double> &dipMhz, const std::optional<double> &bareDipMhz);
    // The radio's figures through the installation's feed line; none: no line, and no rows.
    // `feedLine` says whether there is a line whose figures are still to come.
    void showRadio(const std::optional<RadioFigures> &radio, bool feedLine);

protected:
    void changeEvent(QEvent *event) override;

private:
    // A row of `caption` (a source text) and a value label named `name`.
    QLabel *addRow(const char *caption, const QString &name);
    void showValues();
    void showDip();
    void showRadioValues();

    std::optional<DesignFigures> m_figures;
    std::optional<Bandwidth> m_bandwidth;
    double m_frequencyMhz = 0;
    bool m_calculating = false;
    std::optional<double> m_dipMhz;     // the curve's, MHz
    std::optional<double> m_bareDipMhz; // insulated wire: the bare wire's, MHz
    bool m_dipsFound = false;           // the curve is whole and its dips were looked for

    std::vector<std::pair<QLabel *, const char *>> m_captions; // with their source texts
    QLabel *m_impedance = nullptr;                             // the table owns its widgets
    QLabel *m_swr = nullptr;
    QLabel *m_takeoff = nullptr;
    QLabel *m_takeoffCaption = nullptr;
    QLabel *m_gain = nullptr;
    QLabel *m_frontToBack = nullptr;
    QLabel *m_bandwidthValue = nullptr;
    QLabel *m_beamwidth = nullptr;
    QLabel *m_dip = nullptr;
    QLabel *m_dipCaption = nullptr;
    std::optional<RadioFigures> m_radio;
    bool m_feedLine = false;
    std::vector<QLabel *> m_radioRows; // captions and values of the line's rows
    QLabel *m_atRadio = nullptr;
    QLabel *m_lineLoss = nullptr;
    QLabel *m_radioBandwidth = nullptr;
};

} // namespace moxon
