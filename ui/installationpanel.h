#pragma once

#include "installation.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace moxon {

// The design check's installation: the height of the antenna's centre above the ground, in
// the main window's display unit and in wavelengths; the ground, free space, perfect or real
// with its permittivity and conductivity (a named kind of earth or the user's own); and the
// wire's metal. Every change that reads as a valid installation is remembered across runs
// and reported through changed(); a text that does not read goes back to the value in force.
class InstallationPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InstallationPanel(QWidget *parent = nullptr);

    [[nodiscard]] const Installation &installation() const { return m_installation; }
    // The unit the height is shown and typed in, and the design's wavelength in metres.
    void setLengths(const QString &unit, double metresPerUnit, double wavelengthMetres);

Q_SIGNALS:
    void changed();

private:
    void groundPicked(int index);
    void conductorPicked(int index);
    void edited();
    void commit();
    void showInstallation();
    [[nodiscard]] std::optional<double> number(const QLineEdit *edit) const;

    Installation m_installation;
    QString m_unit = QStringLiteral("m");
    double m_metresPerUnit = 1; // of the unit the height is typed in
    double m_wavelength = 0;    // metres, of the design frequency

    QLineEdit *m_height = nullptr; // the panel owns its widgets
    QLabel *m_heightUnit = nullptr;
    QComboBox *m_ground = nullptr;
    QLineEdit *m_permittivity = nullptr;
    QLineEdit *m_conductivity = nullptr;
    QWidget *m_groundConstants = nullptr; // εr and σ of real ground
    QWidget *m_metalBox = nullptr;        // the metal's conductivity
    QComboBox *m_conductor = nullptr;
    QLineEdit *m_metal = nullptr;
};

} // namespace moxon
