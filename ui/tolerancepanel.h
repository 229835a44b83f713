#pragma once

#include "analysispanel.h"

#include <array>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;

namespace moxon {

// "公差": how exactly each cut of the shown design must be made. The user may give the cut
// error of a build (in the builder's step: cm, in or mm; empty for the default share of A);
// the result is a table of A to D (how far the SWR dip moves and how the front-to-back
// changes per step, and how much shorter and longer each may be cut), then the share of
// builds within both limits and the spread of their dip.
class TolerancePanel : public AnalysisPanel
{
    Q_OBJECT

public:
    explicit TolerancePanel(QWidget *parent = nullptr);

    // The display unit and the builder's step of the design shown.
    void setScale(const LengthScale &scale);
    void showResult(const ToleranceResult &result, const TuneSetup &setup);

Q_SIGNALS:
    // Cut error in the display unit; none: the default.
    void startRequested(std::optional<double> cutError);

protected:
    void retranslate() override;
    [[nodiscard]] QString runningText() const override;
    void clearResult() override;

private:
    void requestStart();
    void showTable(const ToleranceResult &result, const TuneSetup &setup);
    [[nodiscard]] QString resultLines(const ToleranceResult &result, const TuneSetup &setup) const;

    LengthScale m_scale;
    std::optional<std::pair<ToleranceResult, TuneSetup>> m_shown; // the result in the table
    QLabel *m_cutCaption = nullptr;                               // the panel owns its widgets
    QLineEdit *m_cutError = nullptr;
    QLabel *m_cutUnit = nullptr;
    QGridLayout *m_table = nullptr;
    std::array<QLabel *, 4> m_headers{};              // the columns' captions
    std::array<std::array<QLabel *, 4>, 4> m_cells{}; // by dimension A to D, then column
};

} // namespace moxon
