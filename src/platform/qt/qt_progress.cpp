#include "platform/qt/qt_progress.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

frmDataTrans::frmDataTrans(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmDataTrans"));
    setWindowTitle(kApplicationTitle);
    lblDataTrans = new QLabel(kProgressUpperDesignText, this);
    lblDataTrans->setObjectName(QStringLiteral("lblDataTrans"));
    lblBirdsTransferred = new QLabel(this);
    lblBirdsTransferred->setObjectName(QStringLiteral("lblBirdsTransferred"));
    for (QLabel* label : {lblDataTrans, lblBirdsTransferred}) {
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(320);
    }
    QFont upper = lblDataTrans->font();
    upper.setBold(true);
    upper.setPointSizeF(upper.pointSizeF() * 1.15);
    lblDataTrans->setFont(upper);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(10);
    layout->addWidget(lblDataTrans);
    layout->addWidget(lblBirdsTransferred);
    setFixedSize(sizeHint());
}

QtProgress::QtProgress() : m_window(new frmDataTrans) {}

void QtProgress::waitUntilExposed()
{
    // The window system maps a new window asynchronously; until then nothing can be painted, and the work
    // that follows holds the thread. User input stays queued.
    QDeadlineTimer deadline(500);
    while (!deadline.hasExpired()) {
        const QWindow* handle = m_window->windowHandle();
        if (handle && handle->isExposed())
            break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents,
                                        50);
    }
}

QtProgress::~QtProgress()
{
    delete m_window;
}

void QtProgress::show()
{
    if (!m_window->isVisible()) {
        m_window->lblDataTrans->setText(kProgressUpperDesignText);
        m_window->lblBirdsTransferred->clear();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = m_window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            m_window->move(frame.topLeft());
        }
        m_window->show();
        waitUntilExposed();
    }
    m_window->raise();
    repaint();
}

void QtProgress::setTitle(const QString& title)
{
    m_window->setWindowTitle(title.isEmpty() ? kApplicationTitle : title);
}

void QtProgress::setUpperLine(const QString& text)
{
    m_window->lblDataTrans->setText(text);
}

void QtProgress::setLowerLine(const QString& text)
{
    m_window->lblBirdsTransferred->setText(text);
}

void QtProgress::repaint()
{
    if (!m_window->isVisible())
        return;
    // Only painting: input and timers wait until the operation is over.
    m_window->repaint();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void QtProgress::close()
{
    m_window->hide();
    m_window->setWindowTitle(kApplicationTitle);
}

bool QtProgress::isShown() const
{
    return m_window->isVisible();
}
