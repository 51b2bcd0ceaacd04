#include "admin/windows/window_support.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

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
                if (guard)
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

void onEnterKey(QLineEdit* box, std::function<void()> onEnter)
{
    QObject::connect(box, &QLineEdit::returnPressed, box, [onEnter] { onEnter(); });
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

} // namespace admin_ui
