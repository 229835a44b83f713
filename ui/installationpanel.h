#pragma once

#include "checkview.h"
#include "installation.h"

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace moxon {

class FeedLineRow;
class InsulationBox;

// The design check's installation: the height of the antenna's centre above the ground, in
// the main window's display unit and in wavelengths; the ground, free space, perfect or real
// with its permittivity and conductivity (a named kind of earth or the user's own); the
// wire's conductor and its insulation (InsulationBox); on a row below, the feed line to the
// radio. It shows the installation the session holds; every change that reads as a valid
// installation is passed on through edited(), and a text that does not read goes back to
// the value in force.
class InstallationPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InstallationPanel(QWidget *parent = nullptr);

    [[nodiscard]] const Installation &installation() const { return m_installation; }
    // The installation in force, with the unit its height is shown and typed in and the
    // design's wavelength.
    void showInstallation(const Installation &installation, const LengthScale &scale);

Q_SIGNALS:
    void edited(const moxon::Installation &installation);

protected:
    // The texts anew in a new language.
    void changeEvent(QEvent *event) override;

private:
    // The rows of the panel, made of its controls.
    void layOut();
    void retranslate();
    void groundPicked(int index);
    void conductorPicked(int index);
    void typingFinished();
    void commit(const Installation &installation);
    void showValues();
    [[nodiscard]] std::optional<double> number(const QLineEdit *edit) const;

    Installation m_installation; // as the session last showed it
    LengthScale m_scale;

    QLineEdit *m_height = nullptr; // the panel owns its widgets
    QLabel *m_heightUnit = nullptr;
    QComboBox *m_ground = nullptr;
    QLineEdit *m_permittivity = nullptr;
    QLineEdit *m_conductivity = nullptr;
    QWidget *m_groundConstants = nullptr; // εr and σ of real ground
    QWidget *m_conductivityBox = nullptr; // the conductor's conductivity
    QComboBox *m_conductor = nullptr;
    QLineEdit *m_conductorSigma = nullptr;
    InsulationBox *m_insulation = nullptr;
    FeedLineRow *m_feedLine = nullptr;
    std::vector<std::pair<QLabel *, const char *>> m_captions; // with their source texts
};

} // namespace moxon
