#pragma once

#include "captionface.h"
#include "designview.h"
#include "session.h"
#include "translation.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <array>

class QCloseEvent;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace moxon {

class CheckModule;

// Dynamic property of the labels that size themselves to their text whenever it changes.
inline constexpr char kAutoSizeProperty[] = "autoSize";

// Outer widths of the window in twips: while the design sheet is shown and printed the window
// ends just right of Frame1, so the model options and the command buttons fall outside it.
inline constexpr int kSheetOuterWidth = 8010;   // twips
inline constexpr int kDesignOuterWidth = 10050; // twips

// The program's one window: the design inputs, the diagram of the antenna, the five results
// with their units, the display-unit and export options, and the command buttons. It lays out
// its controls from the layout table at their positions in twips, converted with the screen's
// logical dpi, reports what the user types and picks to its session and runs the session's
// commands from its handlers. Start-up (Form_Load) runs in the constructor, before the window
// is first shown.
class frmMoxon : public QWidget, public DesignView
{
    Q_OBJECT

public:
    // In Chinese, the language of the design.
    explicit frmMoxon(QWidget *parent = nullptr);
    // With its captions in `language` from the start; Chinese when English cannot be loaded.
    // Every engine run of its session goes through `engines`, the program's scheduler.
    explicit frmMoxon(
        UiLanguage language,
        std::shared_ptr<EngineScheduler> engines = std::make_shared<EngineScheduler>(),
        QWidget *parent = nullptr);
    // The check window goes before the session it talks to.
    ~frmMoxon() override;

    // The widget of a control, by its name in the window ("txtFreq", "Frame2", ...); also the
    // widget's objectName. Null for a name the window does not have.
    [[nodiscard]] QWidget *control(const QString &name) const;

    // Outer width in twips: the client area plus the design's 90 twips of border, so that 10050
    // gives the design's client width of 9960 whatever frame the window manager draws. Returns
    // once the window has redrawn at the new width.
    void setOuterWidth(int twips);

    [[nodiscard]] int twipsToPixelsX(int twips) const;
    [[nodiscard]] int twipsToPixelsY(int twips) const;

    [[nodiscard]] const Session &session() const { return m_session; }

    void Form_Load();
    void btnCalculate_Click();
    void optFT_Click();
    void optIN_Click();
    void optM_Click();
    void optMM_Click();
    void btnModel_Click();
    void btnPrint_Click();
    void btnClose_Click();

    // Opens the design check window (Ctrl+D, or a click on the diagram), building it on first
    // use; it follows every Calculate that shows results for as long as it is open.
    void openCheck();

    [[nodiscard]] UiLanguage language() const { return m_translation.language(); }
    // Switches the captions and texts of the window, the check window and the printed sheet to
    // `language` at once, for this run. False when English cannot be loaded.
    bool setLanguage(UiLanguage language);
    // The choice of the diagram's menu: the language switched and remembered for the next
    // start; a message box says so when English cannot be loaded.
    void chooseLanguage(UiLanguage language);

protected:
    // Enter presses the focused command button, or else btnCalculate, the default button; Esc
    // presses btnClose, the cancel button. A plain QWidget has no default button of its own.
    void keyPressEvent(QKeyEvent *event) override;
    // Closing the window closes the design check with it: the program ends.
    void closeEvent(QCloseEvent *event) override;
    // A new language: every caption from the table anew.
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void retranslate();
    void orderTabStops();
    void connectControls();
    template<typename Widget> [[nodiscard]] Widget *typed(QStringView name) const;

    void showWireSize(const QString &text, WireUnit unit) override;
    void showDesign(const ShownDesign &design) override;
    void showMessage(const Message &message) override;
    void focusField(InputField field) override;
    std::optional<QString> askSavePath(ModelFormat format) override;
    void showSheet(bool sheet) override;
    bool confirm(const Message &message) override;
    PrintOutcome printSheet() override;
    PrintOutcome printBuildSheet(const BuildSheet &sheet) override;
    void closeWindow() override;

    CaptionFace m_face;        // registered before any control measures its caption
    Translation m_translation; // the application's translator while this window is open
    QHash<QString, QWidget *> m_controls;
    QLineEdit *m_txtFreq = nullptr;
    QLineEdit *m_txtWD = nullptr;
    QComboBox *m_cboDiaUnits = nullptr;
    QPushButton *m_btnCalculate = nullptr;
    std::array<QLineEdit *, 5> m_results{};     // txtA to txtE
    std::array<QLabel *, 5> m_unitLabels{};     // lblA to lblE
    std::array<QWidget *, 7> m_sheetControls{}; // what the sheet turns white, in that order

    QString m_lastSavePath; // chosen in the last Save As, offered by the next; empty at first
    CheckModule *m_check = nullptr; // built on first use, a child window deleted with this one
    Session m_session;
};

} // namespace moxon
