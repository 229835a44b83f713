#pragma once

#include "cable.h"
#include "checkview.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace moxon {

// The installation's feed line to the radio: none, a cable from the table or a line of one's
// own (its impedance, velocity factor and matched loss at the design frequency), and its
// length in the main window's display unit. The row itself is the list; its details (the
// length, the constants) are a widget of their own, which the caller places and which shows
// only with a line, so that the installation takes no more room without one. It shows the
// line in force; every change that reads as a valid line is passed on through edited(), and a
// text that does not read goes back to the value in force.
class FeedLineRow : public QWidget
{
    Q_OBJECT

public:
    explicit FeedLineRow(QWidget *parent = nullptr);

    // The line in force, with the unit its length is typed in and the design's frequency,
    // at which a line of one's own states its loss.
    void showFeedLine(const std::optional<FeedLine> &line, const LengthScale &scale,
                      double designMhz);
    // The length and the constants, to be laid out by the caller.
    [[nodiscard]] QWidget *details() const { return m_details; }

Q_SIGNALS:
    void edited(const std::optional<moxon::FeedLine> &line);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void cablePicked(int index);
    void typingFinished();
    void showValues();
    [[nodiscard]] std::optional<double> number(const QLineEdit *edit) const;
    // The length a new line starts with: 20 m, a usual run to the shack, in the unit.
    [[nodiscard]] double defaultLengthMetres() const;

    std::optional<FeedLine> m_line; // as last shown
    LengthScale m_scale;
    double m_designMhz = 0;

    QComboBox *m_cable = nullptr; // the row owns its widgets
    QWidget *m_details = nullptr;
    QLineEdit *m_length = nullptr;
    QLabel *m_lengthUnit = nullptr;
    QWidget *m_lengthBox = nullptr;
    QWidget *m_ownBox = nullptr; // the constants of a line of one's own
    QLineEdit *m_z0 = nullptr;
    QLineEdit *m_velocity = nullptr;
    QLineEdit *m_loss = nullptr;
    QLabel *m_lossUnit = nullptr;
    QLabel *m_matched = nullptr; // a table cable's loss at the design frequency
    std::vector<std::pair<QLabel *, const char *>> m_captions; // with their source texts
};

} // namespace moxon
