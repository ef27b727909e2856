#include "shell/uAbout.h"

#include "forms/uPub.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

const QString TfrmAbout::MakerUrl = QStringLiteral("https://quorvel.example/");

namespace {
// A label that reports clicks, drawn as a link.
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->pos()) && onClick)
            onClick();
    }
};
} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于.."));
    setFixedClientSize(284, 107);

    auto* iconPanel = new QFrame(this);
    iconPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    iconPanel->setGeometry(14, 8, 51, 49);
    auto* icon = new QLabel(iconPanel);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/app.png")));
    icon->setGeometry(9, 8, 32, 32);

    auto* label1 = new QLabel(QStringLiteral("Quorvel学生信息管理系统 V1.0"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->move(84, 18);
    label1->adjustSize();

    auto* label2 = new ClickLabel(QStringLiteral("Quorvel软件工作室"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->move(84, 40);
    label2->setCursor(Qt::PointingHandCursor);
    QPalette linkPalette = label2->palette();
    linkPalette.setColor(QPalette::WindowText, palette().color(QPalette::Link));
    label2->setPalette(linkPalette);
    label2->adjustSize();
    label2->onClick = [this] { Label2Click(); };

    auto* button1 = MakeButton(QStringLiteral("关闭(&X)"), this, QStringLiteral("Button1"));
    button1->move(105, 74);
    // The only control that takes the focus, so Enter and Esc both close the dialog.
    connect(button1, &QPushButton::clicked, this, &QDialog::accept);
    setCancelButton(button1);
    button1->setFocus();
}

void TfrmAbout::Label2Click()
{
    OpenUrl(MakerUrl);
}

bool ShowAbout()
{
    TfrmAbout about;
    about.exec();
    return true;
}
