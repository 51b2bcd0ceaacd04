#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString titleOrApplication(const QString& title)
{
    return title.isEmpty() ? kApplicationTitle : title;
}

QMessageBox::StandardButton standardButton(Dialogs::Answer answer)
{
    switch (answer) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon messageIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::None:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString qtBoxText(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QString qtLabelText(const QString& text)
{
    // The input box's prompt labels its text box, and such a label reads "&" as an access key.
    return qtBoxText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString saveDialogTitle(const QString& vbFilter)
{
    QString described = vbFilter.section(QLatin1Char('|'), 0, 0);
    described = described.left(described.indexOf(QLatin1Char('('))).trimmed();
    return described.isEmpty() ? kApplicationTitle : QStringLiteral("Save ") + described;
}

QString qtFileFilter(const QString& vbFilter)
{
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty() || description.contains(QLatin1Char('(')))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

Dialogs::Answer QtDialogs::message(const Box& box)
{
    QMessageBox::StandardButtons buttons;
    Answer escape = Answer::Ok;
    switch (box.buttons) {
    case Buttons::Ok:
        buttons = QMessageBox::Ok;
        escape = Answer::Ok;
        break;
    case Buttons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = Answer::Cancel;
        break;
    case Buttons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = Answer::No;
        break;
    case Buttons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = Answer::Cancel;
        break;
    }
    QMessageBox dialog(messageIcon(box.icon), titleOrApplication(box.title), qtBoxText(box.text), buttons,
                       m_parent);
    // Texts are shown as written: never read as markup.
    dialog.setTextFormat(Qt::PlainText);
    if (box.defaultAnswer)
        dialog.setDefaultButton(standardButton(*box.defaultAnswer));
    dialog.setEscapeButton(standardButton(escape));
    switch (dialog.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return escape;
    }
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, titleOrApplication(title), qtLabelText(prompt),
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::saveFile(const QString& folder, const QString& name, const QString& filter)
{
    const QString start = name.isEmpty() ? folder : QDir(folder).filePath(name);
    const QString path =
        QFileDialog::getSaveFileName(m_parent, saveDialogTitle(filter), start, qtFileFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter)
{
    const QString path =
        QFileDialog::getOpenFileName(m_parent, titleOrApplication(title), folder, qtFileFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void QtDialogs::beep()
{
    QApplication::beep();
}
