#include "WindowDrivers.h"

#include "widgets/TermClassTree.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPaintEvent>
#include <QPixmap>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

// ---------------------------------------------------------------- the seam

ScriptedDialogs::ScriptedDialogs(bool defaultAnswer)
    : defaultAnswer(defaultAnswer), m_previous(SetDialogProvider(this))
{
}

ScriptedDialogs::~ScriptedDialogs()
{
    SetDialogProvider(m_previous);
}

void ScriptedDialogs::message(const QString& text)
{
    messages << text;
    if (onMessage)
        onMessage(text);
}

bool ScriptedDialogs::question(const QString& text)
{
    questions << text;
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDialogs::errorReport(const QString& text)
{
    errors << text;
}

QString ScriptedDialogs::saveFileName(QWidget*, const FileRequest& request)
{
    fileRequests << request;
    if (files.empty())
        return {};
    const QString file = files.front();
    files.pop_front();
    return file;
}

QString ScriptedDialogs::openFileName(QWidget* parent, const FileRequest& request)
{
    return saveFileName(parent, request);
}

QString ScriptedDialogs::password(const QString& prompt)
{
    passwordPrompts << prompt;
    if (passwords.empty())
        return {};
    const QString typed = passwords.front();
    passwords.pop_front();
    return typed;
}

bool ScriptedDialogs::choosePrinter(QWidget*, QPrinter* printer)
{
    ++printDialogs;
    if (printFiles.empty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printFiles.front());
    printFiles.pop_front();
    return true;
}

void ScriptedDialogs::printPreview(QWidget* parent, QPrinter* printer, const PaintPages& paint)
{
    QPrintPreviewWidget preview(printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview, paint);
    if (showPreviews) {
        // Shown as the preview dialog shows it, which lays the pages out first.
        preview.setWindowFlag(Qt::Window);
        preview.resize(900, 700);
        preview.show();
        (void)QTest::qWaitForWindowExposed(&preview);
        QCoreApplication::processEvents();
    } else {
        preview.updatePreview();
    }
    previewPages << preview.pageCount();
}

void ScriptedDialogs::clear()
{
    messages.clear();
    questions.clear();
    errors.clear();
    fileRequests.clear();
    previewPages.clear();
    printDialogs = 0;
}

// ---------------------------------------------------------------- input

void ClickNode(TTermClassTree* tree, QTreeWidgetItem* item)
{
    QTreeWidget* view = tree->Tree();
    view->scrollToItem(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualItemRect(item).center());
}

void ClickBlank(TTermClassTree* tree)
{
    QTreeWidget* view = tree->Tree();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, view->viewport()->height() - 3));
}

QTreeWidgetItem* TermNode(TTermClassTree* tree, int term)
{
    return tree->Tree()->topLevelItem(term);
}

QTreeWidgetItem* ClassNode(TTermClassTree* tree, int term, int klass)
{
    QTreeWidgetItem* node = TermNode(tree, term);
    if (!node)
        return nullptr;
    node->setExpanded(true);
    return node->child(klass);
}

void OpenTerm(TTermClassTree* tree, int term)
{
    QTreeWidgetItem* node = TermNode(tree, term);
    if (node && !node->isSelected() && !node->isExpanded())
        ClickNode(tree, node);
}

QPushButton* Button(QWidget* window, const char* name)
{
    return window->findChild<QPushButton*>(QLatin1String(name));
}

bool ClickButton(QWidget* window, const char* name)
{
    QPushButton* button = Button(window, name);
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
    return button;
}

bool TriggerMenuItem(QWidget* mainWindow, const char* name)
{
    auto* item = mainWindow->findChild<QAction*>(QLatin1String(name));
    if (item)
        item->trigger();
    return item;
}

void SendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

// ---------------------------------------------------------------- windows

void ShowActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, started, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (started->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("OnNextModal: no modal window appeared");
        }
    });
    timer->start();
}

bool RunInModal(const std::function<void()>& open, const std::function<void(QWidget*)>& work)
{
    // The poll lives only while open runs: it cannot reach a later window.
    bool ran = false;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        ran = true;
        work(modal);
        CloseModal(modal);
    });
    poll.start();
    open();
    return ran;
}

void CloseModal(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else if (window)
        window->close();
}

void Settle(int ms)
{
    QCoreApplication::processEvents();
    if (ms > 0)
        QTest::qWait(ms);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- painting

PaintedRegion::PaintedRegion(QWidget* watched)
{
    watched->installEventFilter(this);
}

bool PaintedRegion::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        m_region += static_cast<QPaintEvent*>(event)->region();
    return false;
}

QImage OnScreen(QWidget* widget)
{
    QWidget* window = widget->window();
    const QPixmap shown = window->screen()->grabWindow(window->winId());
    const QRect place(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return shown.copy(place).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage DrawnAfresh(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

PaintWatch::PaintWatch()
{
    QCoreApplication::instance()->installEventFilter(this);
}

PaintWatch::~PaintWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void PaintWatch::arm(Target target, const QElapsedTimer* clock, std::function<void()> then)
{
    m_target = std::move(target);
    m_clock = clock;
    m_then = std::move(then);
    m_armed = true;
    m_seen = m_painted = false;
    m_paintedMs = m_shownMs = -1;
}

bool PaintWatch::wait(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!m_painted && waited.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    // A paint that comes after the time-out is no one's any more.
    m_armed = false;
    m_target = nullptr;
    m_then = nullptr;
    return m_painted;
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_armed || m_seen)
        return false;
    if (event->type() == QEvent::Show && m_shownMs < 0 && m_target(watched))
        m_shownMs = m_clock ? m_clock->nsecsElapsed() / 1e6 : 0;
    if (event->type() == QEvent::Paint && m_target(watched)) {
        m_seen = true;
        // Queued: it runs once the paint pass has returned to the event loop.
        QMetaObject::invokeMethod(
            this, [this] { afterPaint(); }, Qt::QueuedConnection);
    }
    return false;
}

void PaintWatch::afterPaint()
{
    if (!m_armed)
        return;
    m_paintedMs = m_clock ? m_clock->nsecsElapsed() / 1e6 : 0;
    m_painted = true;
    if (m_then)
        m_then();
}

bool IsInside(const QObject* object, const QWidget* window)
{
    for (const QObject* o = object; o; o = o->parent())
        if (o == window)
            return true;
    return false;
}
