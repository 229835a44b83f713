#include "translation.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

namespace moxon {

namespace {

// lrelease's output for translations/moxon_en.ts, embedded by the build.
constexpr char16_t kEnglishTranslation[] = u":/i18n/moxon_en.qm";

QSettings settings()
{
    return QSettings(QStringLiteral("moxon"), QStringLiteral("moxon"));
}

const QString kLanguageKey = QStringLiteral("window/language");

} // namespace

std::optional<UiLanguage> uiLanguageFromName(QStringView name)
{
    if (name == u"zh") {
        return UiLanguage::Chinese;
    }
    if (name == u"en") {
        return UiLanguage::English;
    }
    return std::nullopt;
}

QString uiLanguageName(UiLanguage language)
{
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh");
}

UiLanguage storedUiLanguage()
{
    return uiLanguageFromName(settings().value(kLanguageKey).toString())
        .value_or(UiLanguage::Chinese);
}

void storeUiLanguage(UiLanguage language)
{
    settings().setValue(kLanguageKey, uiLanguageName(language));
}

Translation::Translation() = default;

Translation::~Translation()
{
    setLanguage(UiLanguage::Chinese);
}

bool Translation::setLanguage(UiLanguage language)
{
    if (language == m_language) {
        return true;
    }
    if (language == UiLanguage::English) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QString::fromUtf16(kEnglishTranslation))) {
            return false;
        }
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    } else {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_language = language;
    return true;
}

} // namespace moxon
