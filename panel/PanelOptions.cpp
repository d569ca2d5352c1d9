#include "panel/PanelOptions.h"

#include <QCommandLineParser>

PanelOptions ParsePanelOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Audio-frequency signal generator."));
    parser.addHelpOption();
    const QCommandLineOption classic(
        QStringLiteral("classic"),
        QStringLiteral("Play the classic synthesis (a sine restarted at every period, "
                       "unfiltered square, triangle and sawtooth) instead of the precise one."));
    parser.addOption(classic);
    parser.process(arguments);
    PanelOptions options;
    options.classicSynthesis = parser.isSet(classic);
    return options;
}
