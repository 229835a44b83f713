#pragma once

#include "captionface.h"
#include "moxoncommands.h"
#include "qttoolkit.h"

#include <QHash>
#include <QString>
#include <QWidget>

class QKeyEvent;

namespace moxon {

// Dynamic property of the labels that size themselves to their text whenever it changes.
inline constexpr char kAutoSizeProperty[] = "autoSize";

// The program's one window: the design inputs, the diagram of the antenna, the five results
// with their units, the display-unit and export options, and the command buttons. It lays out
// its controls at their design positions in twips, converted with the screen's logical dpi,
// and forwards every event to the matching handler of MoxonCommands. Start-up (Form_Load) runs
// in the constructor, before the window is first shown.
class frmMoxon : public QWidget
{
    Q_OBJECT

public:
    explicit frmMoxon(QWidget *parent = nullptr);

    // The widget of a control, by its name in the window ("txtFreq", "Frame2", ...); also the
    // widget's objectName. Null for a name the window does not have.
    [[nodiscard]] QWidget *control(const QString &name) const;
    [[nodiscard]] QWidget *control(Control control) const;

    // Outer width in twips: the client area plus the design's 90 twips of border, so that 10050
    // gives the design's client width of 9960 whatever frame the window manager draws. Returns
    // once the window has redrawn at the new width.
    void setOuterWidth(int twips);

    [[nodiscard]] int twipsToPixelsX(int twips) const;
    [[nodiscard]] int twipsToPixelsY(int twips) const;

    [[nodiscard]] MoxonCommands &commands() { return m_commands; }
    [[nodiscard]] const MoxonCommands &commands() const { return m_commands; }

protected:
    // Enter presses the focused command button, or else btnCalculate, the default button; Esc
    // presses btnClose, the cancel button. A plain QWidget has no default button of its own.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void orderTabStops();
    void connectHandlers();

    CaptionFace m_face; // registered before any control measures its caption
    QHash<QString, QWidget *> m_controls;
    QtToolkit m_toolkit{*this};
    MoxonCommands m_commands;
};

} // namespace moxon
