#pragma once

#include "platform/dialogs.h"

#include <QHash>
#include <cstdio>
#include <functional>

// Dialogs for the CLI: every box is printed to standard error as "[title] text". Questions are answered by
// the command's options (the answerer), else by a prompt on a terminal, else by the safe answer.
class TerminalDialogs : public Dialogs {
public:
    explicit TerminalDialogs(std::FILE* out = stderr, std::FILE* in = stdin);

    // Returns an answer for a question the command's options settle, or nothing.
    std::function<std::optional<Answer>(const Box&)> answerer;
    // Answers for input boxes and save dialogs keyed by title (input) or "save" (save dialog).
    QHash<QString, QString> presetInputs;
    QString presetSavePath;

    Answer message(const Box& box) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> saveFile(const QString& folder, const QString& name,
                                    const QString& filter) override;
    // The CLI names its files on the command line; there is nothing to choose.
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    void beep() override;

    bool interactive() const;

private:
    std::optional<QString> readLine();

    std::FILE* m_out;
    std::FILE* m_in;
};
