#pragma once

#include "toolkit.h"

#include <QString>

#include <optional>

namespace moxon {

class frmMoxon;

// The toolkit operations carried out on the Qt window: each one is a direct call on the
// matching widget of frmMoxon. The window owns one and hands it to its commands.
class QtToolkit : public Toolkit
{
public:
    explicit QtToolkit(frmMoxon &window);

    int messageBox(const QString &text, const QString &title, MessageStyle style) override;
    [[nodiscard]] QString text(Control textBox) const override;
    void setText(Control textBox, const QString &text) override;
    void setFocus(Control textBox) override;
    [[nodiscard]] QString selectedEntry(Control dropDown) const override;
    void selectEntry(Control dropDown, int index) override;
    void setCaption(Control label, const QString &caption) override;
    [[nodiscard]] bool isSelected(Control option) const override;
    void press(Control button) override;
    void setVisible(Control button, bool visible) override;
    void setBackground(Control control, ColourNumber colour) override;
    void setOuterWidth(int twips) override;
    PrintOutcome printImage() override;
    void unload() override;
    std::optional<QString> saveAs(const QString &filter) override;

private:
    frmMoxon &m_window;

    // Full path chosen in the last Save As; offered again by the next one. Empty at first.
    QString m_lastSavePath;
};

// The one-entry filter "Description (*.ext)|*.ext" in the form a Qt file dialog takes,
// "Description (*.ext)". A description that does not show its pattern gets it appended, so
// the dialog still lists only the matching files.
[[nodiscard]] QString qtFileFilter(const QString &filter);

} // namespace moxon
