#pragma once

#include "analysispanel.h"

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace moxon {

// "实测": the trim of the antenna as built. "实测…" opens what an analyser wrote of it (a
// one-port Touchstone file) and trims from its SWR dip, after turning it back to the feed
// point through the installation's feed line when it was measured at the radio; or the user types
// the dip and presses the start. The target defaults to the design frequency. The result: the
// measured and the model's dip and the antenna's electrical scale, the field trim as the cuts at
// the tails
// ("驱动单元两端各剪 12 mm") with what it predicts, and the rebuild. "诊断", once a file is
// open, fits the model to the file's impedance curve instead: each cut's error as the builder
// reads it ("反射单元两端各短 1.9 cm ± 0.2 cm"), the fit against the noise, and the trim; where
// no trim holds the front-to-back, the new frame that does.
class TrimPanel : public AnalysisPanel
{
    Q_OBJECT

public:
    explicit TrimPanel(QWidget *parent = nullptr);

    // The design frequency, the target when none is typed.
    void setDesignFrequency(double mhz);
    // Whether the installation has a feed line, through which a file can have been measured
    // at the radio.
    void setFeedLine(bool feedLine);
    void showMeasurement(const Measurement &measurement);
    void showResult(const TrimResult &result, const TuneSetup &setup);
    // The trim of the file at `path`, as if the user had chosen it after "实测…".
    void trimFile(const QString &path);
    // Whether the run the session starts next is the diagnosis rather than the trim.
    void setDiagnosing(bool diagnosing) { m_diagnosing = diagnosing; }
    void showDiagnosis(const DiagnosisResult &result, const TuneSetup &setup);

Q_SIGNALS:
    void trimRequested(const moxon::MeasuredAntenna &measured);
    void diagnosisRequested(const moxon::MeasuredAntenna &measured);

protected:
    void retranslate() override;
    [[nodiscard]] QString runningText() const override;
    void clearResult() override;
    void updateButtons() override;

private:
    void chooseFile();
    void requestTrim();
    void requestDiagnosis();
    [[nodiscard]] bool canDiagnose() const;
    [[nodiscard]] QString diagnosisLines(const DiagnosisResult &result,
                                         const TuneSetup &setup) const;
    [[nodiscard]] QString newFrameLines(const DiagnosisResult &result,
                                        const TuneSetup &setup) const;
    [[nodiscard]] QString dipAloneDiagnosis(const DiagnosisResult &result,
                                            const TuneSetup &setup) const;
    // The target as typed, 0 for the design frequency; none when it is no frequency.
    [[nodiscard]] std::optional<double> target();
    [[nodiscard]] QString resultLines(const TrimResult &result, const TuneSetup &setup) const;
    [[nodiscard]] QString fieldTrimLines(const TrimResult &result, const TuneSetup &setup) const;
    [[nodiscard]] QString predictedText(const TrimmedAntenna &antenna, double targetMhz) const;
    // From a dip alone, of a result with a field trim: that it holds for a scaled and a
    // long-tailed antenna, and that the whole curve tells them apart.
    [[nodiscard]] QString dipAloneText(const TrimResult &result) const;
    [[nodiscard]] MeasuredAntenna measuredFile(const QString &path, double targetMhz) const;
    [[nodiscard]] QString sourceText() const;

    double m_designMhz = 0;
    QString m_file;       // the file the shown dip came from; empty once the dip is typed
    QString m_lastFolder; // where the last file was opened
    std::optional<Measurement> m_measurement;
    bool m_diagnosing = false;     // the run shown is the diagnosis
    QPushButton *m_open = nullptr; // the panel owns its widgets
    QPushButton *m_diagnose = nullptr;
    QLabel *m_dipCaption = nullptr;
    QLineEdit *m_dip = nullptr;
    QLabel *m_targetCaption = nullptr;
    QLineEdit *m_target = nullptr;
    QLabel *m_source = nullptr;     // where the dip came from
    QCheckBox *m_atRadio = nullptr; // the file was measured at the radio, through the line
    QCheckBox *m_trimGap = nullptr; // the frame lets the field trim change E and the gap
};

} // namespace moxon
