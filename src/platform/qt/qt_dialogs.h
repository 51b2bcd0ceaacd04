#pragma once

#include "platform/dialogs.h"

class QWidget;

// Dialogs as real Qt boxes. A box without a title shows the application's title.
class QtDialogs : public Dialogs {
public:
    // Boxes are centred on parent when it is set.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    Answer message(const Box& box) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> saveFile(const QString& folder, const QString& name,
                                    const QString& filter) override;
    std::optional<QString> openFile(const QString& title, const QString& folder,
                                    const QString& filter) override;
    void beep() override;

private:
    QWidget* m_parent = nullptr;
};

// "Description (*.D00)|*.D00|Other|*.txt" into Qt's "Description (*.D00);;Other (*.txt)".
QString qtFileFilter(const QString& vbFilter);
// CR LF line breaks as Qt shows them.
QString qtBoxText(const QString& text);
// The same for a label that names a text box (the input box's prompt): "&" stays "&".
QString qtLabelText(const QString& text);
// The save dialog's title, saying what is saved: "Save " + the filter's first description.
QString saveDialogTitle(const QString& vbFilter);
