#include "translation.h"

#include <QCommandLineParser>
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

std::optional<UiLanguage> startLanguage(const QStringList &arguments, QString &refusal)
{
    QCommandLineParser parser;
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("The captions' language: en or zh."),
                                      QStringLiteral("en|zh"));
    parser.addOption(language);
    if (!parser.parse(arguments)) {
        refusal = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        refusal = QStringLiteral("unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    if (!parser.isSet(language)) {
        return storedUiLanguage();
    }
    const QString name = parser.value(language);
    const std::optional<UiLanguage> chosen = uiLanguageFromName(name);
    if (!chosen) {
        refusal = QStringLiteral("--language takes en or zh, not '%1'.").arg(name);
    }
    return chosen;
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
