#pragma once

#include "insulation.h"

#include <QString>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace moxon {

// The wire's insulation in the check's installation row: bare wire, a named material with its
// permittivity, or a permittivity of the user's; and the insulation's thickness, shown and typed
// in the unit of the wire size. A pick or a typed value that reads as an insulation is passed on
// through edited(); a text that does not read goes back to the value in force.
class InsulationBox : public QWidget
{
    Q_OBJECT

public:
    explicit InsulationBox(QWidget *parent = nullptr);

    // The insulation in force, with the unit of its thickness (`unit`, `metresPerUnit`).
    void showInsulation(const std::optional<Insulation> &insulation, const QString &unit,
                        double metresPerUnit);

Q_SIGNALS:
    void edited(const std::optional<moxon::Insulation> &insulation);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void kindPicked(int index);
    void typingFinished();
    void showValues();

    std::optional<Insulation> m_insulation; // as last shown
    // The last insulation shown, kept while the wire is bare so that picking a material again
    // brings back the thickness the user had.
    Insulation m_lastInsulated;
    QString m_unit = QStringLiteral("mm");
    double m_metresPerUnit = 0.001;

    QLabel *m_caption = nullptr; // the box owns its widgets
    QComboBox *m_kind = nullptr;
    QWidget *m_values = nullptr; // the permittivity and the thickness, shown when insulated
    QLineEdit *m_permittivity = nullptr;
    QLineEdit *m_thickness = nullptr;
    QLabel *m_thicknessCaption = nullptr;
    QLabel *m_thicknessUnit = nullptr;
};

} // namespace moxon
