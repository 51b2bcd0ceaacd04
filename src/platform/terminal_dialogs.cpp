#include "platform/terminal_dialogs.h"

#include <QDir>
#include <unistd.h>

namespace {
void print(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    std::fflush(out);
}

QString choicesText(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return {};
    case Dialogs::Buttons::OkCancel:
        return QStringLiteral("(o)k / (c)ancel? ");
    case Dialogs::Buttons::YesNo:
        return QStringLiteral("(y)es / (n)o? ");
    case Dialogs::Buttons::YesNoCancel:
        return QStringLiteral("(y)es / (n)o / (c)ancel? ");
    }
    return {};
}

std::optional<Dialogs::Answer> parseAnswer(const QString& typed, Dialogs::Buttons buttons)
{
    const QString t = typed.trimmed().toLower();
    const bool hasYes = buttons == Dialogs::Buttons::YesNo || buttons == Dialogs::Buttons::YesNoCancel;
    const bool hasCancel = buttons == Dialogs::Buttons::OkCancel || buttons == Dialogs::Buttons::YesNoCancel;
    if (hasYes && (t == "y" || t == "yes"))
        return Dialogs::Answer::Yes;
    if (hasYes && (t == "n" || t == "no"))
        return Dialogs::Answer::No;
    if (hasCancel && (t == "c" || t == "cancel"))
        return Dialogs::Answer::Cancel;
    if (buttons == Dialogs::Buttons::OkCancel && (t == "o" || t == "ok"))
        return Dialogs::Answer::Ok;
    return std::nullopt;
}
} // namespace

TerminalDialogs::TerminalDialogs(std::FILE* out, std::FILE* in) : m_out(out), m_in(in) {}

bool TerminalDialogs::interactive() const
{
    return m_in && isatty(fileno(m_in)) == 1;
}

std::optional<QString> TerminalDialogs::readLine()
{
    char buffer[1024];
    if (!m_in || !std::fgets(buffer, sizeof buffer, m_in))
        return std::nullopt;
    return QString::fromUtf8(buffer).trimmed();
}

Dialogs::Answer TerminalDialogs::message(const Box& box)
{
    print(m_out,
          QStringLiteral("[%1] %2\n")
              .arg(box.title, QString(box.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    if (box.buttons == Buttons::Ok)
        return Answer::Ok;
    if (answerer) {
        if (auto answer = answerer(box))
            return *answer;
    }
    if (interactive()) {
        for (int tries = 0; tries < 5; ++tries) {
            print(m_out, choicesText(box.buttons));
            const auto line = readLine();
            if (!line)
                break;
            if (auto answer = parseAnswer(*line, box.buttons))
                return *answer;
        }
    }
    return safeAnswer(box.buttons);
}

std::optional<QString> TerminalDialogs::input(const QString& prompt, const QString& title,
                                              const QString& defaultText)
{
    print(m_out, QStringLiteral("[%1] %2\n")
                     .arg(title, QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    if (presetInputs.contains(title))
        return presetInputs.value(title);
    if (interactive()) {
        print(m_out, QStringLiteral("[%1]: ").arg(defaultText));
        const auto line = readLine();
        if (!line)
            return std::nullopt;
        return line->isEmpty() ? defaultText : *line;
    }
    return std::nullopt;
}

std::optional<QString> TerminalDialogs::saveFile(const QString& folder, const QString& name, const QString&)
{
    if (!presetSavePath.isEmpty())
        return presetSavePath;
    return QDir(folder).filePath(name);
}

void TerminalDialogs::beep() {}
