#include "testing/scripted_dialogs.h"

Dialogs::Answer ScriptedDialogs::message(const Box& box)
{
    m_log.push_back({Logged::Kind::Message, box, {}});
    if (box.buttons == Buttons::Ok) {
        if (!m_answers.empty() && m_answers.front() == Answer::Ok)
            m_answers.pop_front();
        return Answer::Ok;
    }
    if (m_answers.empty()) {
        if (onUnexpected)
            onUnexpected(QStringLiteral("unanswered question [%1] %2").arg(box.title, box.text));
        return safeAnswer(box.buttons);
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString& defaultText)
{
    m_log.push_back({Logged::Kind::Input, {prompt, title, Buttons::OkCancel, Icon::None, {}}, defaultText});
    if (m_inputs.empty()) {
        if (onUnexpected)
            onUnexpected(QStringLiteral("unanswered input box [%1] %2").arg(title, prompt));
        return std::nullopt;
    }
    auto answer = m_inputs.front();
    m_inputs.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::saveFile(const QString& folder, const QString& name,
                                                 const QString& filter)
{
    m_log.push_back(
        {Logged::Kind::SaveFile, {filter, {}, Buttons::OkCancel, Icon::None, {}}, folder + '|' + name});
    if (m_saves.empty()) {
        if (onUnexpected)
            onUnexpected(QStringLiteral("unanswered save dialog %1 %2").arg(folder, name));
        return std::nullopt;
    }
    auto answer = m_saves.front();
    m_saves.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const QString& title, const QString& folder,
                                                 const QString& filter)
{
    m_log.push_back({Logged::Kind::OpenFile, {filter, title, Buttons::OkCancel, Icon::None, {}}, folder});
    if (m_opens.empty()) {
        if (onUnexpected)
            onUnexpected(QStringLiteral("unanswered open dialog [%1] %2").arg(title, folder));
        return std::nullopt;
    }
    auto answer = m_opens.front();
    m_opens.pop_front();
    return answer;
}

void ScriptedDialogs::beep()
{
    m_log.push_back({Logged::Kind::Beep, {}, {}});
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const auto& entry : m_log)
        if (entry.kind == Logged::Kind::Message)
            result << entry.box.text;
    return result;
}

QStringList ScriptedDialogs::lines() const
{
    QStringList result;
    for (const auto& entry : m_log)
        if (entry.kind == Logged::Kind::Message)
            result << QStringLiteral("[%1] %2").arg(entry.box.title, entry.box.text);
    return result;
}
