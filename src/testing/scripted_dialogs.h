#pragma once

#include "platform/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: answers come from a queue, every box is logged exactly. A question (any box with more
// than an OK button) that finds no queued answer is reported through onUnexpected and gets the safe answer.
class ScriptedDialogs : public Dialogs {
public:
    struct Logged {
        enum class Kind { Message, Input, SaveFile, OpenFile, Beep } kind;
        Box box;       // Message; for Input the prompt is box.text
        QString extra; // Input default, SaveFile folder + name
    };

    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    void queueInput(std::optional<QString> text) { m_inputs.push_back(std::move(text)); }
    void queueSaveFile(std::optional<QString> path) { m_saves.push_back(std::move(path)); }
    void queueOpenFile(std::optional<QString> path) { m_opens.push_back(std::move(path)); }

    Answer message(const Box& box) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> saveFile(const QString& folder, const QString& name,
                                    const QString& filter) override;
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override;
    void beep() override;

    const std::vector<Logged>& log() const { return m_log; }
    // The texts of the message boxes shown, in order.
    QStringList texts() const;
    // "[title] text" per message box, as the CLI prints them.
    QStringList lines() const;
    void clearLog() { m_log.clear(); }
    bool answersLeft() const
    {
        return !m_answers.empty() || !m_inputs.empty() || !m_saves.empty() || !m_opens.empty();
    }

    std::function<void(const QString& what)> onUnexpected;

private:
    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<std::optional<QString>> m_saves;
    std::deque<std::optional<QString>> m_opens;
    std::vector<Logged> m_log;
};
