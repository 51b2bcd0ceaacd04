#pragma once

#include <QString>
#include <optional>

// Every message box, question, input box and save dialog of the program goes through this interface, so
// the desktop shows real boxes, the CLI prints and answers them, and tests read and answer them exactly.
class Dialogs {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Box {
        QString text;
        QString title; // empty where the box has none
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        // The answer taken by Enter; for Yes/No questions of this program usually No.
        std::optional<Answer> defaultAnswer;
    };

    virtual ~Dialogs() = default;

    virtual Answer message(const Box& box) = 0;
    // Empty when the user cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // The chosen path, empty when the user cancelled.
    virtual std::optional<QString> saveFile(const QString& folder, const QString& name,
                                            const QString& filter) = 0;
    // The chosen existing file, empty when the user cancelled.
    virtual std::optional<QString> openFile(const QString& title, const QString& folder,
                                            const QString& filter) = 0;
    virtual void beep() = 0;

    // The common OK box.
    void inform(const QString& text, const QString& title = {}, Icon icon = Icon::None)
    {
        message({text, title, Buttons::Ok, icon, {}});
    }
};

// The answer that changes nothing: No, Cancel, or OK for a plain box. What a box gets that nobody answers.
Dialogs::Answer safeAnswer(Dialogs::Buttons buttons);

// The application's title, which VB-era boxes without a stated title show.
inline const QString kApplicationTitle = QStringLiteral("Corvex");
