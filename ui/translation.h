#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class QTranslator;

namespace moxon {

// The language of the windows' captions and texts. Simplified Chinese is the language the
// sources are written in and the default; English is chosen explicitly, never taken from the
// system's locale. The message boxes are in English in both.
enum class UiLanguage
{
    Chinese,
    English,
};

// "zh" and "en", as --language and the settings name them; nothing for any other text.
[[nodiscard]] std::optional<UiLanguage> uiLanguageFromName(QStringView name);
[[nodiscard]] QString uiLanguageName(UiLanguage language);

// The language last chosen in the window, from the settings; Chinese when none was chosen or
// what is stored names no language.
[[nodiscard]] UiLanguage storedUiLanguage();
void storeUiLanguage(UiLanguage language);

// The application's translator for one language. For English it installs the embedded English
// translation on the application, which serves every window and module, and Qt tells every
// widget through QEvent::LanguageChange; for Chinese it installs nothing and loads nothing, so
// the default start pays for no translation. Removed again when this goes.
class Translation
{
public:
    Translation();
    ~Translation();
    Translation(const Translation &) = delete;
    Translation &operator=(const Translation &) = delete;

    [[nodiscard]] UiLanguage language() const { return m_language; }
    // False, and the language unchanged, when the embedded translation cannot be loaded.
    bool setLanguage(UiLanguage language);

private:
    UiLanguage m_language = UiLanguage::Chinese;
    std::unique_ptr<QTranslator> m_translator; // installed while the language is English
};

} // namespace moxon
