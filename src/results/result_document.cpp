#include "results/result_document.h"

#include "results/result_publication.h"

#include <QDir>
#include <QSaveFile>

std::vector<PrintedLine> resultPrintedLines(const FiguredRace& race)
{
    std::vector<PrintedLine> lines;
    const QStringList text = resultText(race).split(u'\n');
    for (qsizetype i = 0; i < text.size(); ++i) {
        // resultText ends with a line break: no empty line after it.
        if (i == text.size() - 1 && text[i].isEmpty())
            break;
        lines.push_back({text[i], i == 0 ? 12 : 8, i == 0, 100});
    }
    return lines;
}

bool writeResultFile(const FiguredRace& race, const QString& path, QString* error)
{
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write((csv ? resultCsv(race) : resultHtml(race)).toUtf8()) >= 0 && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("The file %1 could not be written: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}
