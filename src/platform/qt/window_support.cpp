#include "platform/qt/window_support.h"

#include "platform/dialogs.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace admin_ui {

namespace {
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> hook)
        : QObject(parent), m_hook(std::move(hook))
    {
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_hook(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_hook;
};
} // namespace

void selectAllOnFocus(QLineEdit* box)
{
    new EventHook(box, [box](QObject*, QEvent* event) {
        if (event->type() == QEvent::FocusIn) {
            // Deferred: a mouse press would place the cursor after a direct selectAll.
            QPointer<QLineEdit> guard(box);
            QTimer::singleShot(0, box, [guard] {
                if (guard && guard->isEnabled() && guard->hasFocus())
                    guard->selectAll();
            });
        }
        return false;
    });
}

void filterKeys(QLineEdit* box, std::function<bool(QChar)> accept)
{
    new EventHook(box, [accept](QObject*, QEvent* event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        for (QChar c : text) {
            if (c.isPrint() && !accept(c))
                return true;
        }
        return false;
    });
    // Pasted or dropped text goes through the same filter.
    QObject::connect(box, &QLineEdit::textEdited, box, [box, accept](const QString& text) {
        QString kept;
        for (QChar c : text) {
            if (accept(c))
                kept += c;
        }
        if (kept != text) {
            const int cursor = box->cursorPosition() - static_cast<int>(text.size() - kept.size());
            box->setText(kept);
            box->setCursorPosition(std::max(0, cursor));
        }
    });
}

namespace {
bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
}

bool isEscapeKey(const QEvent* event)
{
    return event->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}
} // namespace

void onEnterKey(QWidget* control, std::function<void()> onEnter)
{
    new EventHook(control, [onEnter](QObject*, QEvent* event) {
        if (!isEnterKey(event))
            return false;
        onEnter();
        return true;
    });
}

void keyboardDefaults(QWidget* window, QPushButton* defaultButton, QPushButton* cancel)
{
    // Outside dialogs a push button ignores Enter; it reaches the button's own hook first.
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        new EventHook(button, [button](QObject*, QEvent* event) {
            if (!isEnterKey(event))
                return false;
            if (button->isEnabled())
                button->click();
            return true;
        });
    }
    // Keys that no child took (text boxes, lists and combo boxes pass Enter and Escape on) reach the window.
    QPointer<QPushButton> defaults(defaultButton);
    QPointer<QPushButton> cancels(cancel);
    new EventHook(window, [window, defaults, cancels](QObject*, QEvent* event) {
        if (isEnterKey(event)) {
            if (defaults && defaults->isEnabled())
                defaults->click();
            return true;
        }
        if (isEscapeKey(event)) {
            if (cancels && cancels->isEnabled())
                cancels->click();
            else
                window->close();
            return true;
        }
        return false;
    });
}

void readableWhenDisabled(QWidget* field)
{
    const auto apply = [field] {
        QPalette palette = field->palette();
        for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText, QPalette::Base})
            palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
        field->setPalette(palette);
    };
    apply();
    new EventHook(field, [field, apply, applying = false](QObject*, QEvent* event) mutable {
        if (event->type() == QEvent::EnabledChange && !field->isEnabled()) {
            if (auto* box = qobject_cast<QLineEdit*>(field))
                box->deselect();
        } else if (!applying && (event->type() == QEvent::ApplicationPaletteChange ||
                                 event->type() == QEvent::StyleChange)) {
            applying = true;
            field->setPalette(QPalette());
            apply();
            applying = false;
        }
        return false;
    });
}

void onLeave(QWidget* box, std::function<void()> leave)
{
    new EventHook(box, [leave](QObject*, QEvent* event) {
        if (event->type() != QEvent::FocusOut)
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        leave();
        return false;
    });
}

QFont fixedPitchFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void selectRow(QListWidget* list, int row)
{
    const QSignalBlocker blocker(list);
    list->clearSelection();
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    } else {
        list->setCurrentRow(-1);
    }
}

void setUpWindow(QWidget* window, const QString& objectName, const QString& title)
{
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
}

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

QLineEdit* makeBox(QWidget* parent, const QString& objectName, bool selectAllOnFocusToo)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    readableWhenDisabled(box);
    if (selectAllOnFocusToo)
        selectAllOnFocus(box);
    return box;
}

QGroupBox* searchedList(QWidget* parent, const QString& title, QLineEdit* search, QListWidget* list,
                        QLabel* count)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QObject::tr("Search:"), group));
    searchRow->addWidget(search);
    layout->addLayout(searchRow);
    layout->addWidget(list, 1);
    layout->addWidget(count);
    return group;
}

void stackWithButtons(QWidget* window, QHBoxLayout* top, std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* main = new QVBoxLayout(window);
    main->addLayout(top, 1);
    main->addLayout(row);
}

void onRowChosen(QListWidget* list, QObject* context, std::function<void()> chosen)
{
    QObject::connect(list, &QListWidget::itemClicked, context, [chosen] { chosen(); });
    // Arrow keys and Space select the current row. Focus entering a list without a current row only makes
    // the first row current, unselected: that is no choice.
    QObject::connect(list, &QListWidget::itemSelectionChanged, context, [list, chosen] {
        if (list->currentItem() && list->currentItem()->isSelected())
            chosen();
    });
}

bool askYesNo(Dialogs& dialogs, const QString& question, const QString& title)
{
    return dialogs.message({question, title, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                            Dialogs::Answer::No}) == Dialogs::Answer::Yes;
}

void refuseLeft(Dialogs& dialogs, const QString& message, QWidget* box, bool& inLeaveCheck)
{
    inLeaveCheck = true;
    dialogs.inform(message);
    inLeaveCheck = false;
    // The box that refused the value has lost the focus: give it back once the focus change is done.
    QPointer<QWidget> guard(box);
    QTimer::singleShot(0, box, [guard] {
        if (!guard)
            return;
        guard->setFocus(Qt::OtherFocusReason);
        if (auto* lineEdit = qobject_cast<QLineEdit*>(guard.data()))
            lineEdit->selectAll();
    });
}

} // namespace admin_ui
