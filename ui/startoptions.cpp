#include "startoptions.h"

#include <QCommandLineParser>

namespace moxon {

std::optional<StartOptions> startOptions(const QStringList &arguments, QString &refusal)
{
    QCommandLineParser parser;
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("The captions' language: en or zh."),
                                      QStringLiteral("en|zh"));
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Opens the design check window."));
    parser.addOption(language);
    parser.addOption(check);
    if (!parser.parse(arguments)) {
        refusal = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        refusal = QStringLiteral("unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    StartOptions options;
    options.check = parser.isSet(check);
    if (!parser.isSet(language)) {
        options.language = storedUiLanguage();
        return options;
    }
    const QString name = parser.value(language);
    const std::optional<UiLanguage> chosen = uiLanguageFromName(name);
    if (!chosen) {
        refusal = QStringLiteral("--language takes en or zh, not '%1'.").arg(name);
        return std::nullopt;
    }
    options.language = *chosen;
    return options;
}

} // namespace moxon
