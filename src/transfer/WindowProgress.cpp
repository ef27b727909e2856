#include "transfer/WindowProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
int showAfter = 500;
} // namespace

WindowProgress::WindowProgress(QWidget* parent, const QString& label)
{
    m_dialog = new QProgressDialog(label, QStringLiteral("取消"), 0, 100, parent);
    m_dialog->setObjectName(QStringLiteral("dlgProgress"));
    m_dialog->setWindowTitle(QStringLiteral("学生成绩管理系统"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    // Shown by advance() itself, after the half second.
    m_dialog->setMinimumDuration(std::numeric_limits<int>::max());
    m_dialog->reset();
    m_clock.start();
}

WindowProgress::~WindowProgress()
{
    delete m_dialog;
}

void WindowProgress::setShowAfter(int milliseconds)
{
    showAfter = milliseconds;
}

bool WindowProgress::advance(int done, int total)
{
    if (!m_dialog)
        return true;
    if (!m_dialog->isVisible()) {
        if (m_clock.elapsed() < showAfter)
            return true;
        m_dialog->show();
    }
    m_dialog->setMaximum(std::max(total, 1));
    m_dialog->setValue(std::min(done, std::max(total, 1)));
    // The work runs on the window's thread: the dialog is painted and its
    // button read only here.
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}
