#pragma once

#include "exchange/ImportPreview.h"

#include <QElapsedTimer>
#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress of an import on screen: a progress dialog with "取消", shown
// once the work has taken half a second; cancelling stops the work.
class WindowProgress : public ImportProgress {
public:
    WindowProgress(QWidget* parent, const QString& label);
    ~WindowProgress() override;
    WindowProgress(const WindowProgress&) = delete;
    WindowProgress& operator=(const WindowProgress&) = delete;

    bool advance(int done, int total) override;

    // How long the work runs before the dialog shows (tests shorten it).
    static void setShowAfter(int milliseconds);

private:
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
};
